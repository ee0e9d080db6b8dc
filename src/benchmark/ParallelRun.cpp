#include "benchmark/ParallelRun.h"

#include "benchmark/Benchmark.h"
#include "benchmark/CpuAffinity.h"
#include "benchmark/HeadlessPlatform.h"
#include "benchmark/RunRegistry.h"
#include "benchmark/Statistics.h"
#include "benchmark/Steadiness.h"
#include "mainwindow/Form1.h"
#include "measure/Command1_Click.h"
#include "runtime/Clock.h"
#include "runtime/EventDispatch.h"

#include <algorithm>
#include <atomic>
#include <barrier>
#include <cmath>
#include <exception>
#include <thread>
#include <type_traits>

namespace kamorin {

namespace {

struct CopyResult
{
    bool reachedEnd = false;
    QString value;
    double end = 0;
    std::vector<RunError> errors;
    // What ended the copy other than a runtime error, thrown again on the
    // thread that runs the copies: out of a worker it would end the program.
    std::exception_ptr failure;
};

struct Start
{
    // Set by the barrier's completion, before any copy is released.
    double at = 0;
    // A thread could not be made: the copies already waiting leave unrun.
    std::atomic<bool> abandoned { false };
};

// A barrier's completion must not throw.
struct MarkStart
{
    Start *start;
    void operator()() noexcept { start->at = monotonicSeconds(); }
};
static_assert(std::is_nothrow_invocable_v<MarkStart &>);

using StartBarrier = std::barrier<MarkStart>;

// One copy: everything it touches is its own, so the copies share nothing
// but the registry, which locks.
void runCopy(const SeriesPlan &plan, RunRegistry &registry, const std::vector<int> &cpus,
             StartBarrier &barrier, const Start &start, CopyResult &out)
{
    if (!cpus.empty())
        runCallingThreadOn(cpus);
    // Every copy arrives at the barrier exactly once, whatever fails, or the
    // others would wait for ever.
    bool arrived = false;
    try {
        HeadlessPlatform platform(&registry);
        Form1 form;
        Form_Load(form);
        applyPlan(form, plan);
        // Forms are made before the start, so the copies begin their loops together.
        arrived = true;
        barrier.arrive_and_wait();
        if (start.abandoned.load())
            return;
        platform.forgetClockReadings();
        dispatch(platform, [&] { Command1_Click(form, platform); });
        out.reachedEnd = platform.runReachedItsEnd();
        out.value = form.Text2.text();
        out.end = platform.lastReading();
        out.errors = platform.takeErrors();
    } catch (...) {
        out.failure = std::current_exception();
        if (!arrived)
            barrier.arrive_and_wait();
    }
}

// One repetition; the seconds from the barrier to the last copy's end.
std::vector<CopyResult> runCopies(const SeriesPlan &plan, RunRegistry &registry, int threads,
                                  const std::vector<int> &cpus, double &seconds)
{
    std::vector<CopyResult> copies(static_cast<std::size_t>(threads));
    Start start;
    StartBarrier barrier(threads, MarkStart { &start });
    {
        std::vector<std::jthread> workers;
        workers.reserve(copies.size());
        try {
            for (CopyResult &copy : copies)
                workers.emplace_back([&] { runCopy(plan, registry, cpus, barrier, start, copy); });
        } catch (...) {
            start.abandoned.store(true);
            // Stand in for the copies that were never made, so the others go.
            for (std::size_t missing = workers.size(); missing < copies.size(); ++missing)
                barrier.arrive_and_drop();
            throw;
        }
    }
    double last = start.at;
    for (const CopyResult &copy : copies)
        if (copy.failure)
            std::rethrow_exception(copy.failure);
    for (const CopyResult &copy : copies)
        if (copy.reachedEnd)
            last = std::max(last, copy.end);
    seconds = last - start.at;
    return copies;
}

// As measured, even above the thread count: such a figure is marked rather
// than hidden (see speedupAboveThreads).
std::optional<double> speedupOf(int threads, double singleSeconds, double seconds)
{
    const double speedup = threads * singleSeconds / seconds;
    if (!(seconds > 0) || !std::isfinite(speedup))
        return std::nullopt;
    return speedup;
}

} // namespace

bool speedupAboveThreads(const ParallelResult &result)
{
    return result.speedup && *result.speedup > result.threads;
}

ParallelOutcome runInParallel(const SeriesPlan &plan, RunRegistry &registry, int threads,
                              const std::vector<int> &cpus, const QString &expectedValue,
                              double passes, double singleSeconds)
{
    ParallelOutcome outcome;
    ParallelResult &result = outcome.result;
    result.threads = threads;
    result.valuesAgree = true;
    for (int repetition = 0; repetition < plan.warmup + plan.runs; ++repetition) {
        const bool recorded = repetition >= plan.warmup;
        double seconds = 0;
        outcome.othersRunnable.push_back(readOthersRunnable(QStringLiteral("/")));
        const std::vector<CopyResult> copies = runCopies(plan, registry, threads, cpus, seconds);
        if (registry.stopSignal() != 0) {
            outcome.stopped = true;
            return outcome;
        }
        QStringList values;
        bool complete = true;
        for (std::size_t i = 0; i < copies.size(); ++i) {
            const CopyResult &copy = copies[i];
            for (const RunError &error : copy.errors)
                outcome.errors.push_back(SessionError::ofRuntime(error));
            if (!copy.reachedEnd) {
                complete = false;
                continue;
            }
            values << copy.value;
            if (copy.value != expectedValue) {
                SessionError error = SessionError::ofKind(SessionError::Kind::ValuesDisagree);
                error.copy = static_cast<int>(i + 1);
                error.value = copy.value;
                error.expected = expectedValue;
                outcome.errors.push_back(error);
            }
        }
        if (!complete || !outcome.errors.empty()) {
            result.valuesAgree = false;
            result.values = values;
            return outcome;
        }
        if (recorded) {
            result.values = values;
            result.seconds.push_back(seconds);
            const auto speedup = speedupOf(threads, singleSeconds, seconds);
            if (speedup) {
                result.speedupMin = std::min(result.speedupMin.value_or(*speedup), *speedup);
                result.speedupMax = std::max(result.speedupMax.value_or(*speedup), *speedup);
            }
        }
    }
    outcome.othersRunnable.push_back(readOthersRunnable(QStringLiteral("/")));
    const auto statistics = statisticsOf(result.seconds);
    if (statistics && statistics->median > 0) {
        result.passesPerSecond = threads * passes / statistics->median;
        if (singleSeconds > 0)
            result.singlePassesPerSecond = passes / singleSeconds;
        result.speedup = speedupOf(threads, singleSeconds, statistics->median);
    }
    return outcome;
}

} // namespace kamorin
