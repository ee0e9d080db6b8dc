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
    std::vector<Warning> warnings;
    if (!statistics)
        return warnings;
    const std::optional<double> spread = statistics->relativeStddev();
    if (spread && *spread > kNoisyRelativeStddev)
        warnings.push_back(NoisyRuns { *spread, kNoisyRelativeStddev });
    return warnings;
}

std::vector<Warning> parallelWarnings(const ParallelResult &parallel)
{
    std::vector<Warning> warnings;
    if (speedupAboveThreads(parallel))
        warnings.push_back(SpeedupAboveThreads { *parallel.speedup, parallel.threads });
    return warnings;
}

} // namespace kamorin
