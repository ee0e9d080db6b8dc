#pragma once

#include <variant>

namespace kamorin {

// Why the figures may mislead, as kinds with their figures: the engine finds
// them, the fronts word them and the store keeps them as they are.

// The 1-minute load before the first run, above its limit for this machine.
// No longer found, since the average holds this program's own earlier runs;
// kept for the results that carry it.
struct BusyMachine
{
    double load = 0;
    int logicalCpus = 0;
    double limitPerCpu = 0;
};

// Threads of other processes that were runnable right before the first run
// (a median of a few readings), above the limit for this machine.
struct OthersBusy
{
    double runnable = 0;
    int logicalCpus = 0;
    double limitPerCpu = 0;
};

// The CPU frequency governor is powersave.
struct PowersaveGovernor
{ };

// The recorded runs disagree: their relative standard deviation and its limit.
struct NoisyRuns
{
    double relativeStddev = 0;
    double limit = 0;
};

// The parallel speed-up is above the thread count.
struct SpeedupAboveThreads
{
    double speedup = 0;
    int threads = 0;
};

// Other processes kept so many threads runnable around the parallel runs that
// fewer CPUs than threads were left to them, so the copies shared CPUs.
struct ParallelCrowded
{
    // Threads of other processes, a median of readings between the repetitions.
    double othersRunnable = 0;
    // The CPUs this process may use.
    int cpus = 0;
    int threads = 0;
};

// The runs were shorter than the minimum time, so a figure drawn from them
// cannot be trusted.
struct RunsTooShort
{
    enum class Figure
    {
        Speedup,
        Rank,
    };
    double minimumSeconds = 0;
    Figure figure = Figure::Rank;
};

// The frequency of the CPU the runs used (cpufreq's scaling_cur_freq) was
// not the same after the runs as before them, beyond the reading's own jitter.
struct FrequencyChanged
{
    int cpu = 0;
    double beforeMhz = 0;
    double afterMhz = 0;
};

// The hypervisor took more of the machine's CPU time during the runs than
// the limit (both as shares: steal time over the CPUs' time).
struct TimeStolen
{
    double share = 0;
    double limit = 0;
};

// More threads were runnable than there are logical CPUs, before or after
// the runs, so some waited for a CPU.
struct CrowdedCpus
{
    int runnable = 0;
    int logicalCpus = 0;
};

using Warning
        = std::variant<BusyMachine, PowersaveGovernor, NoisyRuns, SpeedupAboveThreads, RunsTooShort,
                       FrequencyChanged, TimeStolen, CrowdedCpus, OthersBusy, ParallelCrowded>;

// When a front tells a warning on stderr, beside the results it writes.
enum class Told
{
    // Before the first run, known from the machine; not with --json, whose
    // object carries it.
    BeforeRuns,
    // After the runs; not with --json.
    AfterRuns,
    // After the runs, with --json too: a script that reads only the figures
    // must still learn that they mean little.
    AfterRunsAlways,
    // In the results only.
    InResultsOnly,
};

// One line a kind: a kind without one does not compile where it is told.
constexpr Told toldOf(const BusyMachine &)
{
    return Told::BeforeRuns;
}
constexpr Told toldOf(const OthersBusy &)
{
    return Told::BeforeRuns;
}
constexpr Told toldOf(const PowersaveGovernor &)
{
    return Told::BeforeRuns;
}
constexpr Told toldOf(const NoisyRuns &)
{
    return Told::AfterRuns;
}
constexpr Told toldOf(const SpeedupAboveThreads &)
{
    return Told::InResultsOnly;
}
constexpr Told toldOf(const ParallelCrowded &)
{
    return Told::AfterRunsAlways;
}
constexpr Told toldOf(const RunsTooShort &)
{
    return Told::AfterRunsAlways;
}
constexpr Told toldOf(const FrequencyChanged &)
{
    return Told::AfterRuns;
}
constexpr Told toldOf(const TimeStolen &)
{
    return Told::AfterRuns;
}
constexpr Told toldOf(const CrowdedCpus &)
{
    return Told::AfterRuns;
}

inline Told toldOf(const Warning &warning)
{
    return std::visit([](const auto &kind) { return toldOf(kind); }, warning);
}

} // namespace kamorin
