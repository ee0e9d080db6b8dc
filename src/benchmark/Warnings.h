#pragma once

#include "benchmark/Warning.h"

#include <optional>
#include <vector>

namespace kamorin {

struct ParallelResult;
struct Statistics;
struct SystemInfo;

// Above this many threads of other processes runnable per logical CPU, other
// work competes with the runs.
inline constexpr double kBusyLoadPerCpu = 0.3;
// Above this relative standard deviation, the runs disagree too much to trust.
inline constexpr double kNoisyRelativeStddev = 0.05;

// Why the figures may mislead: a machine busy with other processes'
// `othersRunnable` threads, a powersave governor (both known before the first
// run), runs that disagree.
std::vector<Warning> machineWarnings(const SystemInfo &system,
                                     std::optional<double> othersRunnable);
std::vector<Warning> spreadWarnings(const std::optional<Statistics> &statistics);
// Whether the `cpus` this process may use, less the threads other processes
// kept runnable, leave fewer CPUs than `threads`: then copies shared a CPU and
// the speed-up says less about the machine than about the others' load.
bool parallelCrowded(int threads, int cpus, std::optional<double> othersRunnable);

// A speed-up above the thread count; parallel runs crowded by the others'
// `othersRunnable` threads on the `cpus` this process may use.
std::vector<Warning> parallelWarnings(const ParallelResult &parallel,
                                      std::optional<double> othersRunnable, int cpus);

} // namespace kamorin
