#include "formats/HtmlPage.h"

#include "benchmark/Ranking.h"
#include "formats/FigureText.h"
#include "formats/PageCharts.h"
#include "formats/SvgChart.h"
#include "formats/UiLanguage.h"
#include "formats/VerdictText.h"
#include "formats/WarningText.h"

#include <QCoreApplication>

#include <algorithm>

namespace kamorin {

namespace {

struct Words
{
    Q_DECLARE_TR_FUNCTIONS(HtmlPage)
};

// A page with thousands of saved machines would not print; beyond this many
// rows it shows this machine's neighbours, the first saved machines and an
// even sample of the rest.
constexpr std::size_t kMaxRankRows = 60;
constexpr std::size_t kNeighbours = 15;
// Saved machines shown wherever they rank, before the sample of the rest.
constexpr std::size_t kSavedRows = 15;

const QString kStyle = QStringLiteral(R"(
@page { size: A4; margin: 15mm; }
html { color-scheme: light; }
body { font-family: "Hiragino Sans", "Hiragino Kaku Gothic ProN", "Yu Gothic UI", "Yu Gothic",
       Meiryo, "Noto Sans CJK JP", "Noto Sans JP", "IPAPGothic", "IPAexGothic", sans-serif;
       color: #1a1a1a; background: #fff; max-width: 180mm; margin: 0 auto; padding: 8mm 4mm;
       font-size: 10.5pt; line-height: 1.5; overflow-wrap: anywhere; }
h1 { font-size: 16pt; margin: 0 0 1mm; }
h2 { font-size: 12.5pt; border-bottom: 1px solid #888; margin: 7mm 0 2mm; }
p.note { color: #555; font-size: 9pt; margin: 1mm 0; }
section { break-inside: avoid; }
table.facts { border-collapse: collapse; }
table.facts th { text-align: left; font-weight: normal; color: #555; padding: 0 5mm 0 0;
                 vertical-align: top; white-space: nowrap; }
table.facts td { padding: 0; }
ul.warnings { color: #a02a2a; margin: 1mm 0; }
.verdict { font-size: 13pt; font-weight: bold; }
svg.chart { display: block; width: 100%; height: auto; margin: 2mm 0; }
svg text { font-family: inherit; font-size: 10px; fill: #1a1a1a; }
svg text.tick { fill: #555; font-size: 9px; }
svg .grid { stroke: #ddd; stroke-width: 0.6; }
svg .axis { stroke: #888; stroke-width: 0.8; }
svg .whisker { stroke: #555; stroke-width: 1; }
svg .box { fill: #dbe6f5; stroke: #3b6db3; stroke-width: 1; }
svg .median { stroke: #1d3f73; stroke-width: 2; }
svg .run { fill: #e8590c; fill-opacity: 0.8; }
svg .bar.reference { fill: #b8c0c9; }
svg .bar.saved { fill: #3b7dd8; }
svg .bar.this-machine { fill: #e8590c; }
svg .row.saved text.name, svg .row.this-machine text.name { font-weight: bold; }
svg text.detail { font-size: 9px; fill: #1d3f73; }
svg .trend { fill: none; stroke: #3b7dd8; stroke-width: 1; }
svg .point { fill: #1d3f73; }
svg .range { stroke: #1d3f73; stroke-width: 1; stroke-opacity: 0.5; }
svg .unsaved { fill: #fff; stroke: #e8590c; stroke-width: 2; }
.key span { display: inline-block; width: 3mm; height: 3mm; margin: 0 1mm 0 3mm; vertical-align: -0.4mm; }
)");

QString fact(const QString &name, const QString &value)
{
    return QStringLiteral("<tr><th>%1</th><td>%2</td></tr>\n")
            .arg(escapedText(name), escapedText(value));
}

// A section's start: its id and its heading.
QString sectionStart(const QString &id, const QString &heading)
{
    return QStringLiteral("<section id=\"%1\"><h2>%2</h2>\n").arg(id, escapedText(heading));
}

QString paragraph(const QString &text)
{
    return QStringLiteral("<p>%1</p>\n").arg(escapedText(text));
}

QString note(const QString &text)
{
    return QStringLiteral("<p class=\"note\">%1</p>\n").arg(escapedText(text));
}

// What shaped the runs beyond the count, in words.
QString settingsText(const BenchmarkSettings &s)
{
    return QStringList {
        s.countChosen ? Words::tr("回数は --count auto が選択") : Words::tr("回数は指定どおり"),
        Words::tr("ウォームアップ %n 回", nullptr, s.warmup),
        Words::tr("記録 %n 回", nullptr, s.runs),
        Words::tr("最短時間 %1 秒").arg(QString::number(s.minimumSeconds, 'g', 10)),
        s.cpu ? Words::tr("論理 CPU %1 で実行").arg(*s.cpu) : Words::tr("CPU の指定なし"),
        s.threads ? Words::tr("並列 %n スレッド", nullptr, *s.threads) : Words::tr("並列計算なし")
    }
            .join(Words::tr("、"));
}

QString machineSection(const SavedResult &r)
{
    const SystemInfo &system = r.system;
    QString html = sectionStart(QStringLiteral("machine"), Words::tr("マシンと条件"))
            + QStringLiteral("<table class=\"facts\">\n");
    html += fact(QStringLiteral("CPU"), system.cpuModel);
    html += fact(Words::tr("論理 CPU"), QString::number(system.logicalCpus));
    html += fact(Words::tr("カーネル"), system.kernel);
    html += fact(Words::tr("周波数の制御"), system.governor.value_or(QStringLiteral("—")));
    QStringList loads;
    if (system.loadAverage) {
        for (const double load : *system.loadAverage)
            loads.append(QString::number(load, 'f', 2));
    }
    html += fact(Words::tr("負荷 (1・5・15 分)"),
                 loads.isEmpty() ? QStringLiteral("—") : loads.join(QStringLiteral(" / ")));
    html += fact(Words::tr("ホスト"), r.host);
    html += fact(Words::tr("ラベル"), r.label.isEmpty() ? QStringLiteral("—") : r.label);
    html += fact(Words::tr("開始"), utcNamedText(r.started));
    html += fact(Words::tr("ループ回数"),
                 Words::tr("%1 %2（%3 回）", nullptr, numerusOf(r.passes))
                         .arg(r.settings.count, r.settings.unit, countText(r.passes)));
    html += fact(Words::tr("条件"), settingsText(r.settings));
    html += fact(QStringLiteral("Kamorin"), r.programVersion);
    html += QStringLiteral("</table>\n");
    if (!r.warnings.empty()) {
        html += QStringLiteral("<ul class=\"warnings\">\n");
        for (const KeptWarning &warning : r.warnings)
            html += QStringLiteral("<li>%1</li>\n").arg(escapedText(warningText(warning)));
        html += QStringLiteral("</ul>\n");
    }
    return html + QStringLiteral("</section>\n");
}

QString runsSection(const SavedResult &r)
{
    const Statistics s = r.statistics();
    QString html = sectionStart(QStringLiteral("runs"), Words::tr("記録した実行"));
    html += paragraph(Words::tr("%n 回: 中央値 %1 秒、平均 %2 秒、標準偏差 %3 秒、最小 %4 秒、"
                                "最大 %5 秒",
                                nullptr, int(r.runs.size()))
                              .arg(secondsText(s.median), secondsText(s.mean),
                                   secondsText(s.stddev), secondsText(s.min), secondsText(s.max)));
    const StripGroup group { Words::tr("この実行"), r.seconds() };
    html += stripChart(QStringLiteral("runs-chart"),
                       Words::tr("記録した各実行の秒数（点）と箱ひげ図"), { &group, 1 });
    html += note(Words::tr("点が 1 回の実行、箱が四分位範囲、太線が中央値、"
                           "ひげが最小から最大です。"));
    return html + QStringLiteral("</section>\n");
}

std::vector<PageRankRow> shownRows(std::vector<PageRankRow> rows)
{
    std::stable_sort(rows.begin(), rows.end(), [](const PageRankRow &a, const PageRankRow &b) {
        return a.seconds < b.seconds;
    });
    if (rows.size() <= kMaxRankRows)
        return rows;
    const auto own = std::find_if(rows.begin(), rows.end(),
                                  [](const PageRankRow &row) { return row.thisMachine; });
    const std::size_t centre = own == rows.end() ? 0 : std::size_t(own - rows.begin());
    const std::size_t from = centre > kNeighbours ? centre - kNeighbours : 0;
    const std::size_t to = std::min(rows.size(), centre + kNeighbours + 1);
    std::vector<bool> keep(rows.size(), false);
    std::size_t kept = 0;
    for (std::size_t i = from; i < to; ++i, ++kept)
        keep[i] = true;
    for (std::size_t i = 0, saved = 0; i < rows.size() && saved < kSavedRows; ++i) {
        if (rows[i].saved && !keep[i]) {
            keep[i] = true;
            ++saved;
            ++kept;
        }
    }
    std::vector<std::size_t> rest;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (!keep[i])
            rest.push_back(i);
    }
    // Strictly increasing picks, the first and last of the rest among them.
    const std::size_t sample = std::min(kMaxRankRows - kept, rest.size());
    for (std::size_t k = 0; k < sample; ++k)
        keep[rest[sample == 1 ? 0 : k * (rest.size() - 1) / (sample - 1)]] = true;
    std::vector<PageRankRow> shown;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (keep[i])
            shown.push_back(rows[i]);
    }
    return shown;
}

QString rankingSection(const std::vector<PageRankRow> &rows)
{
    QString html = sectionStart(QStringLiteral("ranking"), Words::tr("順位"));
    const auto own = std::find_if(rows.begin(), rows.end(),
                                  [](const PageRankRow &row) { return row.thisMachine; });
    if (own != rows.end())
        html += paragraph(Words::tr("この機械は %1 台中 %2 位です（2000 万回 %3 秒）。")
                                  .arg(QString::number(rows.size()), QString::number(own->position),
                                       secondsText(own->seconds)));
    const std::vector<PageRankRow> shown = shownRows(rows);
    html += QStringLiteral("<p class=\"key\"><span style=\"background:#e8590c\"></span>%1"
                           "<span style=\"background:#3b7dd8\"></span>%2"
                           "<span style=\"background:#b8c0c9\"></span>%3</p>\n")
                    .arg(escapedText(Words::tr("この機械")), escapedText(Words::tr("保存した機械")),
                         escapedText(Words::tr("基準機")));
    html += rankingChart(QStringLiteral("ranking-chart"), shown);
    if (shown.size() < rows.size()) {
        const auto savedIn = [](const std::vector<PageRankRow> &list) {
            return std::count_if(list.begin(), list.end(),
                                 [](const PageRankRow &row) { return row.saved; });
        };
        // The saved machines shown are counted, since beyond a few of them
        // the rest are only among the even sample.
        html += note(Words::tr("%1 台のうち %2 台を示します: この機械の前後、速い順に最初の"
                               "保存した機械、残りから等間隔に選んだ機械です"
                               "（保存した機械は %3 台のうち %4 台）。")
                             .arg(QString::number(rows.size()), QString::number(shown.size()),
                                  QString::number(savedIn(rows)), QString::number(savedIn(shown))));
    }
    html += note(Words::tr("棒が短いほど速い機械です。"));
    return html + QStringLiteral("</section>\n");
}

QString historySection(const PageInput &input)
{
    QString html = sectionStart(QStringLiteral("history"), Words::tr("この機種の履歴"));
    html += paragraph(Words::tr("%1: 保存した結果 %2 件", nullptr, int(input.modelHistory.size()))
                              .arg(input.result.system.cpuModel,
                                   countText(double(input.modelHistory.size()))));
    // A run only shown is drawn among the saved ones of its model, by a mark of its own.
    const HistoryChart chart = historyChart(QStringLiteral("history-chart"), input.modelHistory,
                                            input.resultSaved ? nullptr : &input.result);
    html += chart.svg;
    for (const QString &sentence : chart.caption)
        html += note(sentence);
    return html + QStringLiteral("</section>\n");
}

QString comparisonSection(const PageComparison &c)
{
    const Comparison &r = c.comparison;
    QString html = sectionStart(QStringLiteral("comparison"), Words::tr("比較"));
    html += QStringLiteral("<p class=\"verdict\">%1</p>\n")
                    .arg(escapedText(Words::tr("判定: %1").arg(verdictSentence(r.verdict))));
    html += QStringLiteral("<table class=\"facts\">\n");
    const auto describe = [](const SavedResult &s) {
        return Words::tr("%1 %2 %3（%4）")
                .arg(s.label.isEmpty() ? s.id.left(8) : s.label, s.system.cpuModel, s.host,
                     utcNamedText(s.started));
    };
    html += fact(QStringLiteral("A"), describe(c.a));
    html += fact(QStringLiteral("B"), describe(c.b));
    html += fact(Words::tr("速度比 (A の中央値 ÷ B の中央値)"), ratioText(r.speedRatio));
    html += fact(Words::tr("推定 (Hodges–Lehmann)"), ratioText(r.estimate));
    html += fact(Words::tr("95 % 信頼区間"),
                 r.ciLow && r.ciHigh
                         ? QStringLiteral("%1 – %2").arg(ratioText(*r.ciLow), ratioText(*r.ciHigh))
                         : Words::tr("実行の数が少なく求められません"));
    html += fact(Words::tr("p 値 (Mann–Whitney U)"),
                 (r.exact ? Words::tr("%1（正確）") : Words::tr("%1（正規近似）"))
                         .arg(QString::number(r.pValue, 'g', 4)));
    html += QStringLiteral("</table>\n");
    // Drawn as compared: B at A's passes when they differ.
    const std::vector<double> bRuns = runsAtPasses(c.b.seconds(), c.b.passes, c.a.passes);
    if (c.a.passes != c.b.passes && c.a.passes > 0 && c.b.passes > 0)
        html += note(Words::tr("A と B のループ回数が違うため、B の時間を A の"
                               "回数 (%1 回) に換算して比べています。")
                             .arg(countText(c.a.passes)));
    const StripGroup groups[]
            = { { QStringLiteral("A"), c.a.seconds() }, { QStringLiteral("B"), bRuns } };
    html += stripChart(QStringLiteral("comparison-chart"), Words::tr("A と B の各実行の秒数"),
                       groups);
    html += note(Words::tr("信頼区間は実行時間の対数の組ごとの差から求めた "
                           "Hodges–Lehmann (Moses) の区間です。"));
    return html + QStringLiteral("</section>\n");
}

} // namespace

QString htmlPage(const PageInput &input)
{
    QString html;
    html += QStringLiteral(
                    "<!DOCTYPE html>\n<html lang=\"%3\">\n<head>\n<meta charset=\"utf-8\">\n"
                    "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                    "<title>%1</title>\n<style>%2</style>\n"
                    "</head>\n<body>\n")
                    .arg(escapedText(Words::tr("Kamorin ベンチマーク報告 — %1")
                                             .arg(input.result.system.cpuModel)),
                         kStyle, uiLanguageTag());
    html += QStringLiteral("<h1>%1</h1>\n").arg(escapedText(Words::tr("Kamorin ベンチマーク報告")));
    html += note(Words::tr("%1 に作成").arg(utcNamedText(input.written)));
    html += machineSection(input.result);
    if (!input.result.runs.empty())
        html += runsSection(input.result);
    if (!input.ranking.empty())
        html += rankingSection(input.ranking);
    html += historySection(input);
    if (input.comparison)
        html += comparisonSection(*input.comparison);
    return html + QStringLiteral("</body>\n</html>\n");
}

} // namespace kamorin
