#include "results/ResultJson.h"

#include <QJsonArray>

namespace kamorin {

namespace {

void intOrNull(JsonWriter &out, const std::optional<int> &value)
{
    if (value)
        out.integer(*value);
    else
        out.null();
}

void numbers(JsonWriter &out, std::span<const double> values)
{
    out.beginArray();
    for (const double value : values)
        out.number(value);
    out.endArray();
}

const QString kFigureSpeedup = QStringLiteral("speedup");
const QString kFigureRank = QStringLiteral("rank");

struct KindWriter
{
    JsonWriter &out;

    void kind(const char16_t *name) { out.key(u"kind").string(QStringView(name)); }
    void operator()(const BusyMachine &w)
    {
        kind(u"busy_machine");
        out.key(u"load").number(w.load);
        out.key(u"logical_cpus").integer(w.logicalCpus);
        out.key(u"limit_per_cpu").number(w.limitPerCpu);
    }
    void operator()(const OthersBusy &w)
    {
        kind(u"others_busy");
        out.key(u"runnable").number(w.runnable);
        out.key(u"logical_cpus").integer(w.logicalCpus);
        out.key(u"limit_per_cpu").number(w.limitPerCpu);
    }
    void operator()(const ParallelCrowded &w)
    {
        kind(u"parallel_crowded");
        out.key(u"others_runnable").number(w.othersRunnable);
        out.key(u"cpus").integer(w.cpus);
        out.key(u"threads").integer(w.threads);
    }
    void operator()(const PowersaveGovernor &) { kind(u"powersave_governor"); }
    void operator()(const NoisyRuns &w)
    {
        kind(u"noisy_runs");
        out.key(u"relative_stddev").number(w.relativeStddev);
        out.key(u"limit").number(w.limit);
    }
    void operator()(const SpeedupAboveThreads &w)
    {
        kind(u"speedup_above_threads");
        out.key(u"speedup").number(w.speedup);
        out.key(u"threads").integer(w.threads);
    }
    void operator()(const RunsTooShort &w)
    {
        kind(u"runs_too_short");
        out.key(u"minimum_seconds").number(w.minimumSeconds);
        out.key(u"figure").string(w.figure == RunsTooShort::Figure::Speedup ? kFigureSpeedup
                                                                            : kFigureRank);
    }
    void operator()(const FrequencyChanged &w)
    {
        kind(u"frequency_changed");
        out.key(u"cpu").integer(w.cpu);
        out.key(u"before_mhz").number(w.beforeMhz);
        out.key(u"after_mhz").number(w.afterMhz);
    }
    void operator()(const TimeStolen &w)
    {
        kind(u"time_stolen");
        out.key(u"share").number(w.share);
        out.key(u"limit").number(w.limit);
    }
    void operator()(const CrowdedCpus &w)
    {
        kind(u"crowded_cpus");
        out.key(u"runnable").integer(w.runnable);
        out.key(u"logical_cpus").integer(w.logicalCpus);
    }
    void operator()(const Warning &w) { std::visit(*this, w); }
    void operator()(const WordedWarning &w)
    {
        kind(u"text");
        out.key(u"text").string(w.text);
    }
};

void writeRunTimes(JsonWriter &out, const RecordedRun &run)
{
    out.key(u"seconds").number(run.seconds);
    out.key(u"ns_per_pass").number(run.nanosecondsPerPass());
}

// What names a result, where a results file and a listing begin it.
void writeResultHeading(JsonWriter &out, const SavedResult &r)
{
    out.key(u"id").string(r.id);
    out.key(u"started").string(startedText(r.started));
    out.key(u"label").string(r.label);
    out.key(u"program_version").string(r.programVersion);
    out.key(u"host").string(r.host);
}

std::optional<int> intOrNone(const QJsonValue &value)
{
    return value.isDouble() ? std::optional(value.toInt()) : std::nullopt;
}

std::optional<double> numberOrNone(const QJsonValue &value)
{
    return value.isDouble() ? std::optional(value.toDouble()) : std::nullopt;
}

} // namespace

void writeSettings(JsonWriter &out, const BenchmarkSettings &s, std::optional<double> passes)
{
    out.beginObject();
    out.key(u"count").string(s.count);
    out.key(u"count_auto").boolean(s.countChosen);
    out.key(u"unit").string(s.unit);
    out.key(u"passes").count(passes);
    out.key(u"warmup").integer(s.warmup);
    out.key(u"runs").integer(s.runs);
    intOrNull(out.key(u"cpu"), s.cpu);
    intOrNull(out.key(u"threads"), s.threads);
    out.key(u"min_time").number(s.minimumSeconds);
    out.endObject();
}

void writeRuns(JsonWriter &out, std::span<const RecordedRun> runs)
{
    out.beginArray();
    for (const RecordedRun &run : runs) {
        out.beginObject();
        writeRunTimes(out, run);
        out.key(u"value").string(run.value);
        out.key(u"digits").string(run.digits);
        out.key(u"score").number(run.score);
        out.endObject();
    }
    out.endArray();
}

void writeStatistics(JsonWriter &out, const std::optional<Statistics> &s)
{
    if (!s) {
        out.null();
        return;
    }
    out.beginObject();
    out.key(u"mean").number(s->mean);
    out.key(u"stddev").number(s->stddev);
    out.key(u"median").number(s->median);
    out.key(u"min").number(s->min);
    out.key(u"max").number(s->max);
    out.endObject();
}

void writeSystem(JsonWriter &out, const SystemInfo &system, std::span<const KeptWarning> warnings,
                 const WarningWords *words)
{
    out.beginObject();
    out.key(u"cpu_model").string(system.cpuModel);
    out.key(u"logical_cpus").integer(system.logicalCpus);
    out.key(u"kernel").string(system.kernel);
    if (system.governor)
        out.key(u"governor").string(*system.governor);
    else
        out.key(u"governor").null();
    if (system.loadAverage)
        numbers(out.key(u"load_average"), *system.loadAverage);
    else
        out.key(u"load_average").null();
    if (words) {
        out.key(u"warnings").beginArray();
        for (const KeptWarning &warning : warnings) {
            if (const auto *kind = std::get_if<Warning>(&warning))
                out.string((*words)(*kind));
            else
                out.string(std::get<WordedWarning>(warning).text);
        }
        out.endArray();
    }
    out.endObject();
}

void writeParallel(JsonWriter &out, const std::optional<ParallelResult> &parallel)
{
    if (!parallel) {
        out.null();
        return;
    }
    out.beginObject();
    out.key(u"threads").integer(parallel->threads);
    out.key(u"values").beginArray();
    for (const QString &value : parallel->values)
        out.string(value);
    out.endArray();
    out.key(u"values_agree").boolean(parallel->valuesAgree);
    numbers(out.key(u"seconds"), parallel->seconds);
    out.key(u"passes_per_second").number(parallel->passesPerSecond);
    out.key(u"single_passes_per_second").number(parallel->singlePassesPerSecond);
    out.key(u"speedup").number(parallel->speedup);
    out.key(u"speedup_min").number(parallel->speedupMin);
    out.key(u"speedup_max").number(parallel->speedupMax);
    out.key(u"reliable").boolean(parallel->reliable);
    out.endObject();
}

void writeWarnings(JsonWriter &out, std::span<const KeptWarning> warnings)
{
    out.beginArray();
    for (const KeptWarning &warning : warnings) {
        out.beginObject();
        std::visit(KindWriter { out }, warning);
        out.endObject();
    }
    out.endArray();
}

void writeResult(JsonWriter &out, const SavedResult &r, const WarningWords &words)
{
    out.beginObject();
    writeResultHeading(out, r);
    writeSettings(out.key(u"settings"), r.settings, r.passes);
    writeRuns(out.key(u"runs"), r.runs);
    writeStatistics(out.key(u"statistics"), statisticsOf(r.seconds()));
    writeSystem(out.key(u"system"), r.system, r.warnings, &words);
    writeParallel(out.key(u"parallel"), r.parallel);
    writeWarnings(out.key(u"warnings"), r.warnings);
    out.endObject();
}

void writeResultSummary(JsonWriter &out, const SavedResult &r)
{
    writeResultHeading(out, r);
    out.key(u"settings").beginObject();
    out.key(u"count").string(r.settings.count);
    out.key(u"unit").string(r.settings.unit);
    out.key(u"passes").count(r.passes);
    out.endObject();
    out.key(u"runs").beginArray();
    for (const RecordedRun &run : r.runs) {
        out.beginObject();
        writeRunTimes(out, run);
        out.endObject();
    }
    out.endArray();
    writeStatistics(out.key(u"statistics"), statisticsOf(r.seconds()));
    out.key(u"system").beginObject();
    out.key(u"cpu_model").string(r.system.cpuModel);
    out.endObject();
}

std::vector<KeptWarning> keptWarnings(std::span<const Warning> warnings)
{
    return { warnings.begin(), warnings.end() };
}

void readSettings(const QJsonObject &o, BenchmarkSettings &s)
{
    if (o.contains(u"count"))
        s.count = o[u"count"].toString();
    if (o.contains(u"unit"))
        s.unit = o[u"unit"].toString();
    s.countChosen = o[u"count_auto"].toBool();
    s.warmup = o[u"warmup"].toInt();
    s.runs = o[u"runs"].toInt(1);
    s.cpu = intOrNone(o[u"cpu"]);
    s.threads = intOrNone(o[u"threads"]);
    s.minimumSeconds = o[u"min_time"].toDouble(1);
}

RecordedRun runFrom(const QJsonObject &o, double passes)
{
    RecordedRun run;
    run.passes = passes;
    run.seconds = o[u"seconds"].toDouble();
    run.value = o[u"value"].toString();
    run.digits = o[u"digits"].toString();
    run.score = numberOrNone(o[u"score"]);
    return run;
}

SystemInfo systemFrom(const QJsonObject &o)
{
    SystemInfo system;
    system.cpuModel = o[u"cpu_model"].toString();
    system.logicalCpus = o[u"logical_cpus"].toInt();
    system.kernel = o[u"kernel"].toString();
    if (o[u"governor"].isString())
        system.governor = o[u"governor"].toString();
    if (const QJsonArray load = o[u"load_average"].toArray(); load.size() == 3)
        system.loadAverage
                = std::array { load[0].toDouble(), load[1].toDouble(), load[2].toDouble() };
    return system;
}

std::vector<KeptWarning> wordedWarningsFrom(const QJsonObject &system)
{
    std::vector<KeptWarning> warnings;
    for (const QJsonValue &text : system[u"warnings"].toArray())
        warnings.push_back(WordedWarning { text.toString() });
    return warnings;
}

ParallelResult parallelFrom(const QJsonObject &o)
{
    ParallelResult p;
    p.threads = o[u"threads"].toInt();
    for (const QJsonValue &value : o[u"values"].toArray())
        p.values << value.toString();
    p.valuesAgree = o[u"values_agree"].toBool();
    for (const QJsonValue &seconds : o[u"seconds"].toArray())
        p.seconds.push_back(seconds.toDouble());
    p.passesPerSecond = numberOrNone(o[u"passes_per_second"]);
    p.singlePassesPerSecond = numberOrNone(o[u"single_passes_per_second"]);
    p.speedup = numberOrNone(o[u"speedup"]);
    p.speedupMin = numberOrNone(o[u"speedup_min"]);
    p.speedupMax = numberOrNone(o[u"speedup_max"]);
    p.reliable = o[u"reliable"].toBool(true);
    return p;
}

std::optional<KeptWarning> warningFrom(const QJsonObject &o)
{
    const QString kind = o[u"kind"].toString();
    const auto number = [&](const char16_t *key) { return o[QStringView(key)].toDouble(); };
    const auto whole = [&](const char16_t *key) { return o[QStringView(key)].toInt(); };
    if (kind == u"busy_machine")
        return Warning(
                BusyMachine { number(u"load"), whole(u"logical_cpus"), number(u"limit_per_cpu") });
    if (kind == u"others_busy")
        return Warning(OthersBusy { number(u"runnable"), whole(u"logical_cpus"),
                                    number(u"limit_per_cpu") });
    if (kind == u"parallel_crowded")
        return Warning(
                ParallelCrowded { number(u"others_runnable"), whole(u"cpus"), whole(u"threads") });
    if (kind == u"powersave_governor")
        return Warning(PowersaveGovernor {});
    if (kind == u"noisy_runs")
        return Warning(NoisyRuns { number(u"relative_stddev"), number(u"limit") });
    if (kind == u"speedup_above_threads")
        return Warning(SpeedupAboveThreads { number(u"speedup"), whole(u"threads") });
    if (kind == u"runs_too_short") {
        const QString figure = o[u"figure"].toString();
        if (figure != kFigureSpeedup && figure != kFigureRank)
            return std::nullopt;
        return Warning(RunsTooShort { number(u"minimum_seconds"),
                                      figure == kFigureSpeedup ? RunsTooShort::Figure::Speedup
                                                               : RunsTooShort::Figure::Rank });
    }
    if (kind == u"frequency_changed")
        return Warning(
                FrequencyChanged { whole(u"cpu"), number(u"before_mhz"), number(u"after_mhz") });
    if (kind == u"time_stolen")
        return Warning(TimeStolen { number(u"share"), number(u"limit") });
    if (kind == u"crowded_cpus")
        return Warning(CrowdedCpus { whole(u"runnable"), whole(u"logical_cpus") });
    if (kind == u"text")
        return WordedWarning { o[u"text"].toString() };
    return std::nullopt;
}

} // namespace kamorin
