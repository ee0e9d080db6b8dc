#include "benchmark/Steadiness.h"

#include "benchmark/Statistics.h"
#include "benchmark/SystemInfo.h"
#include "runtime/Clock.h"

#include <QDir>
#include <QList>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <thread>
#include <unistd.h>

namespace kamorin {

namespace {

template<typename Number>
std::optional<Number> numberFrom(const QByteArray &text)
{
    Number value {};
    const char *end = text.constData() + text.size();
    const auto [ptr, ec] = std::from_chars(text.constData(), end, value);
    if (ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

// The line of /proc/stat that starts with `key`, split into its fields.
QList<QByteArray> statFields(const QByteArray &stat, const QByteArray &key)
{
    for (const QByteArray &line : stat.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (!fields.isEmpty() && fields.front() == key)
            return fields;
    }
    return {};
}

// "cpu user nice system idle iowait irq softirq steal …", in clock ticks.
std::optional<double> stolenSecondsFrom(const QByteArray &stat)
{
    constexpr qsizetype kSteal = 8;
    const QList<QByteArray> fields = statFields(stat, "cpu");
    const long ticksPerSecond = sysconf(_SC_CLK_TCK);
    if (fields.size() <= kSteal || ticksPerSecond <= 0)
        return std::nullopt;
    const auto ticks = numberFrom<unsigned long long>(fields[kSteal]);
    if (!ticks)
        return std::nullopt;
    return double(*ticks) / double(ticksPerSecond);
}

std::optional<int> runnableFrom(const QByteArray &stat)
{
    const QList<QByteArray> fields = statFields(stat, "procs_running");
    return fields.size() == 2 ? numberFrom<int>(fields[1]) : std::nullopt;
}

} // namespace

bool runnableThread(const QByteArray &taskStat)
{
    const qsizetype close = taskStat.lastIndexOf(')');
    if (close < 0)
        return false;
    const QByteArray rest = taskStat.mid(close + 1).trimmed();
    return rest.startsWith('R') && (rest.size() == 1 || rest[1] == ' ');
}

std::optional<int> othersRunnableFrom(const QByteArray &procStat,
                                      const std::vector<QByteArray> &ownTaskStats)
{
    const std::optional<int> all = runnableFrom(procStat);
    if (!all)
        return std::nullopt;
    const auto own = std::count_if(ownTaskStats.begin(), ownTaskStats.end(), runnableThread);
    // The two are read a moment apart: a thread of ours may have woken between.
    return std::max(0, *all - static_cast<int>(own));
}

std::optional<int> readOthersRunnable(const QString &root)
{
    const QString base = root.endsWith(u'/') ? root : root + u'/';
    const QDir tasks(base + QStringLiteral("proc/self/task"));
    std::vector<QByteArray> own;
    for (const QString &task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        if (const auto line = readSystemFile(tasks.filePath(task + QStringLiteral("/stat"))))
            own.push_back(*line);
    const auto stat = readSystemFile(base + QStringLiteral("proc/stat"));
    // Without our own threads, every runnable thread would count as another's.
    if (!stat || own.empty())
        return std::nullopt;
    return othersRunnableFrom(*stat, own);
}

std::optional<double> medianReading(const std::vector<std::optional<int>> &readings)
{
    std::vector<double> taken;
    for (const std::optional<int> &reading : readings)
        if (reading)
            taken.push_back(*reading);
    const std::optional<Statistics> statistics = statisticsOf(taken);
    return statistics ? std::optional(statistics->median) : std::nullopt;
}

std::optional<double> othersRunnableNow(const QString &root, int readings)
{
    std::vector<std::optional<int>> taken;
    for (int i = 0; i < readings; ++i) {
        if (i > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        taken.push_back(readOthersRunnable(root));
    }
    return medianReading(taken);
}

MachineSample sampleMachine(const QString &root, int cpu)
{
    const QString base = root.endsWith(u'/') ? root : root + u'/';
    MachineSample sample;
    sample.seconds = monotonicSeconds();
    if (const auto stat = readSystemFile(base + QStringLiteral("proc/stat"))) {
        sample.stolenSeconds = stolenSecondsFrom(*stat);
        sample.runnable = runnableFrom(*stat);
    }
    if (cpu >= 0) {
        const QString path = base
                + QStringLiteral("sys/devices/system/cpu/cpu%1/cpufreq/scaling_cur_freq").arg(cpu);
        if (const auto khz = readSystemFile(path))
            if (const auto value = numberFrom<double>(khz->trimmed()); value && *value > 0)
                sample.frequencyMhz = *value / 1000;
    }
    return sample;
}

std::vector<Warning> steadinessWarnings(const MachineSample &before, const MachineSample &after,
                                        int logicalCpus, int cpu)
{
    std::vector<Warning> warnings;
    if (before.frequencyMhz && after.frequencyMhz) {
        const double larger = std::max(*before.frequencyMhz, *after.frequencyMhz);
        if (std::abs(*after.frequencyMhz - *before.frequencyMhz) > kFrequencyChangeLimit * larger)
            warnings.push_back(FrequencyChanged { cpu, *before.frequencyMhz, *after.frequencyMhz });
    }
    const double cpuSeconds = (after.seconds - before.seconds) * logicalCpus;
    if (before.stolenSeconds && after.stolenSeconds && cpuSeconds > 0) {
        const double share = (*after.stolenSeconds - *before.stolenSeconds) / cpuSeconds;
        if (share > kStolenShareLimit)
            warnings.push_back(TimeStolen { share, kStolenShareLimit });
    }
    const int runnable = std::max(before.runnable.value_or(0), after.runnable.value_or(0));
    if (logicalCpus > 0 && runnable > logicalCpus)
        warnings.push_back(CrowdedCpus { runnable, logicalCpus });
    return warnings;
}

} // namespace kamorin
