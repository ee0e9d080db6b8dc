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
    QString attributes(int offset, int *start, int *end) const override
    {
        return m_inner->attributes(offset, start, end);
    }

private:
    QAccessibleTextInterface *m_inner;
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
    void setText(QAccessible::Text t, const QString &text) override { m_inner->setText(t, text); }
    QAccessible::Role role() const override { return m_inner->role(); }
    QAccessible::State state() const override { return m_inner->state(); }
    QColor foregroundColor() const override { return m_inner->foregroundColor(); }
    QColor backgroundColor() const override { return m_inner->backgroundColor(); }
    void virtual_hook(int id, void *data) override { m_inner->virtual_hook(id, data); }

private:
    QAccessibleInterface *m_inner;
    std::optional<DevicePixelText> m_text;
    std::optional<DevicePixelImage> m_image;
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

void reportGeometryInDevicePixels()
{
    QCoreApplication::instance()->installEventFilter(
            new PolishWatcher(QCoreApplication::instance()));
}

} // namespace kamorin
