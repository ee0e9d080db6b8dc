// Cost of one pass of the run command's workload, tagged against native.
//
// The tagged pass is the real loop the run command times, progress report and
// stop test included. The bare tagged pass is a copy of it here that makes the
// same runtime calls but neither reports nor asks: the two together show what
// watching the loop costs. The native pass does the same eight operations in
// plain doubles, including the general power function, which dominates it.
// All run in the same process, their repetitions interleaved, and the ratios
// of their median per-pass times are printed last.

#include "measure/LeibnizSeries.h"
#include "runtime/Arithmetic.h"
#include "runtime/CountedLoop.h"
#include "runtime/LoopProgress.h"
#include "runtime/Variant.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

using kamorin::Variant;

constexpr double kPasses = 200000;

[[gnu::noinline]] double nativeSeries(double end)
{
    double S = 0;
    double P = 0;
    for (double i = 1; i <= end; i += 1) {
        const double a = 2 * i;
        const double b = a - 1;
        const double c = 1 / b;
        const double d = i - 1;
        const double e = std::pow(-1.0, d);
        const double f = c * e;
        S = S + f;
        P = S * 4;
    }
    return P;
}

// Keep in step with sumLeibnizSeries, less its last two lines.
[[gnu::noinline]] Variant bareTaggedSeries(Variant end)
{
    Variant S = Variant::integer(0);
    Variant P = Variant::integer(0);
    for (kamorin::CountedLoop loop(Variant::integer(1), end, Variant::integer(1)); loop.running();
         loop.next()) {
        const Variant i = loop.counter();
        const Variant a = Variant::integer(2) * i;
        const Variant b = a - Variant::integer(1);
        const Variant c = Variant::integer(1) / b;
        const Variant d = i - Variant::integer(1);
        const Variant e = power(Variant::integer(-1), d);
        const Variant f = c * e;
        S = S + f;
        P = S * Variant::integer(4);
    }
    return P;
}

void countPasses(benchmark::State &state)
{
    state.counters["ns_per_pass"]
            = benchmark::Counter(kPasses * static_cast<double>(state.iterations()),
                                 benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void taggedPass(benchmark::State &state)
{
    const Variant end = Variant::real(kPasses);
    kamorin::LoopProgress progress;
    for (auto _ : state)
        benchmark::DoNotOptimize(kamorin::sumLeibnizSeries(end, progress));
    countPasses(state);
}

void bareTaggedPass(benchmark::State &state)
{
    const Variant end = Variant::real(kPasses);
    for (auto _ : state)
        benchmark::DoNotOptimize(bareTaggedSeries(end));
    countPasses(state);
}

void nativePass(benchmark::State &state)
{
    double end = kPasses;
    for (auto _ : state) {
        benchmark::DoNotOptimize(end);
        benchmark::DoNotOptimize(nativeSeries(end));
    }
    countPasses(state);
}

// Medians of several repetitions: other work on the machine comes and goes.
constexpr int kRepetitions = 5;
BENCHMARK(taggedPass)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(0.5)
        ->Repetitions(kRepetitions)
        ->ReportAggregatesOnly(true);
BENCHMARK(bareTaggedPass)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(0.5)
        ->Repetitions(kRepetitions)
        ->ReportAggregatesOnly(true);
BENCHMARK(nativePass)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(0.5)
        ->Repetitions(kRepetitions)
        ->ReportAggregatesOnly(true);

// Remembers each benchmark's median time per iteration, so the ratios can be told.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median")
                m_seconds[run.run_name.function_name] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        const double *tagged = find("taggedPass");
        const double *bare = find("bareTaggedPass");
        const double *native = find("nativePass");
        const double perPass = 1e6 / kPasses; // ms per iteration -> ns per pass
        if (tagged && native) {
            std::printf("tagged pass %.2f ns, native pass %.2f ns, ratio %.2f\n", *tagged * perPass,
                        *native * perPass, *tagged / *native);
        }
        if (tagged && bare) {
            std::printf("tagged pass %.2f ns, without progress and stop %.2f ns, "
                        "added %+.1f %%\n",
                        *tagged * perPass, *bare * perPass, (*tagged / *bare - 1) * 100);
        }
        if (bare && native)
            std::printf("bare tagged pass against native: ratio %.2f\n", *bare / *native);
    }

private:
    const double *find(const std::string &name) const
    {
        const auto found = m_seconds.find(name);
        return found == m_seconds.end() ? nullptr : &found->second;
    }

    std::map<std::string, double> m_seconds;
};

} // namespace

int main(int argc, char **argv)
{
    // Interleaved repetitions, unless asked otherwise: a build starting next
    // door then slows every benchmark a little rather than one a lot.
    std::vector<char *> args(argv, argv + argc);
    static char interleave[] = "--benchmark_enable_random_interleaving=true";
    const bool chosen = std::any_of(args.begin(), args.end(), [](const char *arg) {
        return std::strncmp(arg, "--benchmark_enable_random_interleaving",
                            std::strlen("--benchmark_enable_random_interleaving"))
                == 0;
    });
    if (!chosen)
        args.insert(args.begin() + 1, interleave);
    int count = static_cast<int>(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&count, args.data());
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
