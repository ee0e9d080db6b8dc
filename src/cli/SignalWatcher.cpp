#include "cli/SignalWatcher.h"

#include "benchmark/RunRegistry.h"
#include "output/StopLeftovers.h"

#include <pthread.h>
#include <unistd.h>
#include <utility>

namespace kamorin {

namespace {

// The stop signals the user can still send: those not ignored at start.
sigset_t stopSignals()
{
    sigset_t set;
    sigemptyset(&set);
    for (const int signalNumber : { SIGINT, SIGTERM }) {
        struct sigaction action
        { };
        if (sigaction(signalNumber, nullptr, &action) == 0 && action.sa_handler == SIG_IGN)
            continue;
        sigaddset(&set, signalNumber);
    }
    return set;
}

// A member of the set to wake the watcher with; 0 for an empty set.
int memberOf(const sigset_t &set)
{
    for (const int signalNumber : { SIGTERM, SIGINT })
        if (sigismember(&set, signalNumber) == 1)
            return signalNumber;
    return 0;
}

} // namespace

void SignalWatcher::blockStopSignals()
{
    const sigset_t set = stopSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

SignalWatcher::SignalWatcher(RunRegistry &registry) : m_registry(registry), m_signals(stopSignals())
{
    // With both signals ignored there is nothing to watch.
    if (memberOf(m_signals) != 0)
        m_thread = std::thread([this] { watch(); });
}

SignalWatcher::~SignalWatcher()
{
    if (!m_thread.joinable())
        return;
    // The watcher sleeps in sigwait; a signal sent to that thread alone is
    // what wakes it, and the flag tells it that this one is not the user's.
    m_quitting.store(true);
    pthread_kill(m_thread.native_handle(), memberOf(m_signals));
    m_thread.join();
}

void SignalWatcher::hold()
{
    const std::lock_guard lock(m_holding);
    m_held = true;
}

int SignalWatcher::release()
{
    const std::lock_guard lock(m_holding);
    m_held = false;
    return std::exchange(m_heldSignal, 0);
}

void SignalWatcher::watch()
{
    for (;;) {
        int signalNumber = 0;
        if (sigwait(&m_signals, &signalNumber) != 0)
            continue;
        if (m_quitting.load())
            return;
        if (m_endProcess.load()) {
            // Under the lock, so that hold() never returns while an end is
            // on its way.
            const std::lock_guard lock(m_holding);
            if (m_held) {
                m_heldSignal = signalNumber;
                continue;
            }
            removeWhatAStopLeaves();
            _exit(128 + signalNumber);
        }
        m_registry.requestStop(signalNumber);
    }
}

} // namespace kamorin
