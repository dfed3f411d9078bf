#pragma once
// A titled list of the places of one condition set, as the signal and zone windows show it, with
// the "Define" button that opens the conditions window on the set and a "Learn" button that is
// not in use.

#include <QGroupBox>

class QListWidget;
class QPushButton;
class TConditionSet;

class TConditionListBox : public QGroupBox {
    Q_OBJECT
public:
    // `name` completes the object names: "List" + name, "Define" + name, "Learn" + name.
    // `shownPlaces` is how many lines show without scrolling.
    TConditionListBox(const QString& title, const QString& name, int shownPlaces, QWidget* parent);

    // One line per place: the condition's text, "(No Condition)" for an empty place.
    void ShowSet(const TConditionSet& set);
    // The single line "N/A", for a set the signal does not have.
    void ShowNotApplicable();

    QListWidget* List = nullptr;
    QPushButton* DefineBtn = nullptr;
    QPushButton* LearnBtn = nullptr;
};
