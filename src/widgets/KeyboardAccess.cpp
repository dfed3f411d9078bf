#include "widgets/KeyboardAccess.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTabBar>
#include <QTabWidget>

#include <algorithm>
#include <tuple>
#include <vector>

namespace {

const char* const kLetterProperty = "railscopeAccelerator";
const char* const kScopeProperty = "railscopeAcceleratorScope";

bool TakesTab(const QWidget* w)
{
    return (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus;
}

void WalkLayout(const QLayout* layout, QList<QWidget*>& order);

void WalkWidget(QWidget* w, QList<QWidget*>& order)
{
    if (!w || w->isWindow()) return;
    // The pages of a tab widget follow its tabs.
    if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
        order << tabs->tabBar();
        for (int i = 0; i < tabs->count(); ++i) WalkWidget(tabs->widget(i), order);
        return;
    }
    if (TakesTab(w)) {
        order << w;
        return;
    }
    if (w->layout()) WalkLayout(w->layout(), order);
}

// The items of a layout as they read: a grid row by row, a form row by row, a box in its direction.
QList<QLayoutItem*> ItemsAsRead(const QLayout* layout)
{
    QList<QLayoutItem*> items;
    if (const auto* grid = qobject_cast<const QGridLayout*>(layout)) {
        std::vector<std::tuple<int, int, int>> places;
        for (int i = 0; i < grid->count(); ++i) {
            int row = 0, column = 0, rows = 0, columns = 0;
            grid->getItemPosition(i, &row, &column, &rows, &columns);
            places.emplace_back(row, column, i);
        }
        std::sort(places.begin(), places.end());
        for (const auto& place : places) items << grid->itemAt(std::get<2>(place));
        return items;
    }
    if (const auto* form = qobject_cast<const QFormLayout*>(layout)) {
        for (int row = 0; row < form->rowCount(); ++row)
            for (QFormLayout::ItemRole role : {QFormLayout::LabelRole, QFormLayout::FieldRole, QFormLayout::SpanningRole})
                if (QLayoutItem* item = form->itemAt(row, role)) items << item;
        return items;
    }
    for (int i = 0; i < layout->count(); ++i) items << layout->itemAt(i);
    if (const auto* box = qobject_cast<const QBoxLayout*>(layout);
        box && (box->direction() == QBoxLayout::RightToLeft || box->direction() == QBoxLayout::BottomToTop))
        std::reverse(items.begin(), items.end());
    return items;
}

void WalkLayout(const QLayout* layout, QList<QWidget*>& order)
{
    for (QLayoutItem* item : ItemsAsRead(layout)) {
        if (QWidget* w = item->widget())
            WalkWidget(w, order);
        else if (const QLayout* inner = item->layout())
            WalkLayout(inner, order);
    }
}

// --- accelerators ---------------------------------------------------------------------------

bool CanMark(QChar c)
{
    return c.isLetterOrNumber();
}

// The letter a text marks as its accelerator (lower case), or a null character.
QChar MarkedLetter(const QString& text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&')) continue;
        if (text[i + 1] == QLatin1Char('&')) {
            ++i;
            continue;
        }
        if (CanMark(text[i + 1])) return text[i + 1].toLower();
    }
    return {};
}

// A text whose "&" characters stay characters, with the accelerator mark before position `at`
// (of the plain text; none when negative).
QString MarkedText(const QString& plain, qsizetype at)
{
    QString text;
    for (qsizetype i = 0; i < plain.size(); ++i) {
        if (i == at) text += QLatin1Char('&');
        text += plain[i];
        if (plain[i] == QLatin1Char('&')) text += QLatin1Char('&');
    }
    return text;
}

// Where in `plain` to mark an accelerator: the first letter of a word that is free, else any free
// letter or digit; `preferred` first when the text holds it. -1 when none is free.
qsizetype ChooseMark(const QString& plain, const QSet<QChar>& used, QChar preferred = {})
{
    const auto free = [&used](QChar c) { return CanMark(c) && !used.contains(c.toLower()); };
    std::vector<qsizetype> starts;
    std::vector<qsizetype> others;
    for (qsizetype i = 0; i < plain.size(); ++i) {
        if (!free(plain[i])) continue;
        const bool wordStart = i == 0 || !plain[i - 1].isLetterOrNumber();
        (wordStart ? starts : others).push_back(i);
    }
    if (!preferred.isNull()) {
        for (const auto* list : {&starts, &others})
            for (qsizetype i : *list)
                if (plain[i].toLower() == preferred) return i;
    }
    if (!starts.empty()) return starts.front();
    if (!others.empty()) return others.front();
    return -1;
}

QString TextOf(const QWidget* w)
{
    if (const auto* label = qobject_cast<const QLabel*>(w)) return label->text();
    if (const auto* group = qobject_cast<const QGroupBox*>(w)) return group->title();
    if (const auto* button = qobject_cast<const QAbstractButton*>(w)) return button->text();
    return {};
}

void SetTextOf(QWidget* w, const QString& text)
{
    if (auto* label = qobject_cast<QLabel*>(w))
        label->setText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(w))
        group->setTitle(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(w))
        button->setText(text);
}

// The first control of a group that Tab visits, or null.
QWidget* FirstControlIn(const QGroupBox* group)
{
    QList<QWidget*> inside;
    if (group->layout()) WalkLayout(group->layout(), inside);
    return inside.isEmpty() ? nullptr : inside.constFirst();
}

// The widgets of a window, without those of the dialogs it owns (a file dialog's "File name:").
QList<QWidget*> ControlsOf(const QWidget* window)
{
    QList<QWidget*> controls;
    for (QWidget* w : window->findChildren<QWidget*>())
        if (w->window() == window->window()) controls << w;
    return controls;
}

// The accelerators in use in a window: its own controls' and menus', and for a child window of
// the frame the frame's menu titles too.
QSet<QChar> UsedLetters(const QWidget* scope)
{
    QSet<QChar> used;
    const auto add = [&used](const QString& text) {
        const QChar letter = MarkedLetter(text);
        if (!letter.isNull()) used.insert(letter);
    };
    for (const QWidget* w : ControlsOf(scope)) {
        if (const auto* label = qobject_cast<const QLabel*>(w); label && !label->buddy()) continue;
        add(TextOf(w));
        if (const auto* bar = qobject_cast<const QMenuBar*>(w))
            for (const QAction* action : bar->actions()) add(action->text());
        if (const auto* tabs = qobject_cast<const QTabBar*>(w))
            for (int i = 0; i < tabs->count(); ++i) add(tabs->tabText(i));
    }
    if (const auto* frame = qobject_cast<const QMainWindow*>(scope->window()); frame && frame != scope)
        if (const QMenuBar* bar = frame->menuBar())
            for (const QAction* action : bar->actions()) add(action->text());
    return used;
}

void Mark(QWidget* control, QWidget* scope, QSet<QChar>& used, QChar preferred = {})
{
    const QString plain = PlainText(TextOf(control));
    const qsizetype at = ChooseMark(plain, used, preferred);
    SetTextOf(control, MarkedText(plain, at));
    control->setProperty(kScopeProperty, QVariant::fromValue(static_cast<QObject*>(scope)));
    if (at < 0) return;
    used.insert(plain[at].toLower());
    control->setProperty(kLetterProperty, QString(plain[at].toLower()));
}

// The letter of an Alt key (lower case), or a null character.
QChar AltLetter(const QKeyEvent& key)
{
    if ((key.modifiers() & ~Qt::KeypadModifier) != Qt::AltModifier) return {};
    if (key.key() >= Qt::Key_A && key.key() <= Qt::Key_Z) return QChar(u'a' + (key.key() - Qt::Key_A));
    if (key.key() >= Qt::Key_0 && key.key() <= Qt::Key_9) return QChar(u'0' + (key.key() - Qt::Key_0));
    return {};
}

// Does what the accelerator of a control does: a label's field and a group's first control take
// the focus, a button is pressed, a menu opens.
void Activate(QWidget* control, QAction* menu)
{
    if (menu) {
        auto* bar = static_cast<QMenuBar*>(control);
        bar->setActiveAction(menu);
        if (QMenu* popup = menu->menu()) {
            const QList<QAction*> actions = popup->actions();
            const auto first = std::find_if(actions.begin(), actions.end(),
                                            [](const QAction* a) { return a->isEnabled() && !a->isSeparator(); });
            if (first != actions.end()) popup->setActiveAction(*first);
        }
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        if (QWidget* buddy = label->buddy(); buddy && buddy->isEnabled()) buddy->setFocus(Qt::ShortcutFocusReason);
    } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
        if (QWidget* first = FirstControlIn(group)) first->setFocus(Qt::ShortcutFocusReason);
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        if (button->focusPolicy() != Qt::NoFocus) button->setFocus(Qt::ShortcutFocusReason);
        button->animateClick();
    }
}

// A window's keyboard access: set up when the window is first shown. And for a child window of
// the frame, whose accelerators and menus share the frame's window with the frame's own menus:
// while the focus is inside it, its own come first.
class TKeyboardAccess : public QObject {
public:
    explicit TKeyboardAccess(QWidget* window) : QObject(window), Window(window) { window->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != Window) return QObject::eventFilter(watched, event);
        if (event->type() == QEvent::Show && !SetUp) {
            SetUp = true;
            SetReadingTabOrder(Window);
            GiveAccelerators(Window);
            for (QWidget* control : ReadingOrder(Window)) {
                if (!control->isEnabled() || !control->isVisibleTo(Window)) continue;
                control->setFocus(Qt::OtherFocusReason);
                break;
            }
        }
        const bool override = event->type() == QEvent::ShortcutOverride;
        if ((override || event->type() == QEvent::KeyPress) && Window->window() != Window) {
            auto* key = static_cast<QKeyEvent*>(event);
            QAction* menu = nullptr;
            if (QWidget* control = OwnControlFor(AltLetter(*key), menu)) {
                // Taken before the frame's shortcuts see it; the key itself then arrives here.
                key->accept();
                if (!override) Activate(control, menu);
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    // The control (or menu bar with `menu`) of the window whose accelerator is `letter`.
    QWidget* OwnControlFor(QChar letter, QAction*& menu) const
    {
        if (letter.isNull()) return nullptr;
        for (QWidget* w : ControlsOf(Window)) {
            if (!w->isVisible() || !w->isEnabled()) continue;
            if (auto* bar = qobject_cast<QMenuBar*>(w)) {
                for (QAction* action : bar->actions())
                    if (action->isVisible() && action->isEnabled() && MarkedLetter(action->text()) == letter) {
                        menu = action;
                        return bar;
                    }
                continue;
            }
            if (const auto* label = qobject_cast<const QLabel*>(w); label && !label->buddy()) continue;
            if (MarkedLetter(TextOf(w)) == letter) return w;
        }
        return nullptr;
    }

    QWidget* Window;
    bool SetUp = false;
};

// Enter and Return on a list's current line open it.
class TOpenLineKeys : public QObject {
public:
    TOpenLineKeys(QListWidget* list, std::function<void(int)> open) : QObject(list), List(list), Open(std::move(open))
    {
        list->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != List || event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if (!enter || modifiers != Qt::NoModifier || List->currentRow() < 0) return QObject::eventFilter(watched, event);
        Open(List->currentRow());
        return true;
    }

private:
    QListWidget* List;
    std::function<void(int)> Open;
};

} // namespace

QString PlainText(const QString& text)
{
    QString plain;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size()) {
            // "&&" is one "&"; an "&" before a letter only marks it.
            if (text[i + 1] == QLatin1Char('&')) {
                plain += QLatin1Char('&');
                ++i;
                continue;
            }
            if (CanMark(text[i + 1])) continue;
        }
        plain += text[i];
    }
    return plain;
}

QList<QWidget*> ReadingOrder(const QWidget* window)
{
    QList<QWidget*> order;
    if (window && window->layout()) WalkLayout(window->layout(), order);
    return order;
}

void SetReadingTabOrder(QWidget* window)
{
    const QList<QWidget*> order = ReadingOrder(window);
    for (qsizetype i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

void GiveAccelerators(QWidget* window)
{
    const QList<QWidget*> order = ReadingOrder(window);
    QList<QLabel*> labels;
    for (QWidget* w : ControlsOf(window))
        if (auto* label = qobject_cast<QLabel*>(w)) labels << label;
    const auto labelled = [&labels](const QWidget* control) {
        return std::any_of(labels.begin(), labels.end(), [control](const QLabel* l) { return l->buddy() == control; });
    };
    // Whatever names a control: labels of fields, check boxes, and a group's title when it is all
    // that names the field the group starts with.
    struct TNamed {
        int Letters; // free or not, the letters the text could mark
        qsizetype Index; // of the control it names, in reading order
        QWidget* Namer;
    };
    std::vector<TNamed> named;
    for (QWidget* w : ControlsOf(window)) {
        QWidget* control = nullptr;
        if (auto* label = qobject_cast<QLabel*>(w))
            control = label->buddy();
        else if (auto* group = qobject_cast<QGroupBox*>(w); group && !group->title().isEmpty())
            control = FirstControlIn(group);
        else if (qobject_cast<QCheckBox*>(w))
            control = w;
        if (!control || (qobject_cast<QGroupBox*>(w) && (qobject_cast<QAbstractButton*>(control) || labelled(control))))
            continue;
        QSet<QChar> letters;
        for (QChar c : PlainText(TextOf(w)))
            if (CanMark(c)) letters.insert(c.toLower());
        if (letters.isEmpty()) continue;
        const qsizetype index = order.indexOf(control);
        named.push_back({int(letters.size()), index < 0 ? order.size() : index, w});
    }
    // Texts with few letters choose first, so that a short one ("(not used)") is not left without;
    // among the others, the reading order.
    static constexpr int kFew = 8;
    std::stable_sort(named.begin(), named.end(), [](const TNamed& a, const TNamed& b) {
        return std::pair(std::min(a.Letters, kFew), a.Index) < std::pair(std::min(b.Letters, kFew), b.Index);
    });
    QSet<QChar> used = UsedLetters(window);
    for (const TNamed& n : named)
        if (MarkedLetter(TextOf(n.Namer)).isNull()) Mark(n.Namer, window, used);

}

void SetAcceleratedText(QWidget* control, const QString& text)
{
    auto* scope = qobject_cast<QWidget*>(control->property(kScopeProperty).value<QObject*>());
    if (!scope) {
        // Not given an accelerator (yet): the text as it is.
        SetTextOf(control, text);
        return;
    }
    const QString letter = control->property(kLetterProperty).toString();
    SetTextOf(control, PlainText(text));
    control->setProperty(kLetterProperty, QVariant());
    QSet<QChar> used = UsedLetters(scope);
    Mark(control, scope, used, letter.isEmpty() ? QChar() : letter.at(0));
}

void SetUpKeyboardAccess(QWidget* window)
{
    new TKeyboardAccess(window);
}

void ConnectOpenLine(QListWidget* list, QObject* context, std::function<void(int row)> open)
{
    QObject::connect(list, &QListWidget::itemDoubleClicked, context,
                     [list, open](QListWidgetItem* item) { open(list->row(item)); });
    new TOpenLineKeys(list, std::move(open));
}
