#include "gui/LongStepWait.h"

#include "gui/RunWatcher.h"
#include "runtime/LoopProgress.h"

#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

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

} // namespace

LongStepWait::LongStepWait(LoopProgress &progress, RunWatcher *watcher,
                           std::function<bool(const QWidget *)> closesTheProgram)
    : m_progress(progress), m_watcher(watcher), m_closesTheProgram(std::move(closesTheProgram))
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
    if (!isUserInput(event->type()))
        return false;
    if (event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape)
        m_progress.requestStop();
    return true;
}

} // namespace kamorin
