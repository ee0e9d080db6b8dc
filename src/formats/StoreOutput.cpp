#include "formats/StoreOutput.h"

#include "formats/Csv.h"
#include "formats/FigureText.h"
#include "formats/TerminalText.h"
#include "formats/VerdictText.h"
#include "results/JsonWriter.h"
#include "results/ResultJson.h"

#include <QCoreApplication>

#include <cmath>
#include <functional>

namespace kamorin {

namespace {

struct Words
{
    Q_DECLARE_TR_FUNCTIONS(StoreOutput)
};

QString describe(const SavedResult &r)
{
    QString text = r.id + QStringLiteral("  ") + utcNamedText(r.started);
    if (!r.label.isEmpty())
        text += QStringLiteral("  ") + escapeControls(r.label);
    return text;
}

QString ratioText(std::optional<double> value)
{
    return value ? kamorin::ratioText(*value) : QStringLiteral("—");
}

} // namespace

std::optional<QString> scoreAt(const HistoryListing &history, std::size_t i)
{
    return i < history.scores.size() ? history.scores[i] : std::nullopt;
}

ComparisonCells comparisonCellsOf(const ComparisonListing &l, CellsFor cellsFor)
{
    const Comparison &c = l.comparison;
    const bool forJson = cellsFor == CellsFor::Json;
    const auto text = [&](const QString &t) { return forJson ? jsonString(t) : csvField(t); };
    const auto number
            = [&](std::optional<double> v) { return forJson ? jsonNumber(v) : csvNumber(v); };
    const auto flag = [](bool on) { return on ? QStringLiteral("true") : QStringLiteral("false"); };
    return {
        { QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("a_label"),
          QStringLiteral("b_label"), QStringLiteral("a_median"), QStringLiteral("b_median"),
          QStringLiteral("a_runs"), QStringLiteral("b_runs"), QStringLiteral("speed_ratio"),
          QStringLiteral("estimate"), QStringLiteral("ci_low"), QStringLiteral("ci_high"),
          QStringLiteral("u"), QStringLiteral("p_value"), QStringLiteral("exact"),
          QStringLiteral("verdict") },
        { text(l.a.id), text(l.b.id), text(l.a.label), text(l.b.label), number(l.a.median()),
          number(l.b.median()), QString::number(l.a.runs.size()), QString::number(l.b.runs.size()),
          number(c.speedRatio > 0 ? std::optional(c.speedRatio) : std::nullopt),
          number(c.estimate > 0 ? std::optional(c.estimate) : std::nullopt), number(c.ciLow),
          number(c.ciHigh), number(c.u), number(c.pValue), flag(c.exact),
          text(verdictKey(c.verdict)) },
    };
}

std::vector<QStringList> historyRows(const HistoryListing &history, Cells cells)
{
    const auto shown = [cells](const QString &text, int columns) {
        return cells == Cells::Cut ? cutToColumns(escapeControls(text), columns)
                                   : escapeControls(text);
    };
    std::vector<QStringList> rows;
    rows.push_back({ QStringLiteral("ID"), Words::tr("開始 (UTC)"), Words::tr("ラベル"),
                     QStringLiteral("CPU"), Words::tr("ホスト"), Words::tr("ループ"),
                     Words::tr("実行"), Words::tr("中央値 (秒)"),
                     QStringLiteral("SCORE (") + escapeControls(history.machine) + u')' });
    for (std::size_t i = 0; i < history.results.size(); ++i) {
        const SavedResult &r = history.results[i];
        rows.push_back({ r.id, utcText(r.started), shown(r.label, kLabelColumns),
                         shown(r.system.cpuModel, kCpuColumns), shown(r.host, kHostColumns),
                         countText(r.passes), QString::number(r.runs.size()),
                         secondsText(r.median()),
                         scoreAt(history, i).value_or(QStringLiteral("—")) });
    }
    return rows;
}

const std::vector<bool> &historyColumnsRightAligned()
{
    static const std::vector<bool> right {
        false, false, false, false, false, true, true, true, true
    };
    return right;
}

LabelledLines comparisonLines(const ComparisonListing &l)
{
    const Comparison &c = l.comparison;
    LabelledLines lines;
    for (const auto &[name, r] :
         { std::pair { QStringLiteral("A"), &l.a }, std::pair { QStringLiteral("B"), &l.b } }) {
        lines.push_back({ name, describe(*r) });
        lines.push_back({ QString(),
                          Words::tr("%1（%2）  中央値 %3 秒（%n 回）", nullptr, int(r->runs.size()))
                                  .arg(escapeControls(r->system.cpuModel), escapeControls(r->host),
                                       secondsText(r->median())) });
    }
    if (c.speedRatio > 0)
        lines.push_back(
                { Words::tr("速度比 (A ÷ B)"),
                  Words::tr("%1（1 より大きければ B が速い）").arg(ratioText(c.speedRatio)) });
    // The interval belongs to the Hodges–Lehmann estimate, not to the ratio of
    // medians above, so the two are shown together.
    if (c.estimate > 0)
        lines.push_back({ Words::tr("推定 (Hodges–Lehmann)"), ratioText(c.estimate) });
    lines.push_back({ Words::tr("95 % 信頼区間"),
                      c.ciLow && c.ciHigh
                              ? ratioText(c.ciLow) + QStringLiteral(" … ") + ratioText(c.ciHigh)
                              : Words::tr("実行の数が少なく求められません") });
    lines.push_back({ Words::tr("p 値"),
                      Words::tr("%1（Mann–Whitney U = %2、%3）")
                              .arg(QString::number(c.pValue, 'g', 4), shortestNumberText(c.u),
                                   c.exact ? Words::tr("正確") : Words::tr("正規近似")) });
    lines.push_back({ Words::tr("判定"), verdictSentence(c.verdict) });
    return lines;
}

} // namespace kamorin
