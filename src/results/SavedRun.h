#pragma once

#include "benchmark/BenchmarkResult.h"
#include "benchmark/SavedResult.h"

#include <QString>

namespace kamorin {

// The whole result of this invocation as the store keeps it: every recorded
// run, the settings, the parallel result, the machine and its conditions
// (its warnings are worded and added by the front), the program version, this host's name, the
// label and a fresh id. ResultsError (a document error) when there is nothing
// that can be kept: no recorded run, or runs that made no pass.
SavedResult savedResultOf(const BenchmarkResult &result, const QString &label,
                          const QString &programVersion);

} // namespace kamorin
