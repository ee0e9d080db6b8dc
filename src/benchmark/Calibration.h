#pragma once

#include "benchmark/BenchmarkResult.h"

#include <optional>

namespace kamorin {

class RunRegistry;
struct SeriesPlan;

// Chosen counts are meant to last this much longer than the minimum, so
// that a run slowed by ordinary noise still lasts the minimum.
inline constexpr double kCountMargin = 1.5;

// The smallest count × unit of the window's own lists whose run lasts at
// least `minimumSeconds` × the margin at `passesPerSecond`; the largest there
// is when none does. Among equal pass counts the unit is taken in the order
// 万回, 億回, 千回, 百回, 回, so 1 万回 rather than 10 千回.
ChosenCount chooseCount(double passesPerSecond, double minimumSeconds);

// This machine's passes per second, from short presses of 実行 on a form of
// its own, each ten times longer than the last until one lasts a tenth of a
// second; the fastest of three such presses, so that a press slowed by other
// work does not make the machine look slower than it is. None when stopped or when the
// clock saw no time pass.
std::optional<double> measurePassesPerSecond(RunRegistry &registry, const SeriesPlan &plan);

} // namespace kamorin
