#pragma once

#include <QObject>
#include <QPointer>

#include <functional>
#include <vector>

class QWidget;

namespace kamorin {

class LoopProgress;
class RunWatcher;

// Runs a handler's long step on a worker thread while the user-interface
// thread waits in a local event loop: the windows are painted and answer the
// desktop, but no input reaches them, so no other handler runs and nothing
// typed or clicked changes a field, as if the handler held the thread. The
// pointer still hovers, so tooltips open. Escape, or closing a window that
// `closesTheProgram` names, asks the step to stop. A window that
// `staysUsable` names (the version dialog) takes its input as ever.
class LongStepWait : public QObject
{
    Q_OBJECT

public:
    using WindowTest = std::function<bool(const QWidget *)>;

    LongStepWait(LoopProgress &progress, RunWatcher *watcher, WindowTest closesTheProgram,
                 WindowTest staysUsable);

    // Whatever the step throws is thrown again here, on this thread.
    void run(const std::function<void()> &step);

    // The window whose closing stopped the run: it is to close once the
    // handler has ended.
    QWidget *closeRequested() const { return m_closeRequested; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Drops the keys that reach a window of the form; Escape asks for the stop.
    class KeyBlock : public QObject
    {
    public:
        explicit KeyBlock(LoopProgress &progress) : m_progress(progress) { }
        bool eventFilter(QObject *watched, QEvent *event) override;

    private:
        LoopProgress &m_progress;
    };

    std::vector<QPointer<QObject>> blockKeys();

    LoopProgress &m_progress;
    KeyBlock m_keyBlock;
    RunWatcher *m_watcher;
    WindowTest m_closesTheProgram;
    WindowTest m_staysUsable;
    QPointer<QWidget> m_closeRequested;
};

} // namespace kamorin
