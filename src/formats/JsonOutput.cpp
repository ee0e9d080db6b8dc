#include "formats/JsonOutput.h"

#include "formats/Json.h"
#include "formats/TextOutput.h"
#include "formats/WarningText.h"
#include "mainwindow/Form1.h"
#include "runtime/NumberText.h"

#include <utility>
#include <vector>

namespace kamorin {

namespace {

using Members = std::vector<std::pair<QLatin1StringView, QString>>;

QString object(const Members &members)
{
    QStringList parts;
    for (const auto &[key, value] : members)
        parts << jsonString(key) + QStringLiteral(": ") + value;
    return u'{' + parts.join(QStringLiteral(", ")) + u'}';
}

QString array(const QStringList &items)
{
    return u'[' + items.join(QStringLiteral(", ")) + u']';
}

QString stringOrNull(const std::optional<QString> &text)
{
    return text ? jsonString(*text) : QStringLiteral("null");
}

QString flag(bool on)
{
    return on ? QStringLiteral("true") : QStringLiteral("false");
}

QString intOrNull(const std::optional<int> &value)
{
    return value ? QString::number(*value) : QStringLiteral("null");
}

QString settingsJson(const BenchmarkResult &benchmark)
{
    const BenchmarkSettings &s = benchmark.settings;
    const std::optional<double> passes
            = benchmark.runs.empty() ? std::nullopt : std::optional(benchmark.runs.back().passes);
    return object({
            { QLatin1StringView("count"), jsonString(s.count) },
            { QLatin1StringView("count_auto"), flag(s.countChosen) },
            { QLatin1StringView("unit"), jsonString(s.unit) },
            { QLatin1StringView("passes"), jsonNumber(passes) },
            { QLatin1StringView("warmup"), QString::number(s.warmup) },
            { QLatin1StringView("runs"), QString::number(s.runs) },
            { QLatin1StringView("cpu"), intOrNull(s.cpu) },
            { QLatin1StringView("threads"), intOrNull(s.threads) },
            { QLatin1StringView("min_time"), jsonNumber(s.minimumSeconds) },
    });
}

QString windowJson(const Form1 &form, const QString &report)
{
    return object({
            { QLatin1StringView("loops"), jsonString(form.Combo1.text()) },
            { QLatin1StringView("value"), jsonString(form.Text2.text()) },
            { QLatin1StringView("digits"), jsonString(form.Text4.text()) },
            { QLatin1StringView("hours"), jsonString(form.Text6.text()) },
            { QLatin1StringView("minutes"), jsonString(form.Text5.text()) },
            { QLatin1StringView("seconds"), jsonString(form.Text3.text()) },
            { QLatin1StringView("hundredths"), jsonString(form.Text8.text()) },
            { QLatin1StringView("score_enabled"), flag(form.Command6.enabled()) },
            { QLatin1StringView("machine"), jsonString(form.Combo3.text()) },
            { QLatin1StringView("score"), jsonString(form.Text7.text()) },
            { QLatin1StringView("reference_caption"), jsonString(form.Label19.caption()) },
            { QLatin1StringView("your_caption"), jsonString(form.Label20.caption()) },
            { QLatin1StringView("reference_bar"), singleToText(form.Label15.width()) },
            { QLatin1StringView("your_bar"), singleToText(form.Label14.width()) },
            { QLatin1StringView("report"), jsonString(report) },
    });
}

QString numbersJson(const std::vector<double> &numbers)
{
    QStringList items;
    for (const double n : numbers)
        items << jsonNumber(n);
    return array(items);
}

QString runsJson(const std::vector<RecordedRun> &runs)
{
    QStringList items;
    for (const RecordedRun &run : runs)
        items << object({
                { QLatin1StringView("seconds"), jsonNumber(run.seconds) },
                { QLatin1StringView("ns_per_pass"), jsonNumber(run.nanosecondsPerPass()) },
                { QLatin1StringView("value"), jsonString(run.value) },
                { QLatin1StringView("digits"), jsonString(run.digits) },
                { QLatin1StringView("score"), jsonNumber(run.score) },
        });
    return array(items);
}

QString statisticsJson(const BenchmarkResult &benchmark)
{
    const std::optional<Statistics> s = benchmark.statistics();
    if (!s)
        return QStringLiteral("null");
    return object({
            { QLatin1StringView("mean"), jsonNumber(s->mean) },
            { QLatin1StringView("stddev"), jsonNumber(s->stddev) },
            { QLatin1StringView("median"), jsonNumber(s->median) },
            { QLatin1StringView("min"), jsonNumber(s->min) },
            { QLatin1StringView("max"), jsonNumber(s->max) },
    });
}

QString systemJson(const BenchmarkResult &benchmark)
{
    const SystemInfo &system = benchmark.system;
    QString load = QStringLiteral("null");
    if (system.loadAverage)
        load = array({ jsonNumber((*system.loadAverage)[0]), jsonNumber((*system.loadAverage)[1]),
                       jsonNumber((*system.loadAverage)[2]) });
    QStringList warnings;
    for (const Warning &warning : benchmark.warnings)
        warnings << jsonString(warningText(warning));
    return object({
            { QLatin1StringView("cpu_model"), jsonString(system.cpuModel) },
            { QLatin1StringView("logical_cpus"), QString::number(system.logicalCpus) },
            { QLatin1StringView("kernel"), jsonString(system.kernel) },
            { QLatin1StringView("governor"), stringOrNull(system.governor) },
            { QLatin1StringView("load_average"), load },
            { QLatin1StringView("warnings"), array(warnings) },
    });
}

QString parallelJson(const std::optional<ParallelResult> &parallel)
{
    if (!parallel)
        return QStringLiteral("null");
    QStringList values;
    for (const QString &value : parallel->values)
        values << jsonString(value);
    return object({
            { QLatin1StringView("threads"), QString::number(parallel->threads) },
            { QLatin1StringView("values"), array(values) },
            { QLatin1StringView("seconds"), numbersJson(parallel->seconds) },
            { QLatin1StringView("passes_per_second"), jsonNumber(parallel->passesPerSecond) },
            { QLatin1StringView("single_passes_per_second"),
              jsonNumber(parallel->singlePassesPerSecond) },
            { QLatin1StringView("speedup"), jsonNumber(parallel->speedup) },
            { QLatin1StringView("speedup_min"), jsonNumber(parallel->speedupMin) },
            { QLatin1StringView("speedup_max"), jsonNumber(parallel->speedupMax) },
            { QLatin1StringView("reliable"), flag(parallel->reliable) },
    });
}

QString rankJson(const std::optional<Ranking> &rank)
{
    if (!rank)
        return QStringLiteral("null");
    QStringList rows;
    for (const RankRow &row : rank->rows) {
        Members members {
            { QLatin1StringView("place"), QString::number(row.position) },
            { QLatin1StringView("name"), jsonString(row.name) },
            { QLatin1StringView("seconds"), jsonNumber(row.seconds) },
            { QLatin1StringView("score"), stringOrNull(row.score) },
            { QLatin1StringView("this_machine"), flag(row.thisMachine) },
            { QLatin1StringView("saved"), flag(row.saved.has_value()) },
        };
        if (row.saved) {
            members.push_back({ QLatin1StringView("id"), jsonString(row.saved->id) });
            members.push_back({ QLatin1StringView("cpu_model"), jsonString(row.saved->cpuModel) });
            members.push_back({ QLatin1StringView("host"), jsonString(row.saved->host) });
            members.push_back({ QLatin1StringView("label"), jsonString(row.saved->label) });
        }
        rows << object(members);
    }
    return object({
            { QLatin1StringView("position"), QString::number(rank->position) },
            { QLatin1StringView("of"), QString::number(rank->of) },
            { QLatin1StringView("seconds"), jsonNumber(rank->seconds) },
            { QLatin1StringView("faster"), stringOrNull(rank->faster) },
            { QLatin1StringView("slower"), stringOrNull(rank->slower) },
            { QLatin1StringView("reliable"), flag(rank->reliable) },
            { QLatin1StringView("rows"), array(rows) },
    });
}

QString errorJson(const std::optional<RunError> &error)
{
    if (!error)
        return QStringLiteral("null");
    return object({
            { QLatin1StringView("number"), intOrNull(error->number) },
            { QLatin1StringView("message"), jsonString(error->message) },
    });
}

} // namespace

QString resultsAsJson(const Form1 &form, const QString &report, const BenchmarkResult &benchmark,
                      const std::optional<QString> &savedId, const std::optional<RunError> &error)
{
    const QString program = object({
            { QLatin1StringView("name"), jsonString(QStringLiteral("kamorin-cli")) },
            { QLatin1StringView("version"), jsonString(programVersion()) },
    });
    return object({
                   { QLatin1StringView("program"), program },
                   { QLatin1StringView("started"),
                     jsonString(benchmark.started.toString(Qt::ISODateWithMs)) },
                   { QLatin1StringView("settings"), settingsJson(benchmark) },
                   { QLatin1StringView("window"), windowJson(form, report) },
                   { QLatin1StringView("runs"), runsJson(benchmark.runs) },
                   { QLatin1StringView("statistics"), statisticsJson(benchmark) },
                   { QLatin1StringView("system"), systemJson(benchmark) },
                   { QLatin1StringView("parallel"), parallelJson(benchmark.parallel) },
                   { QLatin1StringView("rank"), rankJson(benchmark.rank) },
                   { QLatin1StringView("saved_id"), stringOrNull(savedId) },
                   { QLatin1StringView("error"), errorJson(error) },
           })
            + u'\n';
}

} // namespace kamorin
