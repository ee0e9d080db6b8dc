#include "cli/JsonOutput.h"

#include "benchmark/BenchmarkResult.h"
#include "benchmark/Statistics.h"
#include "cli/Json.h"
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
    const std::vector<double> seconds = benchmark.seconds();
    const std::optional<Statistics> s = statisticsOf(seconds);
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
    for (const QString &warning : benchmark.warnings)
        warnings << jsonString(warning);
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
            { QLatin1StringView("seconds"), jsonNumber(parallel->seconds) },
            { QLatin1StringView("passes_per_second"), jsonNumber(parallel->passesPerSecond) },
            { QLatin1StringView("single_passes_per_second"),
              jsonNumber(parallel->singlePassesPerSecond) },
            { QLatin1StringView("speedup"), jsonNumber(parallel->speedup) },
    });
}

QString rankJson(const std::optional<Ranking> &rank)
{
    if (!rank)
        return QStringLiteral("null");
    return object({
            { QLatin1StringView("position"), QString::number(rank->position) },
            { QLatin1StringView("of"), QString::number(rank->of) },
            { QLatin1StringView("seconds"), jsonNumber(rank->seconds) },
            { QLatin1StringView("faster"), stringOrNull(rank->faster) },
            { QLatin1StringView("slower"), stringOrNull(rank->slower) },
    });
}

} // namespace

QString resultsAsJson(const Form1 &form, const QString &report, const BenchmarkResult &benchmark)
{
    const auto flag = [](bool on) { return on ? QStringLiteral("true") : QStringLiteral("false"); };
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
                   { QLatin1StringView("runs"), runsJson(benchmark.runs) },
                   { QLatin1StringView("statistics"), statisticsJson(benchmark) },
                   { QLatin1StringView("system"), systemJson(benchmark) },
                   { QLatin1StringView("parallel"), parallelJson(benchmark.parallel) },
                   { QLatin1StringView("rank"), rankJson(benchmark.rank) },
           })
            + u'\n';
}

} // namespace kamorin
