#pragma once

#include <functional>
#include <mutex>
#include <vector>

namespace kamorin {

class LoopProgress;

// What the loops running now are for, as a progress line names them.
enum class RunPhase
{
    None,
    // Calibration: --count auto, or the hint after a short run.
    ChoosingCount,
    // Press `number` of `count` warm-ups or recorded runs.
    Warmup,
    Recorded,
    // `number` copies at once.
    Parallel,
};

// The series loops running right now, on whatever threads, and whether the
// user has asked them all to stop. A stop is remembered: a loop that starts
// afterwards starts stopped, so no run can slip past a Ctrl-C.
class RunRegistry
{
public:
    // What a progress line shows: the loops running now, taken together.
    struct Snapshot
    {
        bool running = false;
        double passesDone = 0;
        double totalPasses = 0;
        double elapsedSeconds = 0;
        RunPhase phase = RunPhase::None;
        int number = 0;
        int count = 0;
    };

    void add(LoopProgress &progress);
    void remove(LoopProgress &progress);

    // From the signal watcher: the first signal is the one the exit status tells.
    void requestStop(int signalNumber);
    // 0 while no stop was asked for.
    int stopSignal() const;

    // What the loops that follow are for.
    void setPhase(RunPhase phase, int number = 0, int count = 0);

    // Runs `look` on the current state with the lock held, so that a line is
    // never drawn across the start or the end of a loop.
    void withSnapshot(const std::function<void(const Snapshot &)> &look) const;
    // Called with the lock held whenever the last running loop has ended.
    void setIdleHook(std::function<void()> hook);

    // Keeps `progress` registered for as long as it lives.
    class Registration
    {
    public:
        Registration(RunRegistry &registry, LoopProgress &progress);
        ~Registration();
        Registration(const Registration &) = delete;
        Registration &operator=(const Registration &) = delete;

    private:
        RunRegistry &m_registry;
        LoopProgress &m_progress;
    };

private:
    mutable std::mutex m_mutex;
    std::vector<LoopProgress *> m_running;
    int m_stopSignal = 0;
    double m_startedAt = 0;
    RunPhase m_phase = RunPhase::None;
    int m_number = 0;
    int m_count = 0;
    std::function<void()> m_idleHook;
};

} // namespace kamorin
