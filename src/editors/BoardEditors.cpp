#include "editors/BoardEditors.h"

#include "boards/ConfigurableBoard.h"

#include <array>

namespace {
std::array<TBoardEditor, kBoardTypeCount>& Editors()
{
    static std::array<TBoardEditor, kBoardTypeCount> editors;
    return editors;
}
} // namespace

void SetBoardEditor(int type, TBoardEditor editor)
{
    if (type < 0 || type >= kBoardTypeCount) return;
    Editors()[static_cast<size_t>(type)] = std::move(editor);
}

const TBoardEditor& GetBoardEditor(int type)
{
    static const TBoardEditor none;
    if (type < 0 || type >= kBoardTypeCount) return none;
    return Editors()[static_cast<size_t>(type)];
}
