#include "formats/WarningText.h"

#include "formats/FigureText.h"
#include "results/JsonWriter.h"
#include "runtime/Format.h"

#include <QCoreApplication>

namespace kamorin {

namespace {

struct Words
{
    Q_DECLARE_TR_FUNCTIONS(WarningText)
};

QString twoDecimals(double value)
{
    static const FormatPattern pattern = FormatPattern::parse(u"##0.00");
    return pattern.apply(value);
}

// A median of thread counts: whole, or a half between two readings.
QString threadsText(double value)
{
    return QString::number(value);
}

QString oneDecimal(double value)
{
    static const FormatPattern pattern = FormatPattern::parse(u"##0.0");
    return pattern.apply(value);
}

// Qt's tr() chooses a sentence's plural form by one count, so a count that
// fills a slot words itself: "1 logical CPU", never "1 logical CPUs".
QString logicalCpusText(int cpus)
{
    return Words::tr("論理 CPU %n 個", nullptr, cpus);
}

QString usableCpusText(int cpus)
{
    return Words::tr("使える CPU %n 個", nullptr, cpus);
}

QString threadCountText(int threads)
{
    return Words::tr("スレッド数 %n", nullptr, threads);
}

struct Wording
{
    QString operator()(const BusyMachine &w) const
    {
        return Words::tr("計測前の 1 分間の平均負荷が %1 で、%2に対して高すぎます"
                         "（1 個あたり %3 まで。この平均にはそれまでの計測も含まれます）。"
                         "ほかの処理が計測を遅らせるおそれがあります。")
                .arg(twoDecimals(w.load), logicalCpusText(w.logicalCpus))
                .arg(twoDecimals(w.limitPerCpu));
    }
    QString operator()(const OthersBusy &w) const
    {
        return Words::tr("計測の直前に、ほかのプロセスの実行できるスレッドが %1 個あり、"
                         "%2に対して多すぎます（1 個あたり %3 まで）。"
                         "ほかの処理が計測を遅らせるおそれがあります。",
                         nullptr, numerusOf(w.runnable))
                .arg(threadsText(w.runnable), logicalCpusText(w.logicalCpus))
                .arg(twoDecimals(w.limitPerCpu));
    }
    QString operator()(const ParallelCrowded &w) const
    {
        return Words::tr("並列計算のあいだ、ほかのプロセスの実行できるスレッドが %1 個あり、"
                         "%2のうち空いていたのは%3 より少なかったため、"
                         "速度向上率は当てになりません。",
                         nullptr, numerusOf(w.othersRunnable))
                .arg(threadsText(w.othersRunnable), usableCpusText(w.cpus),
                     threadCountText(w.threads));
    }
    QString operator()(const PowersaveGovernor &) const
    {
        return Words::tr("CPU 周波数のガバナーが powersave です。"
                         "CPU が本来の速さで動かず、結果が遅く出るおそれがあります。");
    }
    QString operator()(const NoisyRuns &w) const
    {
        return Words::tr("計測のばらつきが大きすぎます（相対標準偏差 %1 %、%2 % まで）。"
                         "ほかの処理を止めるか、--runs を増やしてください。")
                .arg(oneDecimal(w.relativeStddev * 100))
                .arg(oneDecimal(w.limit * 100));
    }
    QString operator()(const SpeedupAboveThreads &w) const
    {
        return Words::tr("速度向上率 %1 倍がスレッド数 %2 を超えています。"
                         "1 スレッドの計測がほかの処理に乱されて遅くなったと考えられ、"
                         "速度向上率は当てになりません。")
                .arg(twoDecimals(w.speedup))
                .arg(w.threads);
    }
    QString operator()(const FrequencyChanged &w) const
    {
        return Words::tr("計測中に CPU %1 の周波数が %2 MHz から %3 MHz に変わりました。"
                         "結果は CPU 本来の速さを表していないおそれがあります。")
                .arg(w.cpu)
                .arg(qRound64(w.beforeMhz))
                .arg(qRound64(w.afterMhz));
    }
    QString operator()(const TimeStolen &w) const
    {
        return Words::tr("計測中にハイパーバイザーが CPU 時間の %1 % を奪いました（%2 % まで）。"
                         "仮想マシンのほかの利用者が計測を遅らせたおそれがあります。")
                .arg(oneDecimal(w.share * 100))
                .arg(oneDecimal(w.limit * 100));
    }
    QString operator()(const CrowdedCpus &w) const
    {
        return Words::tr("計測の前後に実行できるスレッドが %1 個（この計測を含む）あり、"
                         "%2を超えていました。"
                         "CPU を待った処理が計測を遅らせたおそれがあります。")
                .arg(QString::number(w.runnable), logicalCpusText(w.logicalCpus));
    }
    QString operator()(const RunsTooShort &w) const
    {
        const QString what = w.figure == RunsTooShort::Figure::Speedup ? Words::tr("速度向上率")
                                                                       : Words::tr("順位");
        return Words::tr("計測が %1 秒より短いため、%2は当てになりません"
                         "（--count auto か --min-time を使ってください）。")
                .arg(shortestNumberText(w.minimumSeconds), what);
    }
};

} // namespace

QString warningText(const Warning &warning)
{
    return std::visit(Wording {}, warning);
}

QStringList warningTextsTold(Told told, const std::vector<Warning> &warnings)
{
    QStringList texts;
    for (const Warning &warning : warnings)
        if (toldOf(warning) == told)
            texts << warningText(warning);
    return texts;
}

QString warningText(const KeptWarning &warning)
{
    if (const auto *kind = std::get_if<Warning>(&warning))
        return warningText(*kind);
    return std::get<WordedWarning>(warning).text;
}

} // namespace kamorin
