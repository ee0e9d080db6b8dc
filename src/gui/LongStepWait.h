#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class QWidget;

namespace kamorin {

class LoopProgress;
class RunWatcher;

// Runs a handler's long step on a worker thread while the user-interface
// thread waits in a local event loop: the windows are painted and answer the
// desktop, but no input reaches them, so no other handler runs and nothing
// typed or clicked changes a field, as if the handler held the thread. Escape,
// or closing a window that `closesTheProgram` names, asks the step to stop.
class LongStepWait : public QObject
{
    Q_OBJECT

public:
    LongStepWait(LoopProgress &progress, RunWatcher *watcher,
                 std::function<bool(const QWidget *)> closesTheProgram);

    // Whatever the step throws is thrown again here, on this thread.
    void run(const std::function<void()> &step);

    // The window whose closing stopped the run: it is to close once the
    // handler has ended.
    QWidget *closeRequested() const { return m_closeRequested; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    LoopProgress &m_progress;
    RunWatcher *m_watcher;
    std::function<bool(const QWidget *)> m_closesTheProgram;
    QPointer<QWidget> m_closeRequested;
};

} // namespace kamorin
