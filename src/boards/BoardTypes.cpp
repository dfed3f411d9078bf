#include "boards/BoardTypes.h"

namespace {

// The numbers first to last, in order.
std::vector<uint32_t> Range(uint32_t first, uint32_t last)
{
    std::vector<uint32_t> list;
    for (uint32_t n = first; n <= last; ++n) list.push_back(n);
    return list;
}

std::vector<uint32_t> Join(std::initializer_list<std::vector<uint32_t>> parts)
{
    std::vector<uint32_t> list;
    for (const auto& part : parts) list.insert(list.end(), part.begin(), part.end());
    return list;
}

const TBoardTypeInfo* Table()
{
    static const char* const tooManyDevices =
        "SV Calculation Error: too many points, sensors or signals called up by board programming";
    static const TBoardTypeInfo table[kBoardTypeCount] = {
        {"ORB4",
         "ORB4 Signal Controller",
         "ORB4 Signal Controller",
         tooManyDevices,
         1,
         1,
         {1, 2, 7, 8, 29, 255, 256, 510, 511, 512}},
        {"KPX9", "KPX9 Lever Panel Master", "KPX9 Lever Panel Master",
         "SV Calculation Error: one or more routes has too many entries", 2, 4,
         Join({{1, 2, 7, 8}, Range(18, 29), Range(247, 256), Range(509, 512)})},
        {"ORB8",
         "ORB8 Signal Controller",
         "ORB8 Signal Controller",
         tooManyDevices,
         5,
         5,
         {1, 2, 7, 8, 27, 28, 29, 255, 256, 511, 512}},
        {"RVN2", "RVN2 Autoferry", "RVN2 Autoferry", "BUG - error while programming SVs", 6, 6,
         Join({{1, 2, 5, 6, 7, 8, 9}, Range(14, 29), Range(482, 512)})},
        {"QXP6", "QXP6 Grand Accessory Decoder", "QXP6 Accessory Decoder", tooManyDevices, 7, 7,
         Join({{1, 2, 7, 8, 29, 40, 159, 160, 169, 170, 379, 380}, Range(429, 512)})},
    };
    return table;
}

} // namespace

const TBoardTypeInfo* FindBoardType(int type)
{
    return type >= 0 && type < kBoardTypeCount ? &Table()[type] : nullptr;
}

const TBoardTypeInfo& BoardTypeInfo(EBoardType type)
{
    return Table()[type];
}

std::string BoardTypeTag(int type)
{
    const TBoardTypeInfo* info = FindBoardType(type);
    return info ? info->Tag : "";
}

std::string BoardRecordTag(int type)
{
    const TBoardTypeInfo* info = FindBoardType(type);
    return info ? std::string(info->Tag) + "_BOARD" : "";
}

int BoardTypeFromTag(const std::string& tag)
{
    for (int type = 0; type < kBoardTypeCount; ++type) {
        if (tag == BoardTypeTag(type) || tag == BoardRecordTag(type)) return type;
    }
    return -1;
}

std::string BoardTypeTitle(int type)
{
    const TBoardTypeInfo* info = FindBoardType(type);
    return info ? info->Title : "";
}

uint32_t BoardProductId(int type)
{
    const TBoardTypeInfo* info = FindBoardType(type);
    return info ? info->FirstProductId : 0;
}

bool IsBoardTypeIdentity(int type, uint32_t manufacturerId, uint32_t productId)
{
    const TBoardTypeInfo* info = FindBoardType(type);
    return info && manufacturerId == kBoardManufacturerId && productId >= info->FirstProductId &&
           productId <= info->LastProductId;
}

const std::vector<uint32_t>& ProtectedBoardSVs()
{
    static const std::vector<uint32_t> list = {1, 2, 7, 8, 29};
    return list;
}
