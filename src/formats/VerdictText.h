#pragma once

#include "benchmark/Comparison.h"

#include <QString>

namespace kamorin {

// A comparison's verdict as the user reads it: faster, slower, no
// significant difference, or that more runs are needed.
QString verdictText(Verdict verdict);
// The same, and which of the two it says is faster or slower where it does:
// "遅い（B は A より遅い）".
QString verdictSentence(Verdict verdict);

} // namespace kamorin
