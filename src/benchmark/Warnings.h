#pragma once

#include "benchmark/Warning.h"

#include <optional>
#include <vector>

namespace kamorin {

struct ParallelResult;
struct Statistics;
struct SystemInfo;

// Above this 1-minute load per logical CPU, other work competes with the runs.
inline constexpr double kBusyLoadPerCpu = 0.3;
// Above this relative standard deviation, the runs disagree too much to trust.
inline constexpr double kNoisyRelativeStddev = 0.05;

// Why the figures may mislead: a busy machine, a powersave governor (both
// known before the first run), runs that disagree.
std::vector<Warning> machineWarnings(const SystemInfo &system);
std::vector<Warning> spreadWarnings(const std::optional<Statistics> &statistics);
// A speed-up above the thread count.
std::vector<Warning> parallelWarnings(const ParallelResult &parallel);

} // namespace kamorin
