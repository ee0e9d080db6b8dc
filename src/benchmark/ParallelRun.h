#pragma once

#include "benchmark/BenchmarkResult.h"
#include "benchmark/SessionError.h"

#include <QStringList>

#include <optional>
#include <vector>

namespace kamorin {

class RunRegistry;
struct SeriesPlan;

struct ParallelOutcome
{
    ParallelResult result;
    // Reports of errors, a copy whose value differs from the one-thread
    // run's included; empty when every copy agreed.
    std::vector<SessionError> errors;
    bool stopped = false;
    // Threads of other processes runnable before each repetition and after
    // the last (readOthersRunnable), while no copy of ours runs.
    std::vector<std::optional<int>> othersRunnable;
};

// `threads` copies of the run at once, each with its own form, platform and
// thread, released together by one barrier; the plan's warm-ups, then its
// recorded repetitions. Each copy presses 実行 and nothing else, and must
// reach `expectedValue`, the one-thread run's Text2. The copies may use all
// of `cpus`, whatever the calling thread was bound to. The speed-up of a
// repetition is `threads` × `singleSeconds` over its time. A thread the
// system will not make throws std::system_error, and memory that runs out in
// a copy std::bad_alloc, once the others are gone.
ParallelOutcome runInParallel(const SeriesPlan &plan, RunRegistry &registry, int threads,
                              const std::vector<int> &cpus, const QString &expectedValue,
                              double passes, double singleSeconds);

// No copy can do more than one thread's share, so a median speed-up above the
// thread count says that the one-thread runs were slowed by something else.
bool speedupAboveThreads(const ParallelResult &result);

} // namespace kamorin
