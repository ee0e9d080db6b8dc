#pragma once

#include "benchmark/Ranking.h"
#include "benchmark/Statistics.h"
#include "benchmark/SystemInfo.h"
#include "benchmark/Warning.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <optional>
#include <vector>

namespace kamorin {

// An error that ended a handler or a check, as the user is told it.
struct RunError
{
    // The runtime error's number; none for the benchmark's own findings.
    std::optional<int> number;
    QString message;
};

// One recorded press of 実行, with the time the clock really measured.
struct RecordedRun
{
    // The text of Combo1, and the passes the loop made for it.
    QString loops;
    double passes = 0;
    double seconds = 0;
    // Text2 and Text4 after the run.
    QString value;
    QString digits;
    // Against the chosen machine by SCORE's formula, from `seconds`
    // (measuredScore); none for a run too short to score or a machine the
    // table lacks.
    std::optional<double> score;

    // None when the loop made no pass.
    std::optional<double> nanosecondsPerPass() const
    {
        if (!(passes > 0))
            return std::nullopt;
        return seconds * 1e9 / passes;
    }
};

// The one score of a series (seriesScore).
struct SeriesScore
{
    double value = 0;
    QString machine;
    // The recorded runs it is the median of.
    int runs = 0;
};

// N copies of the run at once, each on its own form and thread, repeated
// like the one-thread runs.
struct ParallelResult
{
    int threads = 0;
    // The copies' values in the last recorded repetition.
    QStringList values;
    // Whether every copy of every repetition reached the one-thread run's value.
    bool valuesAgree = false;
    // Of each recorded repetition: from the barrier that starts every copy
    // to the end of the last one.
    std::vector<double> seconds;
    // At the median of those.
    std::optional<double> passesPerSecond;
    // At the median of the one-thread runs.
    std::optional<double> singlePassesPerSecond;
    // The median speed-up, and the least and greatest of the repetitions', as
    // measured.
    std::optional<double> speedup;
    std::optional<double> speedupMin;
    std::optional<double> speedupMax;
    // Whether the one-thread runs lasted the minimum time, the speed-up is
    // not above the thread count and other processes left a CPU to each thread.
    bool reliable = true;
};

// The count --count auto chose: the window's own texts.
struct ChosenCount
{
    QString count;
    QString unit;
    double passes = 0;
};

// What shaped the runs, as the form and the front saw it.
struct BenchmarkSettings
{
    // Combo4 and Combo5 as the runs read them.
    QString count;
    QString unit;
    // Whether the count was chosen by calibration.
    bool countChosen = false;
    int warmup = 0;
    int runs = 1;
    std::optional<int> cpu;
    std::optional<int> threads;
    double minimumSeconds = 1;
};

// Everything kamorin-cli measured beyond what the form shows.
struct BenchmarkResult
{
    BenchmarkSettings settings;
    // When the first run started, in UTC.
    QDateTime started;
    std::optional<ChosenCount> chosenCount;
    int warmupRuns = 0;
    std::vector<RecordedRun> runs;
    SystemInfo system;
    std::vector<Warning> warnings;
    std::optional<ParallelResult> parallel;
    std::optional<Ranking> rank;
    std::optional<SeriesScore> score;

    std::vector<double> seconds() const
    {
        std::vector<double> all;
        for (const RecordedRun &run : runs)
            all.push_back(run.seconds);
        return all;
    }

    // None without a recorded run.
    std::optional<Statistics> statistics() const { return statisticsOf(seconds()); }

    // A run of no pass has no speed: a comparison, a rank or a page could
    // only divide by it, so such a result is never kept.
    bool everyRunHasASpeed() const
    {
        return !runs.empty() && std::all_of(runs.begin(), runs.end(), [](const RecordedRun &run) {
            return run.passes > 0 && run.seconds > 0;
        });
    }
};

} // namespace kamorin
