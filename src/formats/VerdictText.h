#pragma once

#include "benchmark/Comparison.h"

#include <QString>

namespace kamorin {

// A comparison's verdict as the user reads it: faster, slower, no
// significant difference, or that more runs are needed.
QString verdictText(Verdict verdict);

} // namespace kamorin
