#include "cli/Output.h"

#include "benchmark/BenchmarkResult.h"
#include "benchmark/Statistics.h"
#include "cli/TerminalText.h"
#include "mainwindow/Form1.h"
#include "runtime/Format.h"
#include "runtime/NumberText.h"
#include "scoring/ReferenceMachineTable.h"

#include <array>
#include <charconv>
#include <cmath>

namespace kamorin {

namespace {

QString fixed(double value, int decimals)
{
    std::array<char, 400> buffer {};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                   std::chars_format::fixed, decimals)
                             .ptr;
    return QString::fromLatin1(buffer.data(), end - buffer.data());
}

// Seconds, milliseconds or microseconds, chosen once for a set of times so
// that they read side by side.
struct TimeUnit
{
    double perSecond;
    const char16_t *name;
};

TimeUnit unitFor(double seconds)
{
    if (seconds >= 1)
        return { 1, u"秒" };
    if (seconds >= 1e-3)
        return { 1e3, u"ミリ秒" };
    return { 1e6, u"マイクロ秒" };
}

QString inUnit(double seconds, TimeUnit unit)
{
    return fixed(seconds * unit.perSecond, 3) + u' ' + QString::fromUtf16(unit.name);
}

QString measuredLines(const BenchmarkResult &benchmark)
{
    QString out;
    const auto &runs = benchmark.runs;
    if (runs.empty())
        return out;
    const auto perPass = [](const RecordedRun &run) {
        const auto ns = run.nanosecondsPerPass();
        return ns ? QStringLiteral("（1 ループ %1 ナノ秒）").arg(fixed(*ns, 2)) : QString();
    };
    if (runs.size() == 1) {
        const RecordedRun &run = runs.front();
        out += QStringLiteral("実測時間　　%1%2\n")
                       .arg(inUnit(run.seconds, unitFor(run.seconds)), perPass(run));
        return out;
    }
    const std::vector<double> seconds = benchmark.seconds();
    const Statistics s = *statisticsOf(seconds);
    const TimeUnit unit = unitFor(s.mean);
    out += QStringLiteral("計測回数　　%1 回").arg(runs.size());
    if (benchmark.warmupRuns > 0)
        out += QStringLiteral("（ほかにウォームアップ %1 回）").arg(benchmark.warmupRuns);
    out += u'\n';
    out += QStringLiteral("平均 ± 標準偏差　%1 ± %2\n")
                   .arg(inUnit(s.mean, unit), inUnit(s.stddev, unit));
    RecordedRun median;
    median.seconds = s.median;
    median.passes = runs.back().passes;
    out += QStringLiteral("中央値　　　%1%2\n").arg(inUnit(s.median, unit), perPass(median));
    out += QStringLiteral("最小 … 最大　%1 … %2\n").arg(inUnit(s.min, unit), inUnit(s.max, unit));
    return out;
}

QString parallelLines(const ParallelResult &parallel)
{
    QString out = QStringLiteral("並列計算　　%1 スレッドで同時に計算").arg(parallel.threads);
    out += parallel.valuesAgree ? QStringLiteral("し、計算値はすべて一致")
                                : QStringLiteral("したが、計算値が一致しません");
    if (parallel.passesPerSecond && parallel.singlePassesPerSecond) {
        out += QStringLiteral(
                       "\n　　　　　　マルチコア: 毎秒 %1 ループ（1 スレッド: 毎秒 %2 ループ）")
                       .arg(fixed(*parallel.passesPerSecond, 0),
                            fixed(*parallel.singlePassesPerSecond, 0));
    }
    if (parallel.speedup)
        out += QStringLiteral("\n　　　　　　速度向上 %1 倍").arg(fixed(*parallel.speedup, 2));
    return out + u'\n';
}

} // namespace

QString resultsAsText(const Form1 &form, const QString &report, const BenchmarkResult &benchmark)
{
    QString out;
    out += QStringLiteral("ループ回数　%1\n").arg(escapeControls(form.Combo1.text()));
    out += QStringLiteral("計算値　　　%1\n").arg(form.Text2.text());
    out += QStringLiteral("真値　　　　%1\n").arg(form.Label6.caption().trimmed());
    if (form.Text4.text().isEmpty())
        out += QStringLiteral("小数点以下で一致した桁はありません。\n");
    else
        out += form.Label7.caption() + u' ' + form.Text4.text() + u' ' + form.Label9.caption()
                + u'\n';
    out += QStringLiteral("計算時間　　%1時間%2分%3秒%4\n")
                   .arg(form.Text6.text(), form.Text5.text(), form.Text3.text(), form.Text8.text());
    out += measuredLines(benchmark);
    if (benchmark.parallel)
        out += parallelLines(*benchmark.parallel);
    if (benchmark.rank)
        out += QStringLiteral("順位　　　　%1 台中 %2 位\n")
                       .arg(benchmark.rank->of)
                       .arg(benchmark.rank->position);
    if (form.Command6.enabled())
        out += QStringLiteral("SCORE　　　%1（基準機：%2）\n")
                       .arg(form.Text7.text(), escapeControls(form.Combo3.text()));
    else
        out += QStringLiteral("SCORE には 1 秒以上かかった計算結果が必要です。"
                              "ループ回数を増やしてください（例: --count 9000）。\n");
    QString terminalReport = report;
    terminalReport.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out += u'\n' + escapeControlsKeepingLines(terminalReport) + u'\n';
    if (benchmark.rank)
        out += u'\n' + rankingAsText(*benchmark.rank);
    return out;
}

QString rankingAsText(const Ranking &ranking)
{
    static const FormatPattern twoDecimals = FormatPattern::parse(u"##0.00");
    static const FormatPattern threeDecimals = FormatPattern::parse(u"##0.000");

    const QString placeHeading = QStringLiteral("順位");
    const QString nameHeading = QStringLiteral("名前");
    const QString secondsHeading = QStringLiteral("2000万回の秒数");
    const QString scoreHeading = QStringLiteral("SCORE");

    struct Cells
    {
        QString place, name, seconds, score;
    };
    std::vector<Cells> cells;
    int placeWidth = displayColumns(placeHeading);
    int nameWidth = displayColumns(nameHeading);
    int secondsWidth = displayColumns(secondsHeading);
    int scoreWidth = displayColumns(scoreHeading);
    for (const RankRow &row : ranking.rows) {
        Cells c { QString::number(row.position), row.name, twoDecimals.apply(row.seconds),
                  threeDecimals.apply(row.score) };
        placeWidth = std::max(placeWidth, displayColumns(c.place));
        nameWidth = std::max(nameWidth, displayColumns(c.name));
        secondsWidth = std::max(secondsWidth, displayColumns(c.seconds));
        scoreWidth = std::max(scoreWidth, displayColumns(c.score));
        cells.push_back(std::move(c));
    }

    const auto line = [&](const Cells &c) {
        return padLeft(c.place, placeWidth) + QStringLiteral("  ") + padRight(c.name, nameWidth)
                + QStringLiteral("  ") + padLeft(c.seconds, secondsWidth) + QStringLiteral("  ")
                + padLeft(c.score, scoreWidth) + u'\n';
    };
    QString out = line({ placeHeading, nameHeading, secondsHeading, scoreHeading });
    for (const Cells &c : cells)
        out += line(c);
    return out;
}

QString machineList()
{
    QString out;
    const auto machines = ReferenceMachineTable::entries();
    const QStringList listed = ReferenceMachineTable::listedNames();
    for (qsizetype i = 0; i < listed.size(); ++i)
        out += listed[i] + u'\t' + doubleToText(machines[static_cast<std::size_t>(i)].seconds)
                + u'\n';
    return out;
}

} // namespace kamorin
