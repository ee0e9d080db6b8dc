#pragma once

#include "benchmark/RunRegistry.h"

#include <QString>

namespace kamorin {

// One line of text for the loops running now: what they are for, the
// percentage, passes done of the total, elapsed and estimated remaining time.
QString progressLineText(const RunRegistry::Snapshot &snapshot);

} // namespace kamorin
