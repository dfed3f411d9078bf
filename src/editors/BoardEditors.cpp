#include "editors/BoardEditors.h"

#include "boards/ConfigurableBoard.h"
#include "boards/kpx9/KPX9Board.h"
#include "editors/kpx9/KPX9EditForm.h"

TBoardEditor DefaultBoardEditor(int type)
{
    switch (type) {
    case eKPX9:
        return [](QWidget* anchor, TConfigurableBoard& board) {
            TKPX9EditForm(anchor, static_cast<TKPX9Board&>(board)).Execute();
        };
    default: return {};
    }
}
