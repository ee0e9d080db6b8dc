#include "gui/LongStepWait.h"

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

namespace kamorin {

namespace {

// Four updates a second at the least, and a few more so the fill moves smoothly.
constexpr int kProgressIntervalMs = 100;

bool isUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
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
    : m_progress(progress), m_watcher(watcher), m_closesTheProgram(std::move(closesTheProgram)),
      m_staysUsable(std::move(staysUsable))
{ }

void LongStepWait::run(const std::function<void()> &step)
{
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
        m_watcher->runStarted();
        connect(&ticks, &QTimer::timeout, this, [&] {
            m_watcher->runProgressed(m_progress.fractionDone(),
                                     static_cast<double>(elapsed.elapsed()) / 1000);
        });
        ticks.start();
    }

    qApp->installEventFilter(this);
    loop.exec();
    qApp->removeEventFilter(this);
    ticks.stop();
    worker.join();
    if (m_watcher)
        m_watcher->runEnded();

    if (failure)
        std::rethrow_exception(failure);
}

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
    if (isHover(watched, event))
        return false;
    if (event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape)
        m_progress.requestStop();
    return true;
}

} // namespace kamorin
