#pragma once
// A board window's plain settings as one list: each control paired with the board field it shows.
// The window shows a board and writes its controls back through the same list, so a setting is
// named once, where its control is made.
//
// A field is given by a function from the board to the field, written for both a board and a
// const board: [](auto& board) -> auto& { return board.SensorConfig().SensorBoardNumber; }.
// Bind takes a TSpinEdit, TIndexCombo or TValueCheck (anything with SetValue(int) and Value()),
// BindText a text edit.

#include "editors/EditorText.h"

#include <QLineEdit>

#include <functional>
#include <type_traits>
#include <vector>

template <class TBoard> class TBoardSettings {
public:
    // Binds `control` to the field `field` gives and returns the control.
    template <class TControl, class TField> TControl* Bind(TControl* control, TField field)
    {
        Items.push_back({[control, field](const TBoard& board) { control->SetValue(static_cast<int>(field(board))); },
                         [control, field](TBoard& board) {
                             auto& value = field(board);
                             value = static_cast<std::remove_reference_t<decltype(value)>>(control->Value());
                         }});
        return control;
    }
    // The same for a value the board sets through a function: `set(board, value)`.
    template <class TControl, class TGet, class TSet> TControl* Bind(TControl* control, TGet get, TSet set)
    {
        Items.push_back({[control, get](const TBoard& board) { control->SetValue(static_cast<int>(get(board))); },
                         [control, set](TBoard& board) { set(board, control->Value()); }});
        return control;
    }
    // A text field of the board (EditorText.h: shown as UTF-8 or Latin-1, written only when edited).
    template <class TField> QLineEdit* BindText(QLineEdit* edit, TField field)
    {
        Items.push_back({[edit, field](const TBoard& board) { ShowModelText(*edit, field(board)); },
                         [edit, field](TBoard& board) { StoreModelText(*edit, field(board)); }});
        return edit;
    }

    // Shows the board's fields in their controls.
    void Show(const TBoard& board) const
    {
        for (const TItem& item : Items) item.Show(board);
    }
    // Writes the controls into the board's fields.
    void Write(TBoard& board) const
    {
        for (const TItem& item : Items) item.Write(board);
    }

private:
    struct TItem {
        std::function<void(const TBoard&)> Show;
        std::function<void(TBoard&)> Write;
    };
    std::vector<TItem> Items;
};
