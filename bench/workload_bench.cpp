// Cost of one pass of the run command's workload, tagged against native.
//
// The tagged pass is the real loop the run command times. The native pass
// does the same eight operations in plain doubles, including the general
// power function, which dominates it. Both run in the same process, one
// after the other, and the ratio of their per-pass times is printed last.

#include "measure/LeibnizSeries.h"
#include "runtime/LoopProgress.h"
#include "runtime/Variant.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>

namespace {

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

void taggedPass(benchmark::State &state)
{
    const kamorin::Variant end = kamorin::Variant::real(kPasses);
    kamorin::LoopProgress progress;
    for (auto _ : state)
        benchmark::DoNotOptimize(kamorin::sumLeibnizSeries(end, progress));
    state.counters["ns_per_pass"]
            = benchmark::Counter(kPasses * static_cast<double>(state.iterations()),
                                 benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void nativePass(benchmark::State &state)
{
    double end = kPasses;
    for (auto _ : state) {
        benchmark::DoNotOptimize(end);
        benchmark::DoNotOptimize(nativeSeries(end));
    }
    state.counters["ns_per_pass"]
            = benchmark::Counter(kPasses * static_cast<double>(state.iterations()),
                                 benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

BENCHMARK(taggedPass)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(nativePass)->Unit(benchmark::kMillisecond)->MinTime(2);

// Remembers each benchmark's time per iteration, so the ratio can be told.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs)
            m_seconds[run.run_name.function_name] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        const auto tagged = m_seconds.find("taggedPass");
        const auto native = m_seconds.find("nativePass");
        if (tagged == m_seconds.end() || native == m_seconds.end())
            return;
        const double perPass = 1e6 / kPasses; // ms per iteration -> ns per pass
        std::printf("tagged pass %.2f ns, native pass %.2f ns, ratio %.2f\n",
                    tagged->second * perPass, native->second * perPass,
                    tagged->second / native->second);
    }

private:
    std::map<std::string, double> m_seconds;
};

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
