#include "formats/HtmlPage.h"

#include "formats/PageCharts.h"
#include "formats/SvgChart.h"
#include "formats/VerdictText.h"

#include <QJsonArray>

#include <algorithm>

namespace kamorin {

namespace {

// A report with thousands of saved machines would not print; beyond this many
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
.key span { display: inline-block; width: 3mm; height: 3mm; margin: 0 1mm 0 3mm; vertical-align: -0.4mm; }
)");

QString fact(const QString &name, const QString &value)
{
    return QStringLiteral("<tr><th>%1</th><td>%2</td></tr>\n").arg(name, escapedText(value));
}

QString utcText(const QDateTime &time)
{
    return time.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + QStringLiteral(" UTC");
}

QString passesText(double passes)
{
    return passes < 1e15 ? QString::number(passes, 'f', 0) : QString::number(passes, 'g', 6);
}

QString scalarText(const QJsonValue &value)
{
    if (value.isString())
        return value.toString();
    if (value.isDouble())
        return QString::number(value.toDouble(), 'g', 10);
    if (value.isBool())
        return value.toBool() ? QStringLiteral("はい") : QStringLiteral("いいえ");
    return QStringLiteral("—");
}

QString machineSection(const SavedResult &r)
{
    const QJsonObject &system = r.system;
    QString html = QStringLiteral("<section id=\"machine\"><h2>マシンと条件</h2>\n"
                                  "<table class=\"facts\">\n");
    html += fact(QStringLiteral("CPU"), r.cpuModel);
    html += fact(QStringLiteral("論理 CPU"), scalarText(system[QStringLiteral("logical_cpus")]));
    html += fact(QStringLiteral("カーネル"), scalarText(system[QStringLiteral("kernel")]));
    html += fact(QStringLiteral("周波数の制御"), scalarText(system[QStringLiteral("governor")]));
    QStringList loads;
    for (const QJsonValue &load : system[QStringLiteral("load_average")].toArray())
        loads.append(QString::number(load.toDouble(), 'f', 2));
    html += fact(QStringLiteral("負荷 (1・5・15 分)"),
                 loads.isEmpty() ? QStringLiteral("—") : loads.join(QStringLiteral(" / ")));
    html += fact(QStringLiteral("ホスト"), r.host);
    html += fact(QStringLiteral("ラベル"), r.label.isEmpty() ? QStringLiteral("—") : r.label);
    html += fact(QStringLiteral("開始"), utcText(r.started));
    html += fact(QStringLiteral("ループ回数"),
                 QStringLiteral("%1 %2（%3 回）").arg(r.count, r.unit, passesText(r.passes)));
    QStringList options;
    for (auto it = r.options.begin(); it != r.options.end(); ++it)
        options.append(it.key() + QStringLiteral(": ") + scalarText(it.value()));
    if (!options.isEmpty())
        html += fact(QStringLiteral("条件"), options.join(QStringLiteral("、")));
    html += fact(QStringLiteral("Kamorin"), r.programVersion);
    html += QStringLiteral("</table>\n");
    const QJsonArray warnings = system[QStringLiteral("warnings")].toArray();
    if (!warnings.isEmpty()) {
        html += QStringLiteral("<ul class=\"warnings\">\n");
        for (const QJsonValue &warning : warnings)
            html += QStringLiteral("<li>%1</li>\n").arg(escapedText(warning.toString()));
        html += QStringLiteral("</ul>\n");
    }
    return html + QStringLiteral("</section>\n");
}

QString runsSection(const SavedResult &r)
{
    const Statistics s = r.statistics();
    QString html = QStringLiteral("<section id=\"runs\"><h2>記録した実行</h2>\n");
    html += QStringLiteral("<p>%1 回: 中央値 %2 秒、平均 %3 秒、標準偏差 %4 秒、最小 %5 秒、"
                           "最大 %6 秒</p>\n")
                    .arg(r.runs.size())
                    .arg(secondsText(s.median), secondsText(s.mean), secondsText(s.stddev),
                         secondsText(s.min), secondsText(s.max));
    const StripGroup group { QStringLiteral("この実行"), r.runs };
    html += stripChart(QStringLiteral("runs-chart"),
                       QStringLiteral("記録した各実行の秒数（点）と箱ひげ図"), { &group, 1 });
    html += QStringLiteral("<p class=\"note\">点が 1 回の実行、箱が四分位範囲、太線が中央値、"
                           "ひげが最小から最大です。</p>\n");
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
    QString html = QStringLiteral("<section id=\"ranking\"><h2>順位</h2>\n");
    const auto own = std::find_if(rows.begin(), rows.end(),
                                  [](const PageRankRow &row) { return row.thisMachine; });
    if (own != rows.end()) {
        const auto faster = std::count_if(rows.begin(), rows.end(), [&](const PageRankRow &row) {
            return row.seconds < own->seconds;
        });
        html += QStringLiteral("<p>この機械は %1 台中 %2 位です（2000 万回 %3 秒）。</p>\n")
                        .arg(rows.size())
                        .arg(faster + 1)
                        .arg(secondsText(own->seconds));
    }
    const std::vector<PageRankRow> shown = shownRows(rows);
    html += QStringLiteral("<p class=\"key\"><span style=\"background:#e8590c\"></span>この機械"
                           "<span style=\"background:#3b7dd8\"></span>保存した機械"
                           "<span style=\"background:#b8c0c9\"></span>基準機</p>\n");
    html += rankingChart(QStringLiteral("ranking-chart"), shown);
    if (shown.size() < rows.size())
        html += QStringLiteral("<p class=\"note\">%1 "
                               "台のうち、この機械の前後、保存した機械と、全体から等間隔に選んだ "
                               "%2 台を示します。</p>\n")
                        .arg(rows.size())
                        .arg(shown.size());
    html += QStringLiteral("<p class=\"note\">棒が短いほど速い機械です。</p>\n");
    return html + QStringLiteral("</section>\n");
}

QString historySection(const std::vector<SavedResult> &history, const QString &model)
{
    QString html = QStringLiteral("<section id=\"history\"><h2>この機種の履歴</h2>\n");
    html += QStringLiteral("<p>%1: 保存した結果 %2 件</p>\n")
                    .arg(escapedText(model), QString::number(history.size()));
    if (!history.empty())
        html += historyChart(QStringLiteral("history-chart"), history);
    return html + QStringLiteral("</section>\n");
}

QString comparisonSection(const PageComparison &c)
{
    const Comparison &r = c.comparison;
    QString html = QStringLiteral("<section id=\"comparison\"><h2>比較</h2>\n");
    QString verdict = verdictText(r.verdict);
    if (r.verdict == Verdict::Faster || r.verdict == Verdict::Slower)
        verdict += QStringLiteral("（B は A より%1）").arg(verdict);
    html += QStringLiteral("<p class=\"verdict\">判定: %1</p>\n").arg(escapedText(verdict));
    html += QStringLiteral("<table class=\"facts\">\n");
    const auto describe = [](const SavedResult &s) {
        return QStringLiteral("%1 %2 %3（%4）")
                .arg(s.label.isEmpty() ? s.id.left(8) : s.label, s.cpuModel, s.host,
                     utcText(s.started));
    };
    html += fact(QStringLiteral("A"), describe(c.a));
    html += fact(QStringLiteral("B"), describe(c.b));
    html += fact(QStringLiteral("速度比 (A の中央値 ÷ B の中央値)"),
                 QString::number(r.speedRatio, 'f', 4));
    html += fact(QStringLiteral("推定 (Hodges–Lehmann)"), QString::number(r.estimate, 'f', 4));
    html += fact(QStringLiteral("95 % 信頼区間"),
                 r.ciLow && r.ciHigh ? QStringLiteral("%1 – %2").arg(
                         QString::number(*r.ciLow, 'f', 4), QString::number(*r.ciHigh, 'f', 4))
                                     : QStringLiteral("実行の数が少なく求められません"));
    html += fact(QStringLiteral("p 値 (Mann–Whitney U)"),
                 QString::number(r.pValue, 'g', 4)
                         + (r.exact ? QStringLiteral("（正確）") : QStringLiteral("（正規近似）")));
    html += QStringLiteral("</table>\n");
    // Drawn as compared: B at A's passes when they differ.
    std::vector<double> bRuns = c.b.runs;
    const bool scaled = c.a.passes != c.b.passes && c.a.passes > 0 && c.b.passes > 0;
    if (scaled) {
        for (double &seconds : bRuns)
            seconds *= c.a.passes / c.b.passes;
        html += QStringLiteral("<p class=\"note\">A と B のループ回数が違うため、B の時間を A の"
                               "回数 (%1 回) に換算して比べています。</p>\n")
                        .arg(passesText(c.a.passes));
    }
    const StripGroup groups[]
            = { { QStringLiteral("A"), c.a.runs }, { QStringLiteral("B"), bRuns } };
    html += stripChart(QStringLiteral("comparison-chart"), QStringLiteral("A と B の各実行の秒数"),
                       groups);
    html += QStringLiteral("<p class=\"note\">信頼区間は実行時間の対数の組ごとの差から求めた "
                           "Hodges–Lehmann (Moses) の区間です。</p>\n");
    return html + QStringLiteral("</section>\n");
}

} // namespace

QString htmlPage(const PageInput &input)
{
    QString html;
    html += QStringLiteral(
                    "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n"
                    "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                    "<title>Kamorin ベンチマーク報告 — %1</title>\n<style>%2</style>\n"
                    "</head>\n<body>\n")
                    .arg(escapedText(input.result.cpuModel), kStyle);
    html += QStringLiteral("<h1>Kamorin ベンチマーク報告</h1>\n<p class=\"note\">%1 に作成</p>\n")
                    .arg(escapedText(utcText(input.written)));
    html += machineSection(input.result);
    if (!input.result.runs.empty())
        html += runsSection(input.result);
    if (!input.ranking.empty())
        html += rankingSection(input.ranking);
    html += historySection(input.modelHistory, input.result.cpuModel);
    if (input.comparison)
        html += comparisonSection(*input.comparison);
    return html + QStringLiteral("</body>\n</html>\n");
}

} // namespace kamorin
