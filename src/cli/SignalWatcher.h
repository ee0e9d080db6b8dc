#pragma once

#include <atomic>
#include <mutex>
#include <signal.h>
#include <thread>

namespace kamorin {

class RunRegistry;

// SIGINT and SIGTERM end a run instead of the process: the loop stops at its
// next pass and the program says so and exits with 128 + the signal number.
// Once the runs are over they end the process at once with that status,
// even while it waits to write. The signals are blocked in every thread and
// taken by one watcher thread with sigwait, so nothing runs in a signal
// handler. A signal that was ignored when the program started (a background
// job, nohup) stays ignored, as the shell meant.
class SignalWatcher
{
public:
    // Before any thread is made: threads inherit the mask of their maker, so
    // a thread made earlier could still be killed by the signal.
    static void blockStopSignals();

    explicit SignalWatcher(RunRegistry &registry);
    ~SignalWatcher();
    SignalWatcher(const SignalWatcher &) = delete;
    SignalWatcher &operator=(const SignalWatcher &) = delete;

    // From now on a stop signal ends the process with 128 + its number.
    void endProcessOnSignal() { m_endProcess.store(true); }
    // From now on a stop signal stops the runs, as at the start.
    void stopRunsOnSignal() { m_endProcess.store(false); }
    // While held, a stop signal that would end the process waits instead, so
    // that a change being committed is told as done; release() gives the
    // signal that came meanwhile (0 for none) and lets the next one end it.
    void hold();
    int release();

private:
    void watch();

    RunRegistry &m_registry;
    sigset_t m_signals;
    std::atomic<bool> m_quitting { false };
    std::atomic<bool> m_endProcess { false };
    std::mutex m_holding;
    bool m_held = false;
    int m_heldSignal = 0;
    std::thread m_thread;
};

} // namespace kamorin
