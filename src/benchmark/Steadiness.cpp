#include "benchmark/Steadiness.h"

#include "benchmark/SystemInfo.h"
#include "runtime/Clock.h"

#include <QList>

#include <algorithm>
#include <charconv>
#include <cmath>
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
