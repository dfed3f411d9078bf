#pragma once
// Route entries as the KPX9 and QXP6 board files hold them: one field per entry, the point
// address, a blank and the state name ("12 Closed").

#include <cstdint>
#include <string>

struct TRouteEntryField {
    uint32_t Address = 1;
    uint8_t State = 0; // 0 UNDEF, 1 Closed, 2 Thrown
    // Empty, or why the field could not be read: its address part is no whole number.
    std::string Error;
};

// Reads an entry field: the address is the whole number before the first blank; when it is not 0
// the state is the first of "UNDEF", "Closed" and "Thrown" that the field contains, else UNDEF. An
// address part that is no whole number gives address 1 and an error naming route and entry
// ("Route 3, entry 1: the point address in '6x0 Closed' is not a whole number").
TRouteEntryField ReadRouteEntryField(const std::string& field, uint32_t route, uint32_t entry);
