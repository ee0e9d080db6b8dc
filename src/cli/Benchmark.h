#pragma once

#include "cli/BenchmarkResult.h"

namespace kamorin {

class CliPlatform;
class Form1;
class RunRegistry;
struct RunOptions;

// The texts of the command line, typed into a loaded form's boxes.
void applyOptions(Form1 &form, const RunOptions &options);

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
SeriesEnding runSeries(Form1 &form, CliPlatform &platform, RunRegistry &registry,
                       const RunOptions &options, BenchmarkResult &result);

// This run's score against the machine in Combo3 as SCORE computes it, but
// from the measured seconds: (loops / seconds) / (20000000 / reference).
std::optional<double> scoreOfRun(const Form1 &form, double seconds);

} // namespace kamorin
