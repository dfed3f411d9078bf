#include "editors/BoardEditors.h"

#include "boards/ConfigurableBoard.h"

TBoardEditor DefaultBoardEditor(int type)
{
    switch (type) {
    default: return {};
    }
}
