#pragma once
// The editor window of each board type, as the board list window opens it for "Edit Board".

#include <functional>

class QWidget;
class TConfigurableBoard;

// Shows the editor for the board (modal) placed 30 pixels right of and below `anchor`, and
// returns when it has been closed. The editor edits the board in place or assigns an edited
// copy back to it.
using TBoardEditor = std::function<void(QWidget* anchor, TConfigurableBoard& board)>;

// The editor of a board type; empty for a type without one.
TBoardEditor DefaultBoardEditor(int type);
