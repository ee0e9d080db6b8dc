#include "benchmark/RunRegistry.h"

#include "runtime/Clock.h"
#include "runtime/LoopProgress.h"

#include <algorithm>
#include <utility>

namespace kamorin {

void RunRegistry::add(LoopProgress &progress)
{
    const std::lock_guard lock(m_mutex);
    if (m_stopSignal != 0)
        progress.requestStop();
    if (m_running.empty())
        m_startedAt = monotonicSeconds();
    m_running.push_back(&progress);
}

void RunRegistry::remove(LoopProgress &progress)
{
    const std::lock_guard lock(m_mutex);
    std::erase(m_running, &progress);
    if (m_running.empty() && m_idleHook)
        m_idleHook();
}

void RunRegistry::requestStop(int signalNumber)
{
    const std::lock_guard lock(m_mutex);
    if (m_stopSignal == 0)
        m_stopSignal = signalNumber;
    for (LoopProgress *progress : m_running)
        progress->requestStop();
}

int RunRegistry::stopSignal() const
{
    const std::lock_guard lock(m_mutex);
    return m_stopSignal;
}

void RunRegistry::setPhase(RunPhase phase, int number, int count)
{
    const std::lock_guard lock(m_mutex);
    m_phase = phase;
    m_number = number;
    m_count = count;
}

void RunRegistry::withSnapshot(const std::function<void(const Snapshot &)> &look) const
{
    const std::lock_guard lock(m_mutex);
    Snapshot snapshot;
    snapshot.running = !m_running.empty();
    snapshot.phase = m_phase;
    snapshot.number = m_number;
    snapshot.count = m_count;
    if (snapshot.running) {
        for (const LoopProgress *progress : m_running) {
            snapshot.passesDone += progress->passesDone();
            snapshot.totalPasses += progress->totalPasses();
        }
        snapshot.elapsedSeconds = monotonicSeconds() - m_startedAt;
    }
    look(snapshot);
}

void RunRegistry::setIdleHook(std::function<void()> hook)
{
    const std::lock_guard lock(m_mutex);
    m_idleHook = std::move(hook);
}

RunRegistry::Registration::Registration(RunRegistry &registry, LoopProgress &progress)
    : m_registry(registry), m_progress(progress)
{
    m_registry.add(m_progress);
}

RunRegistry::Registration::~Registration()
{
    m_registry.remove(m_progress);
}

} // namespace kamorin
