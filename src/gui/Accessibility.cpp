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

// Qt's own button interface is private; this one says the same and adds the
// fill of a running button as its value, with its words as description.
class ProgressButtonAccessible : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit ProgressButtonAccessible(ProgressButton *button)
        : QAccessibleWidget(button, QAccessible::Button)
    { }

    ProgressButton *button() const { return static_cast<ProgressButton *>(widget()); }

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name:
            if (!button()->accessibleName().isEmpty())
                return button()->accessibleName();
            return QString(button()->text()).remove(u'&');
        case QAccessible::Description:
            return button()->description();
        default:
            return QAccessibleWidget::text(t);
        }
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.pressed = button()->isDown();
        s.busy = button()->fill().has_value();
        return s;
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
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

    // The percent of a running button; 0 for a plain one.
    QVariant currentValue() const override { return button()->percent().value_or(0); }
    void setCurrentValue(const QVariant &) override { }
    QVariant maximumValue() const override { return 100; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }
};

class BarAccessible : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit BarAccessible(BarLabel *bar) : QAccessibleWidget(bar, QAccessible::ProgressBar) { }

    BarLabel *bar() const { return static_cast<BarLabel *>(widget()); }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QVariant currentValue() const override { return bar()->length(); }
    void setCurrentValue(const QVariant &) override { }
    QVariant maximumValue() const override
    {
        return std::max(bar()->length(), bar()->fullLength());
    }
    QVariant minimumValue() const override { return 0.0; }
    QVariant minimumStepSize() const override { return 0.0; }
};

// Qt's own combo box interface names an editable combo box by its text; a
// screen reader user needs to hear what the field is (ループ回数), and its
// text as the value.
class ComboFieldAccessible : public QAccessibleWidget
{
public:
    explicit ComboFieldAccessible(QComboBox *combo)
        : QAccessibleWidget(combo, QAccessible::ComboBox)
    { }

    QComboBox *combo() const { return static_cast<QComboBox *>(widget()); }

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
    return nullptr;
}

} // namespace

void installAccessibleInterfaces()
{
    QAccessible::installFactory(interfaceFor);
}

void BarLabel::setLength(double twips, double fullTwips)
{
    if (twips == m_length && fullTwips == m_full)
        return;
    m_length = twips;
    m_full = fullTwips;
    QAccessibleValueChangeEvent changed(this, m_length);
    QAccessible::updateAccessibility(&changed);
}

} // namespace kamorin
