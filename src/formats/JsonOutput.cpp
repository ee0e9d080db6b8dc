#include "formats/JsonOutput.h"

#include "formats/FigureText.h"
#include "formats/Format.h"
#include "formats/TextOutput.h"
#include "formats/WarningText.h"
#include "results/JsonWriter.h"
#include "results/ResultJson.h"
#include "runtime/NumberText.h"

namespace kamorin {

namespace {

void stringOrNull(JsonWriter &out, const std::optional<QString> &text)
{
    if (text)
        out.string(*text);
    else
        out.null();
}

void writeWindow(JsonWriter &out, const WindowReadings &window)
{
    out.beginObject();
    out.key(u"loops").string(window.loops);
    out.key(u"value").string(window.value);
    out.key(u"digits").string(window.digits);
    out.key(u"hours").string(window.hours);
    out.key(u"minutes").string(window.minutes);
    out.key(u"seconds").string(window.seconds);
    out.key(u"hundredths").string(window.hundredths);
    out.key(u"score_enabled").boolean(window.scored);
    out.key(u"machine").string(window.machine);
    out.key(u"score").string(window.score);
    out.key(u"reference_caption").string(window.referenceCaption);
    out.key(u"your_caption").string(window.yourCaption);
    // The widths as the window's single-precision twips print them.
    out.key(u"reference_bar").numberText(singleToText(window.referenceBar));
    out.key(u"your_bar").numberText(singleToText(window.yourBar));
    out.key(u"report").string(window.report);
    out.endObject();
}

void writeRank(JsonWriter &out, const std::optional<Ranking> &rank)
{
    if (!rank) {
        out.null();
        return;
    }
    out.beginObject();
    out.key(u"position").integer(rank->position);
    out.key(u"of").integer(rank->of);
    out.key(u"seconds").number(rank->seconds);
    const auto nameAt = [&](std::optional<std::size_t> row) -> std::optional<QString> {
        if (!row)
            return std::nullopt;
        return rankRowOwnName(rank->rows[*row]);
    };
    stringOrNull(out.key(u"faster"), nameAt(rank->faster));
    stringOrNull(out.key(u"slower"), nameAt(rank->slower));
    out.key(u"reliable").boolean(rank->reliable);
    out.key(u"rows").beginArray();
    for (const RankRow &row : rank->rows) {
        out.beginObject();
        out.key(u"place").integer(row.position);
        out.key(u"name").string(rankRowOwnName(row));
        out.key(u"seconds").number(row.seconds);
        stringOrNull(out.key(u"score"), row.score);
        out.key(u"this_machine").boolean(row.thisMachine);
        out.key(u"saved").boolean(row.saved.has_value());
        if (row.saved) {
            out.key(u"id").string(row.saved->id);
            out.key(u"cpu_model").string(row.saved->cpuModel);
            out.key(u"host").string(row.saved->host);
            out.key(u"label").string(row.saved->label);
        }
        out.endObject();
    }
    out.endArray();
    out.endObject();
}

// The series' score: that of the median run, from its measured time. The
// window's own SCORE text, of the last run and its hundredths, stays in
// `window`.
void writeScore(JsonWriter &out, const std::optional<SeriesScore> &score)
{
    if (!score) {
        out.null();
        return;
    }
    out.beginObject();
    out.key(u"value").number(score->value);
    out.key(u"machine").string(score->machine);
    out.key(u"runs").integer(score->runs);
    out.endObject();
}

void writeError(JsonWriter &out, const std::optional<RunError> &error)
{
    if (!error) {
        out.null();
        return;
    }
    out.beginObject();
    if (error->number)
        out.key(u"number").integer(*error->number);
    else
        out.key(u"number").null();
    out.key(u"message").string(error->message);
    out.endObject();
}

} // namespace

QString resultsAsJson(const WindowReadings &window, const BenchmarkResult &benchmark,
                      const std::optional<QString> &savedId, const std::optional<RunError> &error)
{
    static const WarningWords words = [](const Warning &w) { return warningText(w); };
    const std::optional<double> passes
            = benchmark.runs.empty() ? std::nullopt : std::optional(benchmark.runs.back().passes);
    JsonWriter out;
    out.beginObject();
    out.key(u"program").beginObject();
    out.key(u"name").string(u"kamorin-cli");
    out.key(u"version").string(programVersion());
    out.endObject();
    out.key(u"started").string(startedText(benchmark.started));
    writeSettings(out.key(u"settings"), benchmark.settings, passes);
    writeWindow(out.key(u"window"), window);
    writeRuns(out.key(u"runs"), benchmark.runs);
    writeStatistics(out.key(u"statistics"), benchmark.statistics());
    writeScore(out.key(u"score"), benchmark.score);
    const std::vector<KeptWarning> warnings = keptWarnings(benchmark.warnings);
    writeSystem(out.key(u"system"), benchmark.system, warnings, &words);
    writeParallel(out.key(u"parallel"), benchmark.parallel);
    // Beside system.warnings' sentences, one for one as in a results file:
    // a script reads the kinds and figures, which no language changes.
    writeWarnings(out.key(u"warnings"), warnings);
    writeRank(out.key(u"rank"), benchmark.rank);
    stringOrNull(out.key(u"saved_id"), savedId);
    writeError(out.key(u"error"), error);
    out.endObject();
    return out.text() + u'\n';
}

namespace {

// A JSON array on one line, each result with what a results file holds of
// it that a listing reads (writeResultSummary), then score and
// score_machine; handed to `write` a piece at a time.
void writeHistoryAsJson(const HistoryListing &history,
                        const std::function<void(const QString &)> &write)
{
    // Handed on in pieces, so that a long history is never held whole, twice over.
    constexpr qsizetype kPiece = 32 * 1024;
    JsonWriter out;
    out.beginArray();
    for (std::size_t i = 0; i < history.results.size(); ++i) {
        out.beginObject();
        writeResultSummary(out, history.results[i]);
        if (const std::optional<QString> score = scoreAt(history, i))
            out.key(u"score").string(*score);
        else
            out.key(u"score").null();
        out.key(u"score_machine").string(history.machine);
        out.endObject();
        if (out.size() >= kPiece)
            write(out.takeText());
    }
    out.endArray();
    write(out.takeText() + u'\n');
}

// One object: a, b (ids), a_label, b_label, a_median, b_median, a_runs,
// b_runs (counts), speed_ratio, estimate, ci_low, ci_high, u, p_value, exact,
// verdict.
QString comparisonAsJson(const ComparisonListing &l)
{
    const ComparisonCells cells = comparisonCellsOf(l, CellsFor::Json);
    QStringList members;
    for (qsizetype i = 0; i < cells.names.size(); ++i)
        members << jsonString(cells.names[i]) + QStringLiteral(": ") + cells.values[i];
    return u'{' + members.join(QStringLiteral(", ")) + QStringLiteral("}\n");
}

class JsonFormat final : public Format
{
public:
    QString run(const RunAnswer &a) const override
    {
        return resultsAsJson(a.window, a.benchmark, a.savedId, a.error);
    }
    void history(const HistoryListing &listing, const TextSink &write) const override
    {
        writeHistoryAsJson(listing, write);
    }
    QString comparison(const ComparisonListing &listing) const override
    {
        return comparisonAsJson(listing);
    }
};

} // namespace

const Format &jsonFormat()
{
    static const JsonFormat json;
    return json;
}

} // namespace kamorin
