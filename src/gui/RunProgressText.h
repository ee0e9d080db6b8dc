#pragma once

#include <QString>

namespace kamorin {

// The run button's tooltip while it fills: the share of passes done, the time
// so far and an estimate of the time left, e.g.
// 計算中 42%　経過 12秒　残り 約17秒
QString runProgressText(double fraction, double elapsedSeconds);

// A duration in whole seconds as 1時間2分3秒, 2分3秒 or 3秒.
QString durationText(double seconds);

} // namespace kamorin
