#include "boards/BoardFactory.h"
#include "boards/kpx9/KPX9Board.h"
#include "boards/qxp6/QXP6Board.h"
#include "boards/rvn2/RVN2Board.h"

#include "boards/orb4/ORB4Board.h"
#include "boards/orb8/ORB8Board.h"

// Each board class adds its include and its case here.

namespace {
TBoardMakerHook& MakerHook()
{
    static TBoardMakerHook hook;
    return hook;
}
} // namespace

void SetBoardMakerHookForTests(TBoardMakerHook hook)
{
    MakerHook() = std::move(hook);
}

std::unique_ptr<TConfigurableBoard> CreateBoardOfType(int type)
{
    if (MakerHook())
        if (auto board = MakerHook()(type)) return board;
    switch (type) {
    case eKPX9: return std::make_unique<TKPX9Board>();
    case eRVN2: return std::make_unique<TRVN2Board>();
    case eORB4: return std::make_unique<TORB4Board>();
    case eORB8: return std::make_unique<TORB8Board>();
    case eQXP6: return std::make_unique<TQXP6Board>();
    default: return nullptr;
    }
}

namespace {
constexpr const char* kTypeTags[kBoardTypeCount] = {"ORB4", "KPX9", "ORB8", "RVN2", "QXP6"};
}

std::string BoardTypeTag(int type)
{
    return type >= 0 && type < kBoardTypeCount ? kTypeTags[type] : "";
}

int BoardTypeFromTag(const std::string& tag)
{
    for (int i = 0; i < kBoardTypeCount; ++i) {
        const std::string t = kTypeTags[i];
        if (tag == t || tag == t + "_BOARD") return i;
    }
    return -1;
}
