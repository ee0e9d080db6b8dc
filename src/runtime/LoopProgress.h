#pragma once

#include <atomic>

namespace kamorin {

// What a long loop shares with whoever watches it from another thread: how
// many passes it has made, and whether it is to stop. The loop pays one
// relaxed store and one relaxed load per pass for this and nothing more; a
// watcher reads a recent count, never a torn one.
class LoopProgress
{
public:
    // Before the first pass, by the loop: how many passes it will make.
    void begin(double totalPasses) noexcept
    {
        m_total.store(totalPasses, std::memory_order_relaxed);
    }
    // After each pass, by the loop.
    void reached(double passesDone) noexcept
    {
        m_done.store(passesDone, std::memory_order_relaxed);
    }
    bool stopRequested() const noexcept { return m_stop.load(std::memory_order_relaxed); }
    // How the loop ends once a stop is requested: the cancelled error.
    [[noreturn, gnu::cold]] static void raiseCancelled();

    // From any thread.
    void requestStop() noexcept { m_stop.store(true, std::memory_order_relaxed); }
    double passesDone() const noexcept { return m_done.load(std::memory_order_relaxed); }
    double totalPasses() const noexcept { return m_total.load(std::memory_order_relaxed); }
    // 0 … 1; 0 until the loop has begun.
    double fractionDone() const noexcept;

private:
    std::atomic<double> m_done { 0 };
    std::atomic<double> m_total { 0 };
    std::atomic<bool> m_stop { false };
};

// What can be said of the time a loop still needs, at its rate so far, as
// the window and kamorin-cli both tell it.
struct RemainingTime
{
    enum class Kind
    {
        NotYet,        // no pass counted yet: no rate to go by
        Estimate,      // `seconds` left
        BeyondEstimate // past a billion seconds (some 31 years), where a
                       // figure would only be noise
    };
    Kind kind = Kind::NotYet;
    double seconds = 0;
};

RemainingTime remainingTime(double fraction, double elapsedSeconds) noexcept;

// A time told to the whole second, in the parts the window and kamorin-cli
// both say it in ("1時間2分5秒"). A billion seconds at most: beyond, a figure
// would only be noise.
struct DurationParts
{
    long long hours = 0;
    int minutes = 0;
    int seconds = 0;
};

DurationParts durationParts(double seconds) noexcept;

static_assert(std::atomic<double>::is_always_lock_free && std::atomic<bool>::is_always_lock_free,
              "a pass must not take a lock");

} // namespace kamorin
