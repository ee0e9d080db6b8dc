#pragma once

#include "benchmark/BenchmarkResult.h"

#include <QString>

#include <optional>
#include <vector>

namespace kamorin {

// A result's score against a reference machine that needs `referenceSeconds`
// for the standard run: SCORE's formula, but from the time the clock measured.
// SCORE on the window divides by its time fields, cut to hundredths; at the
// shortest time it scores, that cut moves a score by up to 1 %, and by a
// different amount for each run of a series. So every score kamorin-cli
// shows is this one, and the window's own text stays the window's. None when
// the figures give no finite score.
std::optional<double> measuredScore(double loops, double seconds, double referenceSeconds);

// The loops SCORE's formula counts for the series: Combo1's text after its
// last run. None without a run.
std::optional<double> seriesLoops(const std::vector<RecordedRun> &runs);

// The series' score against `machine`: at the median time of the recorded
// runs, so that the one figure of an odd series is its median run's score.
// None unless every recorded run scored, or for a machine the table lacks.
std::optional<SeriesScore> seriesScore(const std::vector<RecordedRun> &runs,
                                       const QString &machine);

} // namespace kamorin
