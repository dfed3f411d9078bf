#include "editors/BoardEditors.h"

#include "boards/ConfigurableBoard.h"
#include "boards/kpx9/KPX9Board.h"
#include "boards/orb/orb4/ORB4Board.h"
#include "boards/orb/orb8/ORB8Board.h"
#include "boards/qxp6/QXP6Board.h"
#include "boards/rvn2/RVN2Board.h"
#include "editors/kpx9/KPX9EditForm.h"
#include "editors/orb/Orb4EditForm.h"
#include "editors/orb/Orb8EditForm.h"
#include "editors/qxp6/QXP6EditForm.h"
#include "editors/rvn2/RVN2EditForm.h"

TBoardEditor DefaultBoardEditor(int type)
{
    switch (type) {
    case eORB4:
        return [](QWidget* anchor, TConfigurableBoard& board) {
            if (auto* orb4 = dynamic_cast<TORB4Board*>(&board)) TOrb4EditForm(anchor, *orb4).Execute();
        };
    case eORB8:
        return [](QWidget* anchor, TConfigurableBoard& board) {
            if (auto* orb8 = dynamic_cast<TORB8Board*>(&board)) TOrb8EditForm(anchor, *orb8).Execute();
        };
    case eRVN2:
        return [](QWidget* anchor, TConfigurableBoard& board) {
            if (auto* rvn2 = dynamic_cast<TRVN2Board*>(&board)) TRVN2EditForm(anchor, *rvn2).Execute();
        };
    case eKPX9:
        return [](QWidget* anchor, TConfigurableBoard& board) {
            if (auto* kpx9 = dynamic_cast<TKPX9Board*>(&board)) TKPX9EditForm(anchor, *kpx9).Execute();
        };
    case eQXP6:
        return [](QWidget* anchor, TConfigurableBoard& board) {
            if (auto* qxp6 = dynamic_cast<TQXP6Board*>(&board)) TQXP6EditForm(anchor, *qxp6).Execute();
        };
    default: return {};
    }
}
