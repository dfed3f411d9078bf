#pragma once
// The five board types: their index, type tag and board-file record tag, product title, the name
// of a new board, the text of a failed SV calculation, the ids of their SV identity, and the SVs
// the programmer never writes. The factory, the board list, the board classes and the simulated
// boards all read them from here.

#include <cstdint>
#include <string>
#include <vector>

// Board type index: list, tab, factory and settings order.
enum EBoardType : int { eORB4 = 0, eKPX9 = 1, eORB8 = 2, eRVN2 = 3, eQXP6 = 4 };
constexpr int kBoardTypeCount = 5;

// The manufacturer id in the identity of every board type.
constexpr uint32_t kBoardManufacturerId = 1;
// Every board type has this many SVs.
constexpr uint32_t kBoardSVCount = 512;

struct TBoardTypeInfo {
    const char* Tag; // "ORB4"
    const char* Title; // "ORB4 Signal Controller"
    const char* NewBoardName; // the name of a new board
    const char* SVErrorText; // why a description did not fit the SVs
    // The product ids of the type's SV identity: FirstProductId to LastProductId.
    uint32_t FirstProductId;
    uint32_t LastProductId;
    // The SVs a board of the type never programs; the protected SVs are among them.
    std::vector<uint32_t> UnusedSVs;
};

// The type's entry; none for a type outside 0 to 4.
const TBoardTypeInfo* FindBoardType(int type);
// The entry of a board class's own type.
const TBoardTypeInfo& BoardTypeInfo(EBoardType type);

// "ORB4", "KPX9", ... for 0 to 4; empty otherwise.
std::string BoardTypeTag(int type);
// The tag of the type's record in a board file, "ORB4_BOARD"; empty for an unknown type.
std::string BoardRecordTag(int type);
// The type index of a type tag ("ORB4") or record tag ("ORB4_BOARD"); -1 when unknown.
int BoardTypeFromTag(const std::string& tag);
// "ORB4 Signal Controller", ...; empty for an unknown type.
std::string BoardTypeTitle(int type);
// The product id a board of the type reports (the first one where there are several); 0 for an
// unknown type.
uint32_t BoardProductId(int type);
// Whether the manufacturer and product id of an SV identity are those of the type.
bool IsBoardTypeIdentity(int type, uint32_t manufacturerId, uint32_t productId);

// The SVs that no board type lets the programmer write: 1, 2, 7, 8 and 29.
const std::vector<uint32_t>& ProtectedBoardSVs();
