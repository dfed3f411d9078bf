#include "boards/RouteEntry.h"

#include "boards/CsvIo.h"

TRouteEntryField ReadRouteEntryField(const std::string& field, uint32_t route, uint32_t entry)
{
    TRouteEntryField read;
    const std::string part = field.substr(0, field.find(' '));
    const TLeadingNumber number = ParseLeadingNumber(part);
    if (number.HasDigits && number.InRange && number.End == part.size()) {
        read.Address = static_cast<uint32_t>(number.Value);
    } else {
        read.Error = "Route " + std::to_string(route) + ", entry " + std::to_string(entry) + ": the point address in '" +
                     field + "' is not a whole number";
    }
    if (read.Address != 0) {
        const char* const names[3] = {"UNDEF", "Closed", "Thrown"};
        for (uint8_t s = 0; s < 3; ++s) {
            if (field.find(names[s]) != std::string::npos) {
                read.State = s;
                break;
            }
        }
    }
    return read;
}
