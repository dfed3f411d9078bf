#include "boards/BoardFactory.h"

#include "boards/kpx9/KPX9Board.h"
#include "boards/orb/orb4/ORB4Board.h"
#include "boards/orb/orb8/ORB8Board.h"
#include "boards/qxp6/QXP6Board.h"
#include "boards/rvn2/RVN2Board.h"

std::unique_ptr<TConfigurableBoard> CreateBoardOfType(int type)
{
    switch (type) {
    case eORB4: return std::make_unique<TORB4Board>();
    case eKPX9: return std::make_unique<TKPX9Board>();
    case eORB8: return std::make_unique<TORB8Board>();
    case eRVN2: return std::make_unique<TRVN2Board>();
    case eQXP6: return std::make_unique<TQXP6Board>();
    default: return nullptr;
    }
}
