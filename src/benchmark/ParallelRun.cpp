#include "benchmark/ParallelRun.h"

#include "benchmark/Benchmark.h"
#include "benchmark/CpuAffinity.h"
#include "benchmark/HeadlessPlatform.h"
#include "benchmark/RunRegistry.h"
#include "mainwindow/Form1.h"
#include "measure/Command1_Click.h"
#include "runtime/EventDispatch.h"

#include <algorithm>
#include <cmath>
#include <latch>
#include <limits>
#include <thread>

namespace kamorin {

namespace {

struct CopyResult
{
    bool reachedEnd = false;
    QString value;
    double start = 0;
    double end = 0;
    QStringList errors;
};

// One copy: everything it touches is its own, so the copies share nothing
// but the registry, which locks.
void runCopy(const SeriesPlan &plan, RunRegistry &registry, const std::vector<int> &cpus,
             std::latch &ready, CopyResult &out)
{
    if (!cpus.empty())
        runCallingThreadOn(cpus);
    HeadlessPlatform platform(&registry);
    Form1 form;
    Form_Load(form);
    applyPlan(form, plan);
    // Forms are made before the start, so the copies begin their loops together.
    ready.arrive_and_wait();
    dispatch(platform, [&] { Command1_Click(form, platform); });
    out.reachedEnd = platform.runReachedItsEnd();
    out.value = form.Text2.text();
    out.start = platform.firstReading();
    out.end = platform.lastReading();
    out.errors = platform.takeErrorReports();
}

std::optional<double> ratio(double a, double b)
{
    const double r = a / b;
    if (!(b > 0) || !std::isfinite(r))
        return std::nullopt;
    return r;
}

} // namespace

ParallelOutcome runInParallel(const SeriesPlan &plan, RunRegistry &registry, int threads,
                              const std::vector<int> &cpus, const QString &expectedValue,
                              double passes, double singleSeconds)
{
    std::vector<CopyResult> copies(static_cast<std::size_t>(threads));
    {
        std::latch ready(threads);
        std::vector<std::jthread> workers;
        workers.reserve(copies.size());
        for (CopyResult &copy : copies)
            workers.emplace_back([&] { runCopy(plan, registry, cpus, ready, copy); });
    }

    ParallelOutcome outcome;
    outcome.stopped = registry.stopSignal() != 0;
    ParallelResult &result = outcome.result;
    result.threads = threads;
    double first = std::numeric_limits<double>::infinity();
    double last = -std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < copies.size(); ++i) {
        const CopyResult &copy = copies[i];
        outcome.errors << copy.errors;
        if (!copy.reachedEnd)
            continue;
        result.values << copy.value;
        first = std::min(first, copy.start);
        last = std::max(last, copy.end);
        if (copy.value != expectedValue)
            outcome.errors << QStringLiteral("kamorin-cli: 並列計算のスレッド %1 の計算値 %2 が、"
                                             "1 スレッドの計算値 %3 と一致しません。")
                                      .arg(i + 1)
                                      .arg(copy.value, expectedValue);
    }
    result.valuesAgree = result.values.size() == threads && outcome.errors.isEmpty();
    if (result.values.size() == threads) {
        result.seconds = last - first;
        result.passesPerSecond = ratio(threads * passes, result.seconds);
        result.singlePassesPerSecond = ratio(passes, singleSeconds);
        if (result.passesPerSecond && result.singlePassesPerSecond)
            result.speedup = ratio(*result.passesPerSecond, *result.singlePassesPerSecond);
    }
    return outcome;
}

} // namespace kamorin
