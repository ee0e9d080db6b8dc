#include "results/SavedRun.h"

#include "results/ResultsError.h"

#include <QJsonArray>
#include <QSysInfo>

#include <algorithm>

namespace kamorin {

namespace {

QJsonValue intOrNull(const std::optional<int> &value)
{
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

QJsonValue numberOrNull(const std::optional<double> &value)
{
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

QJsonObject optionsOf(const BenchmarkSettings &s)
{
    return {
        { QStringLiteral("count_auto"), s.countChosen },
        { QStringLiteral("warmup"), s.warmup },
        { QStringLiteral("runs"), s.runs },
        { QStringLiteral("cpu"), intOrNull(s.cpu) },
        { QStringLiteral("threads"), intOrNull(s.threads) },
        { QStringLiteral("min_time"), s.minimumSeconds },
    };
}

QJsonObject systemOf(const BenchmarkResult &result)
{
    const SystemInfo &system = result.system;
    QJsonValue load(QJsonValue::Null);
    if (system.loadAverage)
        load = QJsonArray { (*system.loadAverage)[0], (*system.loadAverage)[1],
                            (*system.loadAverage)[2] };
    return {
        { QStringLiteral("cpu_model"), system.cpuModel },
        { QStringLiteral("logical_cpus"), system.logicalCpus },
        { QStringLiteral("kernel"), system.kernel },
        { QStringLiteral("governor"),
          system.governor ? QJsonValue(*system.governor) : QJsonValue(QJsonValue::Null) },
        { QStringLiteral("load_average"), load },
    };
}

QJsonObject parallelOf(const ParallelResult &parallel)
{
    QJsonArray seconds;
    for (const double s : parallel.seconds)
        seconds.append(s);
    return {
        { QStringLiteral("threads"), parallel.threads },
        { QStringLiteral("values"), QJsonArray::fromStringList(parallel.values) },
        { QStringLiteral("values_agree"), parallel.valuesAgree },
        { QStringLiteral("seconds"), seconds },
        { QStringLiteral("passes_per_second"), numberOrNull(parallel.passesPerSecond) },
        { QStringLiteral("single_passes_per_second"),
          numberOrNull(parallel.singlePassesPerSecond) },
        { QStringLiteral("speedup"), numberOrNull(parallel.speedup) },
        { QStringLiteral("speedup_min"), numberOrNull(parallel.speedupMin) },
        { QStringLiteral("speedup_max"), numberOrNull(parallel.speedupMax) },
        { QStringLiteral("reliable"), parallel.reliable },
    };
}

} // namespace

SavedResult savedResultOf(const BenchmarkResult &result, const QString &label,
                          const QString &programVersion)
{
    // A run of no pass has no speed: a comparison or a rank could only divide by it.
    if (result.runs.empty()
        || std::any_of(result.runs.begin(), result.runs.end(), [](const RecordedRun &run) {
               return !(run.passes > 0) || !(run.seconds > 0);
           }))
        throw ResultsError(QStringLiteral("ループを 1 回以上実行した計測でないと保存できません。"),
                           ResultsError::Kind::Document);
    SavedResult saved;
    saved.id = newResultId();
    saved.started = result.started.toUTC();
    saved.label = label;
    saved.programVersion = programVersion;
    saved.cpuModel = result.system.cpuModel;
    saved.host = QSysInfo::machineHostName();
    saved.passes = result.runs.back().passes;
    saved.count = result.settings.count;
    saved.unit = result.settings.unit;
    saved.options = optionsOf(result.settings);
    for (const RecordedRun &run : result.runs)
        saved.runs.push_back(run.seconds);
    if (result.parallel)
        saved.parallel = parallelOf(*result.parallel);
    saved.system = systemOf(result);
    return saved;
}

} // namespace kamorin
