#include "benchmark/Warnings.h"

#include "benchmark/ParallelRun.h"
#include "benchmark/Statistics.h"
#include "benchmark/SystemInfo.h"

namespace kamorin {

std::vector<Warning> machineWarnings(const SystemInfo &system, std::optional<double> othersRunnable)
{
    std::vector<Warning> warnings;
    if (othersRunnable && system.logicalCpus > 0
        && *othersRunnable > kBusyLoadPerCpu * system.logicalCpus)
        warnings.push_back(OthersBusy { *othersRunnable, system.logicalCpus, kBusyLoadPerCpu });
    if (system.governor == QStringLiteral("powersave"))
        warnings.push_back(PowersaveGovernor {});
    return warnings;
}

std::vector<Warning> spreadWarnings(const std::optional<Statistics> &statistics)
{
    if (!statistics)
        return {};
    const std::optional<double> spread = statistics->relativeStddev();
    if (spread && *spread > kNoisyRelativeStddev)
        return { NoisyRuns { *spread, kNoisyRelativeStddev } };
    return {};
}

bool parallelCrowded(int threads, int cpus, std::optional<double> othersRunnable)
{
    return othersRunnable && cpus > 0 && cpus - *othersRunnable < threads;
}

std::vector<Warning> parallelWarnings(const ParallelResult &parallel,
                                      std::optional<double> othersRunnable, int cpus)
{
    std::vector<Warning> warnings;
    if (speedupAboveThreads(parallel))
        warnings.push_back(SpeedupAboveThreads { *parallel.speedup, parallel.threads });
    if (parallelCrowded(parallel.threads, cpus, othersRunnable))
        warnings.push_back(ParallelCrowded { *othersRunnable, cpus, parallel.threads });
    return warnings;
}

} // namespace kamorin
