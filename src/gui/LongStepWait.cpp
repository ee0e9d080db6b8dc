#include "gui/LongStepWait.h"

#include "gui/DevicePixelAccessible.h"
#include "gui/RunWatcher.h"
#include "runtime/LoopProgress.h"

#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <exception>
#include <thread>
#include <vector>

namespace kamorin {

namespace {

// Four updates a second at the least, and a few more so the fill moves smoothly.
constexpr int kProgressIntervalMs = 100;

// Input other than keys, which the key block drops further on.
bool isUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::InputMethod:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::TabletMove:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

// The top-level widget an event is for, whether it is sent to one of its
// widgets or to the window of the desktop that shows it.
QWidget *topLevelOf(QObject *watched)
{
    if (auto *widget = qobject_cast<QWidget *>(watched))
        return widget->window();
    if (auto *window = qobject_cast<QWindow *>(watched)) {
        for (QWidget *topLevel : QApplication::topLevelWidgets()) {
            if (topLevel->windowHandle() == window)
                return topLevel;
        }
    }
    return nullptr;
}

// Qt starts a tooltip's timer as it hands a move on from the desktop's window
// to the widget under the pointer: a move with no button held passes the
// window, and is dropped at the widget, so hovering opens the tooltip and
// nothing else.
bool isHover(QObject *watched, QEvent *event)
{
    return event->type() == QEvent::MouseMove && qobject_cast<QWindow *>(watched)
            && static_cast<QMouseEvent *>(event)->buttons() == Qt::NoButton;
}

} // namespace

LongStepWait::LongStepWait(LoopProgress &progress, RunWatcher *watcher, WindowTest closesTheProgram,
                           WindowTest staysUsable)
    : m_progress(progress), m_keyBlock(progress), m_watcher(watcher),
      m_closesTheProgram(std::move(closesTheProgram)), m_staysUsable(std::move(staysUsable))
{ }

void LongStepWait::run(const std::function<void()> &step)
{
    // Before the run is announced: a screen reader that asks on hearing of
    // it finds the form refusing input already.
    qApp->installEventFilter(this);
    const std::vector<QPointer<QObject>> blocked = blockKeys();
    // Announced before the worker starts: what the announcement posts to
    // Qt's queues then comes before anything the worker posts, in an order
    // that needs no lock.
    if (m_watcher)
        m_watcher->runStarted();

    QEventLoop loop;
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            step();
        } catch (...) {
            failure = std::current_exception();
        }
        // Queued, so it reaches the loop even if it has not started yet.
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });

    QElapsedTimer elapsed;
    elapsed.start();
    QTimer ticks;
    ticks.setInterval(kProgressIntervalMs);
    if (m_watcher) {
        connect(&ticks, &QTimer::timeout, this, [&] {
            m_watcher->runProgressed(m_progress.fractionDone(),
                                     static_cast<double>(elapsed.elapsed()) / 1000);
        });
        ticks.start();
    }

    loop.exec();
    for (const QPointer<QObject> &object : blocked) {
        if (!object)
            continue;
        object->removeEventFilter(&m_keyBlock);
        if (auto *widget = qobject_cast<QWidget *>(object.data()); widget && widget->isWindow())
            refuseAssistiveInput(widget, false);
    }
    qApp->removeEventFilter(this);
    ticks.stop();
    worker.join();
    if (m_watcher)
        m_watcher->runEnded(m_progress.stopRequested());

    if (failure)
        std::rethrow_exception(failure);
}

// Keys are refused by each window and widget rather than by the
// application. Qt's accessibility bridge hands every key to the screen reader
// first, from an application-wide filter, and passes on only what the screen
// reader leaves; this wait's application-wide filter, installed later, would
// be asked first and keep every key from the screen reader, its own commands
// included. Assistive technology is told that the form takes nothing either.
std::vector<QPointer<QObject>> LongStepWait::blockKeys()
{
    std::vector<QPointer<QObject>> blocked;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (m_staysUsable(window))
            continue;
        QList<QObject *> objects { window };
        if (QWindow *handle = window->windowHandle())
            objects << handle;
        for (QWidget *child : window->findChildren<QWidget *>())
            objects << child;
        for (QObject *object : objects) {
            object->installEventFilter(&m_keyBlock);
            blocked.emplace_back(object);
        }
        refuseAssistiveInput(window, true);
    }
    return blocked;
}

bool LongStepWait::KeyBlock::eventFilter(QObject *, QEvent *event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return false;
    if (event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape)
        m_progress.requestStop();
    return true;
}

// Keys are left to the key block, past the accessibility bridge.
bool LongStepWait::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Close && !isUserInput(event->type()))
        return false;
    if (const QWidget *window = topLevelOf(watched); window && m_staysUsable(window))
        return false;
    if (event->type() == QEvent::Close) {
        auto *window = qobject_cast<QWidget *>(watched);
        if (!window || !window->isWindow())
            return false;
        // Only after the handler has ended: a window closed under a running
        // handler would leave it writing to a form that is gone.
        event->ignore();
        if (m_closesTheProgram(window)) {
            m_closeRequested = window;
            m_progress.requestStop();
        }
        return true;
    }
    return !isHover(watched, event);
}

} // namespace kamorin
