#include "gui/Accessibility.h"

#include "gui/ProgressButton.h"

#include <QAccessibleWidget>
#include <QKeySequence>

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
        if (actionName == pressAction() && button()->isEnabled())
            button()->click();
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
    QVariant maximumValue() const override { return std::max(bar()->length(), bar()->fullLength()); }
    QVariant minimumValue() const override { return 0.0; }
    QVariant minimumStepSize() const override { return 0.0; }
};

QAccessibleInterface *interfaceFor(const QString &className, QObject *object)
{
    if (className == u"kamorin::ProgressButton")
        return new ProgressButtonAccessible(static_cast<ProgressButton *>(object));
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
