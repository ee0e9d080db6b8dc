#pragma once

#include "benchmark/BenchmarkResult.h"

#include <QString>

#include <optional>

namespace kamorin {

class HeadlessPlatform;
class Form1;
class RunRegistry;

// What shapes a series of runs: the texts typed into the form's boxes (unset
// ones keep the window's design-time contents) and how often 実行 is pressed.
struct SeriesPlan
{
    std::optional<QString> count;
    std::optional<QString> unit;
    std::optional<QString> speed;
    std::optional<QString> machine;
    int warmup = 0;
    int runs = 1;
};

// The plan's texts, typed into a loaded form's boxes.
void applyPlan(Form1 &form, const SeriesPlan &plan);

// How a series of presses ended.
enum class SeriesEnding
{
    Finished,
    // A handler failed before the run had results (a count that is no number).
    FailedBeforeResults,
    // A handler failed after the run had its results on the form (a bad
    // display speed, an unknown machine): they stand and are shown.
    FailedWithResults,
    // SIGINT or SIGTERM.
    Stopped,
};

// The warm-up presses, then the recorded ones: each presses 実行 on the same
// form, then SCORE when the run took a second or more. The first failure
// ends the series; the platform keeps its report.
SeriesEnding runSeries(Form1 &form, HeadlessPlatform &platform, RunRegistry &registry,
                       const SeriesPlan &plan, BenchmarkResult &result);

// This run's score against the machine in Combo3 by SCORE's formula, but
// from the measured seconds rather than the hundredths the form shows.
std::optional<double> scoreOfRun(const Form1 &form, double seconds);

} // namespace kamorin
