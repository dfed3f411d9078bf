#pragma once
// The editor window of each board type, as the board list window opens it for "Edit Board".
// Each board type's editor registers itself here; a type without an editor cannot be edited yet.

#include <functional>

class QWidget;
class TConfigurableBoard;

// Shows the editor for the board (modal) placed 30 pixels right of and below `anchor`, and
// returns when it has been closed. The editor edits the board in place or assigns an edited
// copy back to it.
using TBoardEditor = std::function<void(QWidget* anchor, TConfigurableBoard& board)>;

void SetBoardEditor(int type, TBoardEditor editor);
// The editor of the type; empty when the type has none.
const TBoardEditor& GetBoardEditor(int type);
