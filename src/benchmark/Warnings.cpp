#include "benchmark/Warnings.h"

#include "benchmark/ParallelRun.h"
#include "benchmark/Statistics.h"
#include "benchmark/SystemInfo.h"
#include "runtime/Format.h"

namespace kamorin {

QStringList machineWarnings(const SystemInfo &system)
{
    static const FormatPattern twoDecimals = FormatPattern::parse(u"##0.00");
    QStringList warnings;
    if (system.loadAverage && system.logicalCpus > 0
        && (*system.loadAverage)[0] > kBusyLoadPerCpu * system.logicalCpus)
        warnings << QStringLiteral(
                            "計測前の 1 分間の平均負荷が %1 で、論理 CPU %2 個に対して高すぎます"
                            "（1 個あたり %3 まで）。ほかの処理が計測を遅らせるおそれがあります。")
                            .arg(twoDecimals.apply((*system.loadAverage)[0]))
                            .arg(system.logicalCpus)
                            .arg(twoDecimals.apply(kBusyLoadPerCpu));
    if (system.governor == QStringLiteral("powersave"))
        warnings << QStringLiteral("CPU 周波数のガバナーが powersave です。"
                                   "CPU が本来の速さで動かず、結果が遅く出るおそれがあります。");
    return warnings;
}

QStringList spreadWarnings(const std::optional<Statistics> &statistics)
{
    static const FormatPattern oneDecimal = FormatPattern::parse(u"##0.0");
    QStringList warnings;
    if (!statistics)
        return warnings;
    const std::optional<double> spread = statistics->relativeStddev();
    if (spread && *spread > kNoisyRelativeStddev)
        warnings << QStringLiteral("計測のばらつきが大きすぎます（相対標準偏差 %1 %、%2 % まで）。"
                                   "ほかの処理を止めるか、--runs を増やしてください。")
                            .arg(oneDecimal.apply(*spread * 100))
                            .arg(oneDecimal.apply(kNoisyRelativeStddev * 100));
    return warnings;
}

QStringList parallelWarnings(const ParallelResult &parallel)
{
    static const FormatPattern twoDecimals = FormatPattern::parse(u"##0.00");
    QStringList warnings;
    if (speedupAboveThreads(parallel))
        warnings << QStringLiteral("速度向上率 %1 倍がスレッド数 %2 を超えています。"
                                   "1 スレッドの計測がほかの処理に乱されて遅くなったと考えられ、"
                                   "速度向上率は当てになりません。")
                            .arg(twoDecimals.apply(*parallel.speedup))
                            .arg(parallel.threads);
    return warnings;
}

} // namespace kamorin
