#pragma once

#include "benchmark/BenchmarkResult.h"
#include "benchmark/Statistics.h"
#include "benchmark/SystemInfo.h"
#include "benchmark/Warning.h"

#include <QDateTime>
#include <QString>

#include <optional>
#include <variant>
#include <vector>

namespace kamorin {

// A warning an older Kamorin kept as the sentence it wrote, rather than as
// a kind: shown as it stands.
struct WordedWarning
{
    QString text;
};

// A warning as a result keeps it.
using KeptWarning = std::variant<Warning, WordedWarning>;

// The whole result of one invocation, as it is kept and carried between
// machines: what the runs measured and what shaped them, typed.
struct SavedResult
{
    // A UUID in its 36-character form, without braces.
    QString id;
    // When the first run started, in UTC.
    QDateTime started;
    QString label;
    QString programVersion;
    QString host;
    // Combo4's and Combo5's texts (the count as the user gave it), warm-ups,
    // runs, CPU, threads, minimum time.
    BenchmarkSettings settings;
    // The passes every run made.
    double passes = 0;
    // Every recorded run, in the order they ran; a result an older Kamorin
    // kept has their seconds alone.
    std::vector<RecordedRun> runs;
    SystemInfo system;
    std::vector<KeptWarning> warnings;
    std::optional<ParallelResult> parallel;

    std::vector<double> seconds() const;
    // Of the runs' seconds; computed, never stored apart from them.
    Statistics statistics() const;
    double median() const;
};

// A fresh id for a result about to be saved.
QString newResultId();

// "2026-12-08T00:45:59.123Z": what the store, the files and --json hold.
QString startedText(const QDateTime &started);
// Of an ISO 8601 text with a UTC designator or offset; invalid otherwise.
QDateTime startedFromText(const QString &text);

} // namespace kamorin
