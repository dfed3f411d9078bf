#include "editors/BoardEditors.h"

#include "boards/ConfigurableBoard.h"
#include "boards/rvn2/RVN2Board.h"
#include "editors/rvn2/RVN2EditForm.h"

TBoardEditor DefaultBoardEditor(int type)
{
    switch (type) {
    case eRVN2:
        return [](QWidget* anchor, TConfigurableBoard& board) {
            TRVN2EditForm form(anchor, dynamic_cast<TRVN2Board&>(board));
            form.Execute();
        };
    default: return {};
    }
}
