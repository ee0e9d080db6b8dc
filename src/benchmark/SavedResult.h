#pragma once

#include "benchmark/Statistics.h"

#include <QDateTime>
#include <QJsonObject>
#include <QString>

#include <optional>
#include <vector>

namespace kamorin {

// The whole result of one invocation, as it is kept and carried between
// machines. The parts that only travel with it (the options, the parallel
// result, the machine's conditions) stay JSON objects.
struct SavedResult
{
    // A UUID in its 36-character form, without braces.
    QString id;
    // When the first run started, in UTC.
    QDateTime started;
    QString label;
    QString programVersion;
    QString cpuModel;
    QString host;
    double passes = 0;
    // Combo4's and Combo5's texts: the count as the user gave it.
    QString count;
    QString unit;
    // What shaped the run: warm-ups, runs, CPU, threads, minimum time, ...
    QJsonObject options;
    // Every recorded run's seconds, in the order they ran.
    std::vector<double> runs;
    std::optional<QJsonObject> parallel;
    // cpu_model, logical_cpus, kernel, governor, load_average, warnings.
    QJsonObject system;

    // Of `runs`; computed, never stored apart from them.
    Statistics statistics() const;
    double median() const;
};

// A fresh id for a result about to be saved.
QString newResultId();

// "2026-12-08T00:45:59.123Z": what the store and the files hold.
QString startedText(const QDateTime &started);
// Of an ISO 8601 text with a UTC designator or offset; invalid otherwise.
QDateTime startedFromText(const QString &text);

// The members of one result in files and in --json output: id, started,
// label, program_version, cpu_model, host, passes, count, unit, options,
// runs, median (of one run, in seconds), statistics (mean, stddev, median,
// min, max), parallel, system. The median and the statistics follow from the
// runs; a file that carries them is read for its runs alone.
QJsonObject toJson(const SavedResult &result);

} // namespace kamorin
