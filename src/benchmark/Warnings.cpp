#include "benchmark/Warnings.h"

#include "benchmark/ParallelRun.h"
#include "benchmark/Statistics.h"
#include "benchmark/SystemInfo.h"

namespace kamorin {

std::vector<Warning> machineWarnings(const SystemInfo &system)
{
    std::vector<Warning> warnings;
    if (system.loadAverage && system.logicalCpus > 0
        && (*system.loadAverage)[0] > kBusyLoadPerCpu * system.logicalCpus)
        warnings.push_back(
                BusyMachine { (*system.loadAverage)[0], system.logicalCpus, kBusyLoadPerCpu });
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

std::vector<Warning> parallelWarnings(const ParallelResult &parallel)
{
    if (speedupAboveThreads(parallel))
        return { SpeedupAboveThreads { *parallel.speedup, parallel.threads } };
    return {};
}

} // namespace kamorin
