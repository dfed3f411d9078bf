// Every board window and editor from the keyboard. The walk starts at Configure Boards holding the
// example boards, presses Enter on a line of each of its tabs, and follows every window that opens
// through the dialog seam, opening in turn each window a list line or button of it opens. In each
// window: the focus starts on a field; Tab reaches every control once, in reading order (never
// back up and to the left), with OK, Cancel and Help last; every field has a name, a label's by
// preference; every label, titled group and check box has an accelerator of its own, and Alt with
// a label's letter gives its field the focus.
#include "boardlist/ProgramBoardForm.h"

#include "boards/BoardData.h"
#include "editors/EditorDialog.h"
#include "widgets/DialogSeam.h"

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

namespace {

// What a control of a window opens: the control's object name and the class of the window.
struct TOpening {
    const char* Control;
    const char* Window;
};

// The windows a window opens, by its class. Lists open with Enter on a line, buttons with Space.
const QMap<QString, QList<TOpening>> kOpenings = {
    {"TOrb4EditForm", {{"SignalList", "TSignalEditForm"}, {"RevZoneList", "TRevZoneEditForm"}}},
    {"TOrb8EditForm", {{"SignalList", "TSignalEditForm"}, {"RevZoneList", "TRevZoneEditForm"}}},
    {"TSignalEditForm", {{"DefineBlkClosed", "TEditConditionsForm"}}},
    {"TRevZoneEditForm", {{"DefineWE", "TEditConditionsForm"}}},
    {"TKPX9EditForm", {{"CellList", "TKPX9CellEditForm"}, {"RouteList", "TKPX9RouteEditForm"}}},
    {"TRVN2EditForm", {{"SequenceList", "TRVN2SequenceEditForm"}}},
    {"TRVN2SequenceEditForm", {{"WizardBtn", "TTRVN2Wizard"}}},
    {"TQXP6EditForm",
     {{"OutputCellList", "TQXP6OutputCellEditForm"},
      {"InputCellList", "TQXP6InputCellEditForm"},
      {"RouteList", "TQXP6RouteEditForm"}}},
    {"TQXP6OutputCellEditForm", {{"DefineThrown", "TQXP6EditConditionsForm"}}},
    {"TQXP6RouteEditForm", {{"DefineConditions", "TQXP6EditConditionsForm"}}},
};

// The board editor each tab of Configure Boards opens.
const char* const kBoardEditors[] = {"TOrb4EditForm", "TKPX9EditForm", "TOrb8EditForm", "TRVN2EditForm",
                                     "TQXP6EditForm"};

QString ClassOf(const QObject* object)
{
    return QString::fromLatin1(object->metaObject()->className());
}

// The control a focused widget belongs to: a spin box or list box for the text inside it.
QWidget* ControlOf(QWidget* w)
{
    if (w && (qobject_cast<QAbstractSpinBox*>(w->parentWidget()) || qobject_cast<QComboBox*>(w->parentWidget())))
        return w->parentWidget();
    return w;
}

QString NameOf(const QWidget* w)
{
    QString name = ClassOf(w) + QLatin1Char(' ') + w->objectName();
    if (const auto* button = qobject_cast<const QAbstractButton*>(w)) name += QLatin1Char(' ') + button->text();
    return name;
}

QRect PlaceIn(const QWidget* w, const QWidget* window)
{
    return QRect(w->mapTo(window, QPoint(0, 0)), w->size());
}

// Whether `b` may come after `a` in reading order: on a later line, or further right (on the
// same line, or at the top of a column to the right).
bool Follows(const QRect& a, const QRect& b)
{
    const int slack = 4;
    return b.top() >= a.bottom() - slack || b.left() >= a.right() - slack;
}

// The controls a user can reach with Tab: shown, enabled, taking the focus from the keyboard.
QSet<QWidget*> Reachable(QWidget* window)
{
    QSet<QWidget*> controls;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->window() != window || !w->isVisible() || !w->isEnabled()) continue;
        if ((w->focusPolicy() & Qt::TabFocus) != Qt::TabFocus || w->focusProxy()) continue;
        controls.insert(ControlOf(w));
    }
    return controls;
}

bool IsField(const QWidget* w)
{
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
           qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractItemView*>(w);
}

QKeySequence MnemonicOf(const QWidget* w)
{
    if (const auto* label = qobject_cast<const QLabel*>(w)) return QKeySequence::mnemonic(label->text());
    if (const auto* group = qobject_cast<const QGroupBox*>(w)) return QKeySequence::mnemonic(group->title());
    if (const auto* button = qobject_cast<const QAbstractButton*>(w)) return QKeySequence::mnemonic(button->text());
    return {};
}

// A titled group names the field that comes first in it.
bool NamedByGroup(const QWidget* field, const QGroupBox* group)
{
    if (!group || group->title().isEmpty()) return false;
    for (const QWidget* other : group->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (other != field && (other->focusPolicy() & Qt::TabFocus) &&
            !Follows(PlaceIn(field, group), PlaceIn(other, group)))
            return false;
    return true;
}

bool HasLetters(const QString& text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); });
}

} // namespace

class KeyboardWalkTest : public QObject {
    Q_OBJECT

    QStringList Walked; // the windows walked, in order
    QStringList Boxes;

    void PressTab()
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }

    static QWidget* Focused() { return ControlOf(QApplication::focusWidget()); }

    // Tab from the first control round to it again.
    QList<QWidget*> TabChain()
    {
        QList<QWidget*> chain{Focused()};
        for (int i = 0; i < 200; ++i) {
            PressTab();
            QWidget* next = Focused();
            if (next == chain.constFirst()) break;
            chain << next;
        }
        return chain;
    }

    void CheckFocusAndTabOrder(QWidget* window)
    {
        const QString name = ClassOf(window);
        QWidget* first = Focused();
        QVERIFY2(first && first->window() == window, qPrintable(name + ": no focus"));
        QVERIFY2(!qobject_cast<QAbstractButton*>(first), qPrintable(name + ": opens on " + NameOf(first)));
        const QList<QWidget*> chain = TabChain();
        // Each control once, and none left out.
        QStringList missed;
        for (QWidget* control : Reachable(window))
            if (!chain.contains(control)) missed << NameOf(control);
        QVERIFY2(missed.isEmpty(), qPrintable(name + ": Tab never reaches " + missed.join(", ")));
        QCOMPARE(QSet<QWidget*>(chain.begin(), chain.end()).size(), chain.size());
        for (QWidget* control : chain.mid(1))
            QVERIFY2(Follows(PlaceIn(first, window), PlaceIn(control, window)),
                     qPrintable(name + ": " + NameOf(control) + " stands before the first field"));
        for (qsizetype i = 1; i < chain.size(); ++i)
            QVERIFY2(Follows(PlaceIn(chain[i - 1], window), PlaceIn(chain[i], window)),
                     qPrintable(name + ": Tab goes back from " + NameOf(chain[i - 1]) + " to " + NameOf(chain[i])));
        if (auto* editor = qobject_cast<TEditorDialog*>(window))
            QCOMPARE(chain.mid(chain.size() - 3),
                     (QList<QWidget*>{editor->OKBtn, editor->CancelBtn, editor->HelpBtn}));
    }

    void CheckNames(QWidget* window)
    {
        const QString name = ClassOf(window);
        // No two controls share an accelerator.
        QMap<QKeySequence, QString> keys;
        QMap<QWidget*, QLabel*> labelOf;
        QList<QWidget*> named; // what must have an accelerator: labels of fields, check boxes
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (w->window() != window) continue; // a file dialog the window keeps
            auto* label = qobject_cast<QLabel*>(w);
            if (label && label->buddy()) labelOf[label->buddy()] = label;
            if ((label && label->buddy() && HasLetters(label->text())) || qobject_cast<QCheckBox*>(w)) named << w;
            const QKeySequence key = MnemonicOf(w);
            if (key.isEmpty() || !w->isVisibleTo(window)) continue;
            QVERIFY2(!keys.contains(key), qPrintable(name + ": " + key.toString() + " is both " + keys.value(key) +
                                                     " and " + NameOf(w)));
            keys[key] = NameOf(w);
        }
        // Every field reachable from the keyboard has a name: its label's, one of its own, or the
        // title of the group it comes first in, which then has an accelerator.
        for (QWidget* field : window->findChildren<QWidget*>()) {
            if (field->window() != window || !IsField(field) || !field->isVisibleTo(window) || !(field->focusPolicy() & Qt::TabFocus)) continue;
            if (ControlOf(field) != field || labelOf.contains(field) || !field->accessibleName().isEmpty()) continue;
            auto* group = qobject_cast<QGroupBox*>(field->parentWidget());
            QVERIFY2(NamedByGroup(field, group), qPrintable(name + ": no name for " + NameOf(field)));
            named << group;
        }
        for (QWidget* w : named)
            QVERIFY2(!MnemonicOf(w).isEmpty(), qPrintable(name + ": no accelerator for " + NameOf(w)));
        // Alt and a label's letter bring the focus to its field.
        for (auto it = labelOf.cbegin(); it != labelOf.cend(); ++it) {
            QWidget* field = it.key();
            const QKeySequence key = MnemonicOf(it.value());
            if (key.isEmpty() || !field->isEnabled() || !field->isVisibleTo(window)) continue;
            QTest::keySequence(QApplication::focusWidget(), key);
            QVERIFY2(Focused() == field, qPrintable(name + ": " + key.toString() + " leads to " +
                                                    NameOf(Focused()) + ", not " + NameOf(field)));
        }
    }

    // Checks a window that is shown, then opens what it opens.
    void Walk(QWidget* window)
    {
        const QString name = ClassOf(window);
        Walked << name;
        // The offscreen platform activates a window shown from inside a key press only for itself.
        QApplication::setActiveWindow(window);
        QVERIFY2(QTest::qWaitForWindowActive(window), qPrintable(name));
        CheckFocusAndTabOrder(window);
        CheckNames(window);
        for (const TOpening& opening : kOpenings.value(name)) {
            auto* control = window->findChild<QWidget*>(QLatin1String(opening.Control));
            QVERIFY2(control, opening.Control);
            const qsizetype before = Walked.size();
            control->setFocus();
            if (auto* list = qobject_cast<QListWidget*>(control)) {
                list->setCurrentRow(0);
                QTest::keyClick(list, Qt::Key_Return);
            } else {
                QTest::keyClick(control, Qt::Key_Space);
            }
            QVERIFY2(Walked.size() > before && Walked.value(before) == QLatin1String(opening.Window),
                     qPrintable(name + ": " + opening.Control + " opened " + Walked.mid(before).join(',')));
            // The key opened the line's window, not the window's OK.
            QVERIFY2(window->isVisible(), qPrintable(name + " closed"));
        }
    }

private slots:
    void init()
    {
        Walked.clear();
        Boxes.clear();
        DialogSeam().MessageBox = [this](QWidget*, const QString& caption, const QString& text, int, bool) {
            Boxes << caption + QLatin1Char('|') + text;
            return int(QMessageBox::Ok);
        };
        DialogSeam().ModalDialog = [this](QDialog& dialog) {
            dialog.show();
            Walk(&dialog);
            dialog.reject();
            return int(QDialog::Rejected);
        };
    }
    void cleanup() { DialogSeam() = {}; }

    void EveryWindowWorksFromTheKeyboard()
    {
        TBoardData boards;
        for (int type = 0; type < kBoardTypeCount; ++type) {
            const QString file = QStringLiteral(RAILSCOPE_SOURCE_DIR "/data/examples/layout-%1.csv")
                                     .arg(QString::fromStdString(TBoardData::GetTypeName(type)).toLower());
            QVERIFY2(boards.LoadFile(type, file.toStdString()), qPrintable(file));
        }
        TProgramBoardForm form(boards, {});
        form.show();
        Walk(&form);
        for (int type = 0; type < kBoardTypeCount; ++type) {
            form.BoardTabControl->setCurrentIndex(type);
            form.BoardListBox->setCurrentRow(0);
            form.BoardListBox->setFocus();
            const qsizetype before = Walked.size();
            QTest::keyClick(form.BoardListBox, Qt::Key_Enter);
            QCOMPARE(Walked.value(before), QLatin1String(kBoardEditors[type]));
        }
        // Every kind of window was walked.
        QSet<QString> kinds{QStringLiteral("TProgramBoardForm")};
        for (auto it = kOpenings.cbegin(); it != kOpenings.cend(); ++it) {
            kinds << it.key();
            for (const TOpening& opening : it.value()) kinds << QLatin1String(opening.Window);
        }
        QCOMPARE(QSet<QString>(Walked.begin(), Walked.end()), kinds);
        QCOMPARE(Boxes, QStringList());
    }
};

QTEST_MAIN(KeyboardWalkTest)
#include "KeyboardWalkTest.moc"
