#pragma once

#include "benchmark/SavedResult.h"
#include "results/JsonWriter.h"

#include <QJsonObject>
#include <QString>

#include <functional>
#include <optional>
#include <span>

namespace kamorin {

// The members of a result and their shapes, named once: --json, the store
// and the results file write their parts through these, so an exported
// result's parts are what --json wrote for that run, text for text.

// A warning in the user's language, from the front that knows it.
using WarningWords = std::function<QString(const Warning &)>;

// count, count_auto, unit, passes (of each run; null without one), warmup,
// runs, cpu, threads, min_time.
void writeSettings(JsonWriter &out, const BenchmarkSettings &settings,
                   std::optional<double> passes);
// Each run: seconds, ns_per_pass, value, digits, score.
void writeRuns(JsonWriter &out, std::span<const RecordedRun> runs);
// mean, stddev, median, min, max; null without a run.
void writeStatistics(JsonWriter &out, const std::optional<Statistics> &statistics);
// cpu_model, logical_cpus, kernel, governor, load_average, and warnings: the
// sentences `words` gives, a kept sentence as it is. Without `words` (the
// store keeps the warnings apart, as kinds) there is no warnings member.
void writeSystem(JsonWriter &out, const SystemInfo &system, std::span<const KeptWarning> warnings,
                 const WarningWords *words);
// threads, values, values_agree, seconds, passes_per_second,
// single_passes_per_second, speedup, speedup_min, speedup_max, reliable; null
// without parallel runs.
void writeParallel(JsonWriter &out, const std::optional<ParallelResult> &parallel);
// Each warning as its kind with its figures: {"kind": "noisy_runs",
// "relative_stddev": 0.08, "limit": 0.05}; a kept sentence is of the kind "text".
void writeWarnings(JsonWriter &out, std::span<const KeptWarning> warnings);

// A result as a results file of version 2 holds it: id, started, label,
// program_version, host, settings, runs, statistics, system, parallel,
// warnings.
void writeResult(JsonWriter &out, const SavedResult &result, const WarningWords &words);
// What a listing of the store reads of a result, named and shaped as
// writeResult writes it, written into an object the caller opened (which
// adds its own members after them): id, started, label, program_version,
// host, settings (count, unit, passes), runs (seconds, ns_per_pass),
// statistics, system (cpu_model).
void writeResultSummary(JsonWriter &out, const SavedResult &result);

// The kept warnings of one front's run.
std::vector<KeptWarning> keptWarnings(std::span<const Warning> warnings);

// The parts read back from what the writers above (or an older Kamorin)
// wrote; what is missing or of another type is left at its default. A file's
// reader checks its values before it hands them on.
void readSettings(const QJsonObject &object, BenchmarkSettings &settings);
RecordedRun runFrom(const QJsonObject &object, double passes);
SystemInfo systemFrom(const QJsonObject &object);
// The sentences of an older Kamorin's system.warnings.
std::vector<KeptWarning> wordedWarningsFrom(const QJsonObject &system);
ParallelResult parallelFrom(const QJsonObject &object);
// None for a kind this program does not know.
std::optional<KeptWarning> warningFrom(const QJsonObject &object);

} // namespace kamorin
