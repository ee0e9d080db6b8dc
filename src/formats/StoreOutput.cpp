#include "formats/StoreOutput.h"

#include "formats/Csv.h"
#include "formats/Json.h"
#include "formats/TerminalText.h"
#include "formats/VerdictText.h"

#include <QJsonObject>

#include <cmath>
#include <functional>

namespace kamorin {

namespace {

// "2026-12-08 01:50:27", composed by hand: QDateTime's formatter would take
// a good share of a 10,000-line history.
QString utcText(const QDateTime &time)
{
    const QDateTime utc = time.toUTC();
    const QDate d = utc.date();
    const QTime t = utc.time();
    const auto two = [](int n) { return QString::number(n).rightJustified(2, u'0'); };
    return QString::number(d.year()) + u'-' + two(d.month()) + u'-' + two(d.day()) + u' '
            + two(t.hour()) + u':' + two(t.minute()) + u':' + two(t.second());
}

QString passesText(double passes)
{
    return std::abs(passes) < 1e15 ? QString::number(passes, 'f', 0) : shortestNumberText(passes);
}

QString secondsText(double seconds)
{
    return QString::number(seconds, 'g', 6);
}

QString numberCell(std::optional<double> value)
{
    return value && std::isfinite(*value) ? shortestNumberText(*value) : QString();
}

std::optional<QString> scoreAt(const HistoryListing &history, std::size_t i)
{
    return i < history.scores.size() ? history.scores[i] : std::nullopt;
}

QString describe(const SavedResult &r)
{
    QString text = r.id + QStringLiteral("  ") + utcText(r.started) + QStringLiteral(" UTC");
    if (!r.label.isEmpty())
        text += QStringLiteral("  ") + escapeControls(r.label);
    return text;
}

QString ratioText(std::optional<double> value)
{
    return value ? QString::number(*value, 'f', 4) : QStringLiteral("—");
}

struct ComparisonCells
{
    QStringList names;
    QStringList values;
};

ComparisonCells comparisonCells(const ComparisonListing &l, bool forJson)
{
    const Comparison &c = l.comparison;
    const auto text = [&](const QString &t) { return forJson ? jsonString(t) : csvField(t); };
    const auto number
            = [&](std::optional<double> v) { return forJson ? jsonNumber(v) : numberCell(v); };
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

} // namespace

QString historyAsText(const HistoryListing &history)
{
    std::vector<QStringList> rows;
    rows.push_back({ QStringLiteral("ID"), QStringLiteral("開始 (UTC)"), QStringLiteral("ラベル"),
                     QStringLiteral("CPU"), QStringLiteral("ホスト"), QStringLiteral("ループ"),
                     QStringLiteral("実行"), QStringLiteral("中央値 (秒)"),
                     QStringLiteral("SCORE (") + escapeControls(history.machine) + u')' });
    for (std::size_t i = 0; i < history.results.size(); ++i) {
        const SavedResult &r = history.results[i];
        rows.push_back({ r.id, utcText(r.started),
                         cutToColumns(escapeControls(r.label), kLabelColumns),
                         cutToColumns(escapeControls(r.cpuModel), kCpuColumns),
                         cutToColumns(escapeControls(r.host), kHostColumns), passesText(r.passes),
                         QString::number(r.runs.size()), secondsText(r.median()),
                         scoreAt(history, i).value_or(QStringLiteral("—")) });
    }
    return table(rows, { false, false, false, false, false, true, true, true, true });
}

void writeHistoryAsJson(const HistoryListing &history,
                        const std::function<void(const QString &)> &write)
{
    // Written member by member, in the order a QJsonObject would keep them
    // (by name): building one for each of 10,000 results and trimming off
    // what only --export carries took most of the listing's time. Handed on
    // in pieces, so that a long history is never held whole, twice over.
    constexpr qsizetype kPiece = 32 * 1024;
    QString out = QStringLiteral("[");
    out.reserve(kPiece + kPiece / 4);
    const auto number = [&out](double value) { out += jsonNumber(value); };
    for (std::size_t i = 0; i < history.results.size(); ++i) {
        const SavedResult &r = history.results[i];
        const Statistics s = r.statistics();
        const std::optional<QString> score = scoreAt(history, i);
        out += i > 0 ? QStringLiteral(", {\"count\": ") : QStringLiteral("{\"count\": ");
        out += jsonString(r.count);
        out += QStringLiteral(", \"cpu_model\": ");
        out += jsonString(r.cpuModel);
        out += QStringLiteral(", \"host\": ");
        out += jsonString(r.host);
        out += QStringLiteral(", \"id\": ");
        out += jsonString(r.id);
        out += QStringLiteral(", \"label\": ");
        out += jsonString(r.label);
        out += QStringLiteral(", \"median\": ");
        number(s.median);
        out += QStringLiteral(", \"passes\": ");
        number(r.passes);
        out += QStringLiteral(", \"program_version\": ");
        out += jsonString(r.programVersion);
        out += QStringLiteral(", \"runs\": [");
        for (std::size_t k = 0; k < r.runs.size(); ++k) {
            if (k > 0)
                out += QStringLiteral(", ");
            number(r.runs[k]);
        }
        out += QStringLiteral("], \"score\": ");
        out += score ? jsonString(*score) : QStringLiteral("null");
        out += QStringLiteral(", \"score_machine\": ");
        out += jsonString(history.machine);
        out += QStringLiteral(", \"started\": ");
        out += jsonString(startedText(r.started));
        out += QStringLiteral(", \"statistics\": {\"max\": ");
        number(s.max);
        out += QStringLiteral(", \"mean\": ");
        number(s.mean);
        out += QStringLiteral(", \"median\": ");
        number(s.median);
        out += QStringLiteral(", \"min\": ");
        number(s.min);
        out += QStringLiteral(", \"stddev\": ");
        number(s.stddev);
        out += QStringLiteral("}, \"unit\": ");
        out += jsonString(r.unit);
        out += u'}';
        if (out.size() >= kPiece) {
            write(out);
            // Keeps its room for the next piece.
            out.resize(0);
        }
    }
    out += QStringLiteral("]\n");
    write(out);
}

QString historyAsJson(const HistoryListing &history)
{
    QString whole;
    writeHistoryAsJson(history, [&whole](const QString &piece) { whole += piece; });
    return whole;
}

QString historyAsCsv(const HistoryListing &history)
{
    QString out = QStringLiteral("id,started,label,cpu_model,host,program_version,passes,count,"
                                 "unit,runs,median,mean,stddev,min,max,score,score_machine\n");
    for (std::size_t i = 0; i < history.results.size(); ++i) {
        const SavedResult &r = history.results[i];
        const Statistics s = r.statistics();
        const QStringList cells {
            r.id,
            startedText(r.started),
            csvField(r.label),
            csvField(r.cpuModel),
            csvField(r.host),
            csvField(r.programVersion),
            passesText(r.passes),
            csvField(r.count),
            csvField(r.unit),
            QString::number(r.runs.size()),
            numberCell(s.median),
            numberCell(s.mean),
            numberCell(s.stddev),
            numberCell(s.min),
            numberCell(s.max),
            scoreAt(history, i).value_or(QString()),
            csvField(history.machine),
        };
        out += cells.join(u',') + u'\n';
    }
    return out;
}

QString comparisonAsText(const ComparisonListing &l)
{
    const Comparison &c = l.comparison;
    LabelledLines lines;
    for (const auto &[name, r] :
         { std::pair { QStringLiteral("A"), &l.a }, std::pair { QStringLiteral("B"), &l.b } }) {
        lines.push_back({ name, describe(*r) });
        lines.push_back({ QString(),
                          escapeControls(r->cpuModel) + QStringLiteral("（")
                                  + escapeControls(r->host)
                                  + QStringLiteral("）  中央値 %1 秒（%2 回）")
                                            .arg(secondsText(r->median()))
                                            .arg(r->runs.size()) });
    }
    if (c.speedRatio > 0)
        lines.push_back(
                { QStringLiteral("速度比 (A ÷ B)"),
                  ratioText(c.speedRatio) + QStringLiteral("（1 より大きければ B が速い）") });
    // The interval belongs to the Hodges–Lehmann estimate, not to the ratio of
    // medians above, so the two are shown together.
    if (c.estimate > 0)
        lines.push_back({ QStringLiteral("推定 (Hodges–Lehmann)"), ratioText(c.estimate) });
    lines.push_back({ QStringLiteral("95 % 信頼区間"),
                      c.ciLow && c.ciHigh
                              ? ratioText(c.ciLow) + QStringLiteral(" … ") + ratioText(c.ciHigh)
                              : QStringLiteral("実行の数が少なく求められません") });
    lines.push_back(
            { QStringLiteral("p 値"),
              QStringLiteral("%1（Mann–Whitney U = %2、%3）")
                      .arg(QString::number(c.pValue, 'g', 4), shortestNumberText(c.u),
                           c.exact ? QStringLiteral("正確") : QStringLiteral("正規近似")) });
    QString verdict = verdictText(c.verdict);
    if (c.verdict == Verdict::Faster || c.verdict == Verdict::Slower)
        verdict += QStringLiteral("（B は A より%1）").arg(verdictText(c.verdict));
    lines.push_back({ QStringLiteral("判定"), verdict });
    return alignedLines(lines);
}

QString comparisonAsJson(const ComparisonListing &l)
{
    const ComparisonCells cells = comparisonCells(l, true);
    QStringList members;
    for (qsizetype i = 0; i < cells.names.size(); ++i)
        members << jsonString(cells.names[i]) + QStringLiteral(": ") + cells.values[i];
    return u'{' + members.join(QStringLiteral(", ")) + QStringLiteral("}\n");
}

QString comparisonAsCsv(const ComparisonListing &l)
{
    const ComparisonCells cells = comparisonCells(l, false);
    return cells.names.join(u',') + u'\n' + cells.values.join(u',') + u'\n';
}

} // namespace kamorin
