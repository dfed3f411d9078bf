#include "editors/BoardEditors.h"

#include "boards/ConfigurableBoard.h"
#include "boards/orb4/ORB4Board.h"
#include "boards/orb8/ORB8Board.h"
#include "editors/orb/Orb4EditForm.h"
#include "editors/orb/Orb8EditForm.h"

TBoardEditor DefaultBoardEditor(int type)
{
    switch (type) {
    case 0:
        return [](QWidget* anchor, TConfigurableBoard& board) {
            if (auto* orb4 = dynamic_cast<TORB4Board*>(&board)) TOrb4EditForm(anchor, *orb4).Execute();
        };
    case 2:
        return [](QWidget* anchor, TConfigurableBoard& board) {
            if (auto* orb8 = dynamic_cast<TORB8Board*>(&board)) TOrb8EditForm(anchor, *orb8).Execute();
        };
    default: return {};
    }
}
