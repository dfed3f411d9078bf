#pragma once
// A titled list of the places of one QXP6 condition set, as the output cell and route windows
// show their sets, with the "Define" button that opens the conditions window on the set.

#include <QGroupBox>

class QListWidget;
class QPushButton;
class TQXP6ConditionSet;

class TQXP6ConditionListBox : public QGroupBox {
    Q_OBJECT
public:
    TQXP6ConditionListBox(const QString& title, const char* listName, const char* buttonName, QWidget* parent);

    // One line per place: the condition's text, "(No Condition)" for an empty place; the list
    // shows every place without scrolling.
    void ShowSet(const TQXP6ConditionSet& set);

    QListWidget* List = nullptr;
    QPushButton* DefineBtn = nullptr;
};
