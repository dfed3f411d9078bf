#include "editors/BoardEditors.h"

#include "boards/ConfigurableBoard.h"
#include "editors/qxp6/QXP6EditForm.h"

TBoardEditor DefaultBoardEditor(int type)
{
    switch (type) {
    case 4: // QXP6
        return [](QWidget* anchor, TConfigurableBoard& board) {
            if (auto* qxp6 = dynamic_cast<TQXP6Board*>(&board)) {
                TQXP6EditForm form(anchor, *qxp6);
                form.Execute();
            }
        };
    default: return {};
    }
}
