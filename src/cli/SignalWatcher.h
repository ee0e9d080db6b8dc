#pragma once

#include <atomic>
#include <thread>

namespace kamorin {

class RunRegistry;

// SIGINT and SIGTERM end a run instead of the process: the loop stops at its
// next pass and the program says so and exits with 128 + the signal number.
// The signals are blocked in every thread and taken by one watcher thread
// with sigwait, so nothing runs in a signal handler.
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

private:
    void watch();

    RunRegistry &m_registry;
    std::atomic<bool> m_quitting { false };
    std::thread m_thread;
};

} // namespace kamorin
