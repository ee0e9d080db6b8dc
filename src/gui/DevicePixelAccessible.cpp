#include "gui/DevicePixelAccessible.h"

#include <QAccessible>
#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <optional>

namespace kamorin {

namespace {

// A menu item is placed by the menu or menu bar that shows it.
QWidget *widgetOf(QObject *object)
{
    if (auto *action = qobject_cast<QAction *>(object))
        return qobject_cast<QWidget *>(action->associatedObjects().value(0));
    return qobject_cast<QWidget *>(object);
}

// How a widget's global positions map to the display's pixels. Qt keeps each
// screen's top-left corner the same in both and scales from there. Only X11
// has global positions in the display's pixels: a Wayland compositor places
// windows in the same logical units as Qt.
class DeviceMapping
{
public:
    explicit DeviceMapping(QObject *object)
    {
        QWidget *widget = widgetOf(object);
        if (!widget || !widget->screen() || QGuiApplication::platformName() != u"xcb")
            return;
        m_factor = widget->devicePixelRatioF();
        m_origin = widget->screen()->geometry().topLeft();
    }

    QPoint toDevice(QPoint logical) const { return m_origin + (logical - m_origin) * m_factor; }
    QPoint toLogical(QPoint device) const { return m_origin + (device - m_origin) / m_factor; }
    QRect toDevice(const QRect &logical) const
    {
        return { toDevice(logical.topLeft()), logical.size() * m_factor };
    }

private:
    qreal m_factor = 1;
    QPoint m_origin;
};

// The run's wait keeps the form from keys and pointer; this keeps it from
// assistive technology as well, which would otherwise type into it or press
// its buttons under a running handler.
constexpr char kRefusesInput[] = "kamorinRefusesInput";

bool refusesInput(QObject *object)
{
    const QWidget *widget = widgetOf(object);
    return widget && widget->window()->property(kRefusesInput).toBool();
}

class DevicePixelText : public QAccessibleTextInterface
{
public:
    DevicePixelText(QAccessibleTextInterface *inner, QObject *object)
        : m_inner(inner), m_object(object)
    { }

    QRect characterRect(int offset) const override
    {
        return DeviceMapping(m_object).toDevice(m_inner->characterRect(offset));
    }
    int offsetAtPoint(const QPoint &point) const override
    {
        return m_inner->offsetAtPoint(DeviceMapping(m_object).toLogical(point));
    }

    void selection(int index, int *start, int *end) const override
    {
        m_inner->selection(index, start, end);
    }
    int selectionCount() const override { return m_inner->selectionCount(); }
    void addSelection(int start, int end) override { m_inner->addSelection(start, end); }
    void removeSelection(int index) override { m_inner->removeSelection(index); }
    void setSelection(int index, int start, int end) override
    {
        m_inner->setSelection(index, start, end);
    }
    int cursorPosition() const override { return m_inner->cursorPosition(); }
    void setCursorPosition(int position) override { m_inner->setCursorPosition(position); }
    QString text(int start, int end) const override { return m_inner->text(start, end); }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int *start,
                             int *end) const override
    {
        return m_inner->textBeforeOffset(offset, boundary, start, end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int *start,
                            int *end) const override
    {
        return m_inner->textAfterOffset(offset, boundary, start, end);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int *start,
                         int *end) const override
    {
        return m_inner->textAtOffset(offset, boundary, start, end);
    }
    int characterCount() const override { return m_inner->characterCount(); }
    void scrollToSubstring(int start, int end) override { m_inner->scrollToSubstring(start, end); }
    // Qt's line edits answer with an empty run at the offset asked for; a
    // screen reader that walks the runs to read a field then stops short of
    // its end (140.13 of 140.136). The text has one set of attributes
    // throughout, so the run is all of it.
    QString attributes(int offset, int *start, int *end) const override
    {
        const QString attributes = m_inner->attributes(offset, start, end);
        if (attributes.isEmpty() && *start == *end) {
            *start = 0;
            *end = m_inner->characterCount();
        }
        return attributes;
    }

private:
    QAccessibleTextInterface *m_inner;
    QObject *m_object;
};

class RefusingEditableText : public QAccessibleEditableTextInterface
{
public:
    RefusingEditableText(QAccessibleEditableTextInterface *inner, QObject *object)
        : m_inner(inner), m_object(object)
    { }

    void deleteText(int start, int end) override
    {
        if (!refusesInput(m_object))
            m_inner->deleteText(start, end);
    }
    void insertText(int offset, const QString &text) override
    {
        if (!refusesInput(m_object))
            m_inner->insertText(offset, text);
    }
    void replaceText(int start, int end, const QString &text) override
    {
        if (!refusesInput(m_object))
            m_inner->replaceText(start, end, text);
    }

private:
    QAccessibleEditableTextInterface *m_inner;
    QObject *m_object;
};

class RefusingActions : public QAccessibleActionInterface
{
public:
    RefusingActions(QAccessibleActionInterface *inner, QObject *object)
        : m_inner(inner), m_object(object)
    { }

    QStringList actionNames() const override
    {
        return refusesInput(m_object) ? QStringList() : m_inner->actionNames();
    }
    QString localizedActionName(const QString &name) const override
    {
        return m_inner->localizedActionName(name);
    }
    QString localizedActionDescription(const QString &name) const override
    {
        return m_inner->localizedActionDescription(name);
    }
    void doAction(const QString &name) override
    {
        if (!refusesInput(m_object))
            m_inner->doAction(name);
    }
    QStringList keyBindingsForAction(const QString &name) const override
    {
        return m_inner->keyBindingsForAction(name);
    }

private:
    QAccessibleActionInterface *m_inner;
    QObject *m_object;
};

class DevicePixelImage : public QAccessibleImageInterface
{
public:
    DevicePixelImage(QAccessibleImageInterface *inner, QObject *object)
        : m_inner(inner), m_object(object)
    { }

    QString imageDescription() const override { return m_inner->imageDescription(); }
    QSize imageSize() const override
    {
        return DeviceMapping(m_object).toDevice(QRect(QPoint(), m_inner->imageSize())).size();
    }
    QPoint imagePosition() const override
    {
        return DeviceMapping(m_object).toDevice(m_inner->imagePosition());
    }

private:
    QAccessibleImageInterface *m_inner;
    QObject *m_object;
};

QAccessibleInterface *wrapped(QAccessibleInterface *inner);

class DevicePixelInterface : public QAccessibleInterface
{
public:
    explicit DevicePixelInterface(QAccessibleInterface *inner) : m_inner(inner) { }

    QAccessibleInterface *inner() const { return m_inner; }

    QRect rect() const override { return DeviceMapping(object()).toDevice(m_inner->rect()); }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        const QPoint logical = DeviceMapping(object()).toLogical({ x, y });
        return wrapped(m_inner->childAt(logical.x(), logical.y()));
    }
    // What is reached from here is in the display's pixels too, the hidden
    // widgets that were never polished and the menu bar's items included.
    QAccessibleInterface *focusChild() const override { return wrapped(m_inner->focusChild()); }
    QAccessibleInterface *parent() const override { return wrapped(m_inner->parent()); }
    QAccessibleInterface *child(int index) const override { return wrapped(m_inner->child(index)); }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        void *inner = m_inner->interface_cast(type);
        if (!inner)
            return nullptr;
        if (type == QAccessible::TextInterface) {
            if (!m_text)
                m_text.emplace(static_cast<QAccessibleTextInterface *>(inner), object());
            return &*m_text;
        }
        if (type == QAccessible::ImageInterface) {
            if (!m_image)
                m_image.emplace(static_cast<QAccessibleImageInterface *>(inner), object());
            return &*m_image;
        }
        if (type == QAccessible::EditableTextInterface) {
            if (!m_editable)
                m_editable.emplace(static_cast<QAccessibleEditableTextInterface *>(inner),
                                   object());
            return &*m_editable;
        }
        if (type == QAccessible::ActionInterface) {
            if (!m_actions)
                m_actions.emplace(static_cast<QAccessibleActionInterface *>(inner), object());
            return &*m_actions;
        }
        return inner;
    }

    bool isValid() const override { return m_inner->isValid(); }
    QObject *object() const override { return m_inner->object(); }
    QWindow *window() const override { return m_inner->window(); }
    QList<QPair<QAccessibleInterface *, QAccessible::Relation>>
    relations(QAccessible::Relation match) const override
    {
        return m_inner->relations(match);
    }
    int childCount() const override { return m_inner->childCount(); }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return m_inner->indexOfChild(child);
    }
    QString text(QAccessible::Text t) const override { return m_inner->text(t); }
    void setText(QAccessible::Text t, const QString &text) override
    {
        if (!refusesInput(object()))
            m_inner->setText(t, text);
    }
    QAccessible::Role role() const override { return m_inner->role(); }
    QAccessible::State state() const override
    {
        QAccessible::State s = m_inner->state();
        if (refusesInput(object())) {
            s.disabled = true;
            if (s.editable) {
                s.editable = false;
                s.readOnly = true;
            }
        }
        return s;
    }
    QColor foregroundColor() const override { return m_inner->foregroundColor(); }
    QColor backgroundColor() const override { return m_inner->backgroundColor(); }
    void virtual_hook(int id, void *data) override { m_inner->virtual_hook(id, data); }

private:
    QAccessibleInterface *m_inner;
    std::optional<DevicePixelText> m_text;
    std::optional<DevicePixelImage> m_image;
    std::optional<RefusingEditableText> m_editable;
    std::optional<RefusingActions> m_actions;
};

// Wraps the interface registered for a widget or a menu item and registers
// the wrapper in its place, so that every later query finds the wrapper. Qt
// can be asked to make an interface only through its own factories, which
// come first, hence the swap after the fact. The application and the items
// of lists, which belong to no object of their own, stay as they are.
QAccessibleInterface *wrapped(QAccessibleInterface *inner)
{
    if (!inner || dynamic_cast<DevicePixelInterface *>(inner))
        return inner;
    QObject *object = inner->object();
    if (!object || !(object->isWidgetType() || qobject_cast<QAction *>(object)))
        return inner;
    // An interface that kept its child's first interface hands out that one.
    auto *registered
            = dynamic_cast<DevicePixelInterface *>(QAccessible::queryAccessibleInterface(object));
    if (registered && registered->inner() == inner)
        return registered;
    // Qt deletes the interface registered last for an object, the wrapper,
    // with the object; the inner one goes with it.
    const QAccessible::Id innerId = QAccessible::uniqueId(inner);
    QObject::connect(object, &QObject::destroyed,
                     [innerId] { QAccessible::deleteAccessibleInterface(innerId); });
    auto *wrapper = new DevicePixelInterface(inner);
    QAccessible::registerAccessibleInterface(wrapper);
    return wrapper;
}

class PolishWatcher : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (event->type() == QEvent::Polish && object->isWidgetType())
            wrapped(QAccessible::queryAccessibleInterface(object));
        return false;
    }
};

} // namespace

// Read afresh by whoever asks. No change of state is sent: one for each
// control would make Orca 43 take the window for a flood and drop what the
// run has to say, and during a run no key can move Orca to another control.
void refuseAssistiveInput(QWidget *window, bool refused)
{
    window->setProperty(kRefusesInput, refused);
}

void reportGeometryInDevicePixels()
{
    QCoreApplication::instance()->installEventFilter(
            new PolishWatcher(QCoreApplication::instance()));
}

} // namespace kamorin
