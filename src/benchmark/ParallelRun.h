#pragma once

#include "benchmark/BenchmarkResult.h"

#include <QStringList>

#include <vector>

namespace kamorin {

class RunRegistry;
struct SeriesPlan;

struct ParallelOutcome
{
    ParallelResult result;
    // Reports of errors, a copy whose value differs from the one-thread
    // run's included; empty when every copy agreed.
    QStringList errors;
    bool stopped = false;
};

// `threads` copies of the run at once, each with its own form, platform and
// thread, started together. Each copy presses 実行 and nothing else, and
// must reach `expectedValue`, the one-thread run's Text2. The copies may use
// all of `cpus`, whatever the calling thread was bound to.
ParallelOutcome runInParallel(const SeriesPlan &plan, RunRegistry &registry, int threads,
                              const std::vector<int> &cpus, const QString &expectedValue,
                              double passes, double singleSeconds);

} // namespace kamorin
