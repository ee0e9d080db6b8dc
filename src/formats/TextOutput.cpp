#include "formats/TextOutput.h"

#include "benchmark/ParallelRun.h"
#include "formats/FigureText.h"
#include "formats/Format.h"
#include "formats/TerminalText.h"
#include "runtime/AppVersion.h"
#include "runtime/NumberText.h"
#include "scoring/Command6_Click.h"
#include "scoring/ReferenceMachineTable.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace kamorin {

namespace {

struct Words
{
    Q_DECLARE_TR_FUNCTIONS(TextOutput)
};

// Seconds, milliseconds or microseconds, chosen once for a set of times so
// that they read side by side.
struct TimeUnit
{
    double perSecond;
    const char *name;
};

TimeUnit unitFor(double seconds)
{
    if (seconds >= 1)
        return { 1, QT_TRANSLATE_NOOP("TextOutput", "秒") };
    if (seconds >= 1e-3)
        return { 1e3, QT_TRANSLATE_NOOP("TextOutput", "ミリ秒") };
    return { 1e6, QT_TRANSLATE_NOOP("TextOutput", "マイクロ秒") };
}

QString inUnit(double seconds, TimeUnit unit)
{
    return fixedText(seconds * unit.perSecond, 3) + u' ' + Words::tr(unit.name);
}

using Lines = LabelledLines;

void addMeasuredLines(Lines &lines, const BenchmarkResult &benchmark)
{
    const auto &runs = benchmark.runs;
    if (benchmark.warmupRuns > 0)
        lines.push_back({ Words::tr("ウォームアップ"),
                          Words::tr("%n 回（記録せず）", nullptr, benchmark.warmupRuns) });
    if (runs.empty())
        return;
    const auto perPass = [](const RecordedRun &run) {
        const auto ns = run.nanosecondsPerPass();
        return ns ? Words::tr("（1 ループ %1 ナノ秒）").arg(fixedText(*ns, 2)) : QString();
    };
    if (runs.size() == 1) {
        const RecordedRun &run = runs.front();
        lines.push_back({ Words::tr("実測時間"),
                          inUnit(run.seconds, unitFor(run.seconds)) + perPass(run) });
        return;
    }
    const Statistics s = *benchmark.statistics();
    const TimeUnit unit = unitFor(s.mean);
    lines.push_back({ Words::tr("計測回数"), Words::tr("%1 回").arg(runs.size()) });
    lines.push_back({ Words::tr("平均 ± 標準偏差"),
                      inUnit(s.mean, unit) + QStringLiteral(" ± ") + inUnit(s.stddev, unit) });
    RecordedRun median;
    median.seconds = s.median;
    median.passes = runs.back().passes;
    lines.push_back({ Words::tr("中央値"), inUnit(s.median, unit) + perPass(median) });
    lines.push_back({ Words::tr("最小 … 最大"),
                      inUnit(s.min, unit) + QStringLiteral(" … ") + inUnit(s.max, unit) });
}

void addParallelLines(Lines &lines, const ParallelResult &parallel,
                      const std::vector<Warning> &warnings)
{
    const QString first = parallel.valuesAgree
            ? Words::tr("%n スレッドで同時に計算し、計算値はすべて一致", nullptr, parallel.threads)
            : Words::tr("%n スレッドで同時に計算したが、計算値が一致しません", nullptr,
                        parallel.threads);
    lines.push_back({ Words::tr("並列計算"), first });
    if (parallel.passesPerSecond && parallel.singlePassesPerSecond)
        lines.push_back({ QString(),
                          Words::tr("マルチコア: 毎秒 %1 ループ（1 スレッド: 毎秒 %2 ループ）")
                                  .arg(countText(std::round(*parallel.passesPerSecond)),
                                       countText(std::round(*parallel.singlePassesPerSecond))) });
    if (parallel.speedup) {
        QString speedup = Words::tr("速度向上 %1 倍").arg(fixedText(*parallel.speedup, 2));
        if (parallel.seconds.size() > 1 && parallel.speedupMin && parallel.speedupMax)
            speedup += Words::tr("（%1 回の中央値、%2 … %3 倍）")
                               .arg(QString::number(parallel.seconds.size()),
                                    fixedText(*parallel.speedupMin, 2),
                                    fixedText(*parallel.speedupMax, 2));
        const bool crowded
                = std::any_of(warnings.begin(), warnings.end(), [](const Warning &warning) {
                      return std::holds_alternative<ParallelCrowded>(warning);
                  });
        if (speedupAboveThreads(parallel))
            speedup += Words::tr("（スレッド数を超えており当てになりません）");
        else if (crowded)
            speedup += Words::tr("（ほかの処理で CPU が足りず当てになりません）");
        else if (!parallel.reliable)
            speedup += Words::tr("（計測が短すぎて当てになりません）");
        lines.push_back({ QString(), speedup });
    }
}

} // namespace

LabelledLines summaryLines(const WindowReadings &window, const BenchmarkResult &benchmark)
{
    Lines lines;
    lines.push_back({ Words::tr("ループ回数"), escapeControls(countText(window.loops)) });
    if (benchmark.settings.countChosen)
        lines.push_back({ QString(),
                          Words::tr("（--count auto が選んだ %1 %2）")
                                  .arg(benchmark.settings.count, benchmark.settings.unit) });
    lines.push_back({ Words::tr("計算値"), window.value });
    lines.push_back({ Words::tr("真値"), window.trueValue });
    lines.push_back(
            { Words::tr("一致した桁"),
              window.digits.isEmpty()
                      ? Words::tr("小数点以下で一致した桁はありません")
                      : Words::tr("小数点以下 %1 桁まで一致しました。").arg(window.digits) });
    lines.push_back(
            { Words::tr("計算時間"),
              Words::tr("%1時間%2分%3秒%4")
                      .arg(window.hours, window.minutes, window.seconds, window.hundredths) });
    addMeasuredLines(lines, benchmark);
    if (benchmark.parallel)
        addParallelLines(lines, *benchmark.parallel, benchmark.warnings);
    if (benchmark.rank)
        lines.push_back({ Words::tr("順位"),
                          Words::tr("%1 台中 %2 位")
                                          .arg(QString::number(benchmark.rank->of),
                                               QString::number(benchmark.rank->position))
                                  + (benchmark.rank->reliable
                                             ? QString()
                                             : Words::tr("（計測が短すぎて当てになりません）")) });
    if (const std::optional<SeriesScore> &score = benchmark.score) {
        const QString figure = scoreFigure(score->value);
        const QString machine = escapeControls(score->machine);
        lines.push_back({ QStringLiteral("SCORE"),
                          score->runs > 1
                                  ? Words::tr("%1（基準機：%2、中央値の計測）").arg(figure, machine)
                                  : Words::tr("%1（基準機：%2）").arg(figure, machine) });
    }
    return lines;
}

QString scoreHint(const WindowReadings &window, const std::optional<ChosenCount> &autoCount)
{
    if (window.scored)
        return {};
    const QString hint = Words::tr("SCORE には 1 秒以上かかった計算結果が必要です。");
    if (autoCount)
        return hint
                + Words::tr("ループ回数を増やしてください（--count auto なら、"
                            "ここでは --count %1 --unit %2）。")
                          .arg(autoCount->count, autoCount->unit)
                + u'\n';
    return hint + Words::tr("ループ回数を増やしてください（--count auto）。") + u'\n';
}

QString resultsAsText(const WindowReadings &window, const BenchmarkResult &benchmark,
                      const std::optional<ChosenCount> &autoCount, std::optional<int> columns)
{
    QString out = alignedLines(summaryLines(window, benchmark)) + scoreHint(window, autoCount);
    QString terminalReport = window.report;
    terminalReport.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    // COPY's lines are the window's, of its last run: its SCORE reads the
    // time cut to hundredths, so it may differ from the one above.
    out += u'\n' + Words::tr("最後の計測の COPY:") + u'\n'
            + escapeControlsKeepingLines(terminalReport) + u'\n';
    if (benchmark.rank)
        out += u'\n' + rankingAsText(*benchmark.rank, columns);
    return out;
}

QString rankingAsText(const Ranking &ranking, std::optional<int> columns)
{
    // A saved machine's parts are cut one by one, so that a long model or
    // label never hides the host that tells two nodes apart.
    const auto savedName = [](const SavedMachine &m) {
        return savedMachineText(cutToColumns(escapeControls(m.cpuModel), kCpuColumns),
                                cutToColumns(escapeControls(m.host), kHostColumns),
                                cutToColumns(escapeControls(m.label), kLabelColumns));
    };
    std::vector<QStringList> rows { { Words::tr("順位"), Words::tr("名前"),
                                      Words::tr("2000万回の秒数"), QStringLiteral("SCORE") } };
    for (const RankRow &row : ranking.rows)
        rows.push_back({ QString::number(row.position),
                         row.saved ? savedName(*row.saved) : rankRowName(row),
                         rankSecondsText(row.seconds), row.score.value_or(QString()) });
    // Only the name is cut to fit: the figures are what the table is for.
    if (columns)
        rows = fitToColumns(std::move(rows), { 0, kNarrowestTextColumn, 0, 0 }, *columns);
    return table(rows, { true, false, true, true });
}

QString programVersion()
{
    const auto &v = kAppVersion;
    return QStringLiteral("%1.%2.%3").arg(v.major).arg(v.minor).arg(v.revision);
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

namespace {

// A table in columns by display width: id, start (UTC), label, CPU, host,
// passes, recorded runs, median seconds, score; a long label, CPU or host is
// cut with "…".
QString historyAsText(const HistoryListing &history)
{
    std::vector<QStringList> rows = historyRows(history, Cells::Cut);
    if (history.columns) {
        // The score's heading names the reference machine, which --machine
        // gave; it gives way down to the widest score.
        int widestScore = kNarrowestTextColumn;
        for (std::size_t i = 1; i < rows.size(); ++i)
            widestScore = std::max(widestScore, displayColumns(rows[i].back()));
        // An id keeps the 8 characters that --compare takes as a prefix. The
        // time and the figures stay whole.
        const std::vector<int> narrowest {
            9, 0, kNarrowestTextColumn, kNarrowestTextColumn, kNarrowestTextColumn, 0,
            0, 0, widestScore
        };
        rows = fitToColumns(std::move(rows), narrowest, *history.columns);
    }
    return table(rows, historyColumnsRightAligned());
}

// The two results, the speed ratio, the estimate and its interval, the
// p-value and the verdict.
QString comparisonAsText(const ComparisonListing &l)
{
    return alignedLines(comparisonLines(l));
}

class TextFormat final : public Format
{
public:
    QString run(const RunAnswer &a) const override
    {
        return resultsAsText(a.window, a.benchmark, a.autoCount, a.columns);
    }
    void history(const HistoryListing &listing, const TextSink &write) const override
    {
        write(historyAsText(listing));
    }
    QString comparison(const ComparisonListing &listing) const override
    {
        return comparisonAsText(listing);
    }
};

} // namespace

const Format &textFormat()
{
    static const TextFormat text;
    return text;
}

} // namespace kamorin
