#include "formats/JsonOutput.h"

#include "formats/TextOutput.h"
#include "formats/WarningText.h"
#include "mainwindow/Form1.h"
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

void writeWindow(JsonWriter &out, const Form1 &form, const QString &report)
{
    out.beginObject();
    out.key(u"loops").string(form.Combo1.text());
    out.key(u"value").string(form.Text2.text());
    out.key(u"digits").string(form.Text4.text());
    out.key(u"hours").string(form.Text6.text());
    out.key(u"minutes").string(form.Text5.text());
    out.key(u"seconds").string(form.Text3.text());
    out.key(u"hundredths").string(form.Text8.text());
    out.key(u"score_enabled").boolean(form.Command6.enabled());
    out.key(u"machine").string(form.Combo3.text());
    out.key(u"score").string(form.Text7.text());
    out.key(u"reference_caption").string(form.Label19.caption());
    out.key(u"your_caption").string(form.Label20.caption());
    // The widths as the window's single-precision twips print them.
    out.key(u"reference_bar").numberText(singleToText(form.Label15.width()));
    out.key(u"your_bar").numberText(singleToText(form.Label14.width()));
    out.key(u"report").string(report);
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
    stringOrNull(out.key(u"faster"), rank->faster);
    stringOrNull(out.key(u"slower"), rank->slower);
    out.key(u"reliable").boolean(rank->reliable);
    out.key(u"rows").beginArray();
    for (const RankRow &row : rank->rows) {
        out.beginObject();
        out.key(u"place").integer(row.position);
        out.key(u"name").string(row.name);
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

QString resultsAsJson(const Form1 &form, const QString &report, const BenchmarkResult &benchmark,
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
    writeWindow(out.key(u"window"), form, report);
    writeRuns(out.key(u"runs"), benchmark.runs);
    writeStatistics(out.key(u"statistics"), benchmark.statistics());
    writeSystem(out.key(u"system"), benchmark.system, keptWarnings(benchmark.warnings), &words);
    writeParallel(out.key(u"parallel"), benchmark.parallel);
    writeRank(out.key(u"rank"), benchmark.rank);
    stringOrNull(out.key(u"saved_id"), savedId);
    writeError(out.key(u"error"), error);
    out.endObject();
    return out.text() + u'\n';
}

} // namespace kamorin
