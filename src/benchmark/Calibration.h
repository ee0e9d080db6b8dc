#pragma once

#include "benchmark/BenchmarkResult.h"

#include <optional>

namespace kamorin {

class RunRegistry;
struct SeriesPlan;

// Chosen counts are meant to last this much longer than the minimum, so
// that a run sped up by ordinary noise (a warmer cache, a higher clock)
// still lasts the minimum.
inline constexpr double kCountMargin = 1.25;

// The smallest count × unit of the window's own lists whose run takes at
// least `minimumSeconds` × the margin at `passesPerSecond`; the largest there
// is when none does. Among equal pass counts the unit is taken in the order
// 万回, 億回, 千回, 百回, 回, so 1 万回 rather than 10 千回. Without a rate,
// the window's own count: the smallest would be too short to score, the
// largest might run for days.
ChosenCount chooseCount(std::optional<double> passesPerSecond, double minimumSeconds);

// The passes per second a run of `passes` in `seconds` shows, when it
// lasted long enough (10 ms) for its clock and the noise of a start to
// matter little beside the margin; none for a shorter run.
std::optional<double> rateOfRun(double seconds, double passes);

// This machine's passes per second of processor time, from short presses of
// 実行 on a form of its own, each ten times longer than the last until one
// takes a tenth of a second; the fastest of three such presses. Processor
// time, not the clock's: a run never lasts less than the processor time it
// takes, so a count chosen from it lasts the minimum however busy the
// machine was while calibrating. None when stopped or when no time passed.
std::optional<double> measurePassesPerSecond(RunRegistry &registry, const SeriesPlan &plan);

} // namespace kamorin
