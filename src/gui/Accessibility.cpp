#include "gui/Accessibility.h"

#include "gui/ProgressButton.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QKeySequence>
#include <QLineEdit>

#include <algorithm>

namespace kamorin {

namespace {

// Text that is read, never edited nor selected: one piece, on the screen
// where its widget is.
class ReadOnlyText : public QAccessibleTextInterface
{
public:
    virtual QString words() const = 0;
    virtual QRect wordsRect() const { return {}; }

    void selection(int, int *start, int *end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override { }
    void removeSelection(int) override { }
    void setSelection(int, int, int) override { }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override { }
    QString text(int start, int end) const override { return words().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(words().size()); }
    QRect characterRect(int) const override { return wordsRect(); }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int, int) override { }
    QString attributes(int, int *start, int *end) const override
    {
        *start = 0;
        *end = characterCount();
        return {};
    }
};

QRect onScreen(const QWidget *widget)
{
    return QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
}

// Qt's own button interface is private; this one says the same. It offers
// no value: a button is not changed by steps, and a value would bring
// Increase and Decrease actions with it.
class ProgressButtonAccessible : public QAccessibleWidget
{
public:
    explicit ProgressButtonAccessible(ProgressButton *button)
        : QAccessibleWidget(button, QAccessible::Button)
    { }

    ProgressButton *button() const { return static_cast<ProgressButton *>(widget()); }

    QString text(QAccessible::Text t) const override
    {
        // The tooltip's first line is the progress, which the label below
        // says afresh; said twice, the halves could disagree by a percent.
        if (t == QAccessible::Description && button()->fill().has_value())
            return button()->toolTip().section(u'\n', 1);
        if (t != QAccessible::Name)
            return QAccessibleWidget::text(t);
        if (!button()->accessibleName().isEmpty())
            return button()->accessibleName();
        return QString(button()->text()).remove(u'&');
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.pressed = button()->isDown();
        s.busy = button()->fill().has_value();
        return s;
    }

    // A running button is labelled by its progress, so a screen reader asked
    // where the focus is reads how far the run has come. Labels are looked
    // up afresh each time, where a name or description would be kept from
    // the last change a screen reader was told of, and Orca 43 cannot read
    // the change events Qt 6.4 sends for the focused control.
    QList<QPair<QAccessibleInterface *, QAccessible::Relation>>
    relations(QAccessible::Relation match) const override
    {
        auto found = QAccessibleWidget::relations(match);
        SpokenProgress *progress = button()->spokenProgress();
        if ((match & QAccessible::Label) && progress && progress->isVisible())
            found.append({ QAccessible::queryAccessibleInterface(progress), QAccessible::Label });
        return found;
    }

    QStringList actionNames() const override
    {
        QStringList names;
        if (button()->isEnabled())
            names << pressAction();
        return names + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &actionName) override
    {
        // Later, as a click by hand would be: the screen reader's request is
        // answered first, not after a run that may take minutes.
        if (actionName == pressAction() && button()->isEnabled())
            button()->animateClick();
        else
            QAccessibleWidget::doAction(actionName);
    }

    QStringList keyBindingsForAction(const QString &actionName) const override
    {
        if (actionName == pressAction())
            return { QKeySequence(Qt::Key_Space).toString(QKeySequence::NativeText) };
        return QAccessibleWidget::keyBindingsForAction(actionName);
    }
};

// Read only: its value is the run's, never set from outside. Its words are
// its text, which a screen reader reads afresh each time; a changing name
// would have to be announced at every tick, and Orca drops what a window
// says when it is told too much at once.
class SpokenProgressAccessible : public QAccessibleWidget,
                                 public QAccessibleValueInterface,
                                 public ReadOnlyText
{
public:
    explicit SpokenProgressAccessible(SpokenProgress *progress)
        : QAccessibleWidget(progress, QAccessible::ProgressBar)
    { }

    SpokenProgress *progress() const { return static_cast<SpokenProgress *>(widget()); }
    QString words() const override { return progress()->words(); }

    using ReadOnlyText::text;
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return QStringLiteral("計算の進み具合");
        return QAccessibleWidget::text(t);
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QVariant currentValue() const override { return progress()->percent(); }
    void setCurrentValue(const QVariant &) override { }
    QVariant maximumValue() const override { return 100; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }
};

// A label is read in a screen reader's review of the screen by what it
// shows: one that shows a value is named by the caption beside it as well,
// and would be read as the caption twice.
class LabelAccessible : public QAccessibleWidget, public ReadOnlyText
{
public:
    explicit LabelAccessible(QLabel *label) : QAccessibleWidget(label, QAccessible::StaticText) { }

    QLabel *label() const { return static_cast<QLabel *>(widget()); }
    QString words() const override { return captionsAnEmptyField() ? QString() : label()->text(); }
    QRect wordsRect() const override { return onScreen(label()); }

    using ReadOnlyText::text;
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && label()->accessibleName().isEmpty())
            return words();
        return QAccessibleWidget::text(t);
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

private:
    // A review of the screen reads an empty field by its name, which is the
    // caption beside it: the caption then says nothing, so it is heard once.
    bool captionsAnEmptyField() const
    {
        const QWidget *form = label()->parentWidget();
        if (!form)
            return false;
        const auto fields = form->findChildren<QLineEdit *>(Qt::FindDirectChildrenOnly);
        return std::any_of(fields.begin(), fields.end(), [&](const QLineEdit *field) {
            return field->text().isEmpty() && field->accessibleName() == label()->text();
        });
    }
};

// A bar of the chart is drawn, not set: it says whose bar it is and the time
// it stands for, and has no value a screen reader would read as a percent.
class BarAccessible : public QAccessibleWidget
{
public:
    explicit BarAccessible(BarLabel *bar) : QAccessibleWidget(bar, QAccessible::Graphic) { }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Description)
            return static_cast<BarLabel *>(widget())->time();
        return QAccessibleWidget::text(t);
    }
};

// Says its words once each time it is shown; it is never seen.
class SpokenNoticeAccessible : public QAccessibleWidget
{
public:
    explicit SpokenNoticeAccessible(QWidget *notice)
        : QAccessibleWidget(notice, QAccessible::Notification)
    { }
};

// Qt's own combo box interface names an editable combo box by its text; a
// screen reader user needs to hear what the field is (ループ回数), and its
// text as the value.
class ComboFieldAccessible : public QAccessibleWidget, public ReadOnlyText
{
public:
    explicit ComboFieldAccessible(QComboBox *combo)
        : QAccessibleWidget(combo, QAccessible::ComboBox)
    { }

    QComboBox *combo() const { return static_cast<QComboBox *>(widget()); }

    // A review of the screen reads a list by what it shows.
    QString words() const override { return combo()->currentText(); }
    QRect wordsRect() const override { return onScreen(combo()->lineEdit()); }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    int childCount() const override { return 2; }

    QAccessibleInterface *child(int index) const override
    {
        if (index == 0)
            return QAccessible::queryAccessibleInterface(combo()->lineEdit());
        if (index == 1)
            return QAccessible::queryAccessibleInterface(combo()->view());
        return nullptr;
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (!child)
            return -1;
        if (child->object() == combo()->lineEdit())
            return 0;
        if (child->object() == combo()->view())
            return 1;
        return -1;
    }

    QAccessibleInterface *childAt(int x, int y) const override
    {
        QAccessibleInterface *edit = child(0);
        return edit && edit->rect().contains(x, y) ? edit : nullptr;
    }

    using ReadOnlyText::text;
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return combo()->currentText();
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.editable = true;
        s.expandable = true;
        s.expanded = combo()->view()->isVisible();
        return s;
    }

    QStringList actionNames() const override
    {
        return QStringList { showMenuAction(), pressAction() } + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &actionName) override
    {
        if (actionName == showMenuAction() || actionName == pressAction())
            combo()->showPopup();
        else
            QAccessibleWidget::doAction(actionName);
    }
};

QAccessibleInterface *interfaceFor(const QString &className, QObject *object)
{
    if (className == u"kamorin::ProgressButton")
        return new ProgressButtonAccessible(static_cast<ProgressButton *>(object));
    if (className == u"kamorin::ComboField")
        return new ComboFieldAccessible(static_cast<QComboBox *>(object));
    if (className == u"kamorin::BarLabel")
        return new BarAccessible(static_cast<BarLabel *>(object));
    if (className == u"kamorin::SpokenProgress")
        return new SpokenProgressAccessible(static_cast<SpokenProgress *>(object));
    if (className == u"kamorin::SpokenNotice")
        return new SpokenNoticeAccessible(static_cast<QWidget *>(object));
    // A picture keeps Qt's own interface, with its image.
    if (className == u"QLabel" && static_cast<QLabel *>(object)->pixmap().isNull())
        return new LabelAccessible(static_cast<QLabel *>(object));
    return nullptr;
}

int untoldDepth = 0;
QAccessible::UpdateHandler bridge = nullptr;

// Qt passes an event on to the platform's bridge only when no handler is
// installed, so the one kept is set back for each event told.
void tellAllButCaretMoves(QAccessibleEvent *event)
{
    if (event->type() == QAccessible::TextCaretMoved
        || event->type() == QAccessible::TextSelectionChanged)
        return;
    QAccessible::installUpdateHandler(bridge);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(tellAllButCaretMoves);
}

} // namespace

CaretMovesUntold::CaretMovesUntold()
{
    if (untoldDepth++ == 0)
        bridge = QAccessible::installUpdateHandler(tellAllButCaretMoves);
}

CaretMovesUntold::~CaretMovesUntold()
{
    if (--untoldDepth == 0)
        QAccessible::installUpdateHandler(bridge);
}

void installAccessibleInterfaces()
{
    QAccessible::installFactory(interfaceFor);
}

void BarLabel::setTime(const QString &time)
{
    if (time == m_time)
        return;
    m_time = time;
    QAccessibleEvent changed(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&changed);
}

SpokenNotice::SpokenNotice(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(0, 0, 0, 0);
    hide();
}

void SpokenNotice::say(const QString &words)
{
    if (words.isEmpty())
        return;
    // A screen reader speaks a notification as it is shown.
    hide();
    setAccessibleName(words);
    show();
}

} // namespace kamorin
