#include "cli/SignalWatcher.h"

#include "benchmark/RunRegistry.h"

#include <pthread.h>
#include <signal.h>

namespace kamorin {

namespace {

sigset_t stopSignals()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

} // namespace

void SignalWatcher::blockStopSignals()
{
    const sigset_t set = stopSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

SignalWatcher::SignalWatcher(RunRegistry &registry)
    : m_registry(registry), m_thread([this] { watch(); })
{ }

SignalWatcher::~SignalWatcher()
{
    // The watcher sleeps in sigwait; a signal sent to that thread alone is
    // what wakes it, and the flag tells it that this one is not the user's.
    m_quitting.store(true);
    pthread_kill(m_thread.native_handle(), SIGTERM);
    m_thread.join();
}

void SignalWatcher::watch()
{
    const sigset_t set = stopSignals();
    for (;;) {
        int signalNumber = 0;
        if (sigwait(&set, &signalNumber) != 0)
            continue;
        if (m_quitting.load())
            return;
        m_registry.requestStop(signalNumber);
    }
}

} // namespace kamorin
