#pragma once

#include "benchmark/Ranking.h"
#include "benchmark/SystemInfo.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace kamorin {

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
    // Against the chosen machine as SCORE computes it, from `seconds`; none
    // for a run too short to score or a machine the table lacks.
    std::optional<double> score;

    // None when the loop made no pass.
    std::optional<double> nanosecondsPerPass() const
    {
        if (!(passes > 0))
            return std::nullopt;
        return seconds * 1e9 / passes;
    }
};

// N copies of the run at once, each on its own form and thread.
struct ParallelResult
{
    int threads = 0;
    QStringList values;
    // Whether every copy reached the one-thread run's value.
    bool valuesAgree = false;
    // Wall time from the first copy's start to the last one's end.
    double seconds = 0;
    std::optional<double> passesPerSecond;
    std::optional<double> singlePassesPerSecond;
    std::optional<double> speedup;
};

// Everything kamorin-cli measured beyond what the form shows.
struct BenchmarkResult
{
    int warmupRuns = 0;
    std::vector<RecordedRun> runs;
    SystemInfo system;
    QStringList warnings;
    std::optional<ParallelResult> parallel;
    std::optional<Ranking> rank;

    std::vector<double> seconds() const
    {
        std::vector<double> all;
        for (const RecordedRun &run : runs)
            all.push_back(run.seconds);
        return all;
    }
};

} // namespace kamorin
