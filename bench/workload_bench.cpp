// Cost of one pass of the run command's workload, tagged against native.
//
// The tagged pass is the real loop the run command times, progress report and
// stop test included. The bare tagged pass is a copy of it here that makes the
// same runtime calls but neither reports nor asks: the two together show what
// watching the loop costs. The native pass does the same eight operations in
// plain doubles, including the general power function, which dominates it.
// All run in the same process, their repetitions interleaved, and the ratios
// of their median per-pass times are printed last.
//
// The whole-process pass is the same loop as kamorin-cli times it, with its
// start-up, Qt and the session run first in that process: a figure that
// depends on what ran before the loop (the processor state it leaves, say)
// shows as a ratio to the in-process pass. It is kamorin-cli's own run
// seconds; the process's processor time is told beside it.

#include "measure/LeibnizSeries.h"
#include "runtime/Arithmetic.h"
#include "runtime/CountedLoop.h"
#include "runtime/LoopProgress.h"
#include "runtime/Variant.h"
#include "runtime/VectorState.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <optional>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

using kamorin::Variant;

constexpr double kPasses = 200000;

[[gnu::noinline]] double nativeSeries(double end)
{
    // As the real loop starts: the whole-process pass reads its JSON with Qt,
    // whose hash can leave the upper vector state dirty for the loops here.
    kamorin::clearUpperVectorState();
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

// Keep in step with sumLeibnizSeries, less its progress, stop and probes.
[[gnu::noinline]] Variant bareTaggedSeries(Variant end)
{
    kamorin::clearUpperVectorState();
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

constexpr double kWholeProcessPasses = 1e7;

struct ProcessRun
{
    double runSeconds = 0;
    double processorSeconds = 0;
};

std::optional<ProcessRun> runKamorinCli()
{
    char *const argv[] = { const_cast<char *>(KAMORIN_CLI),
                           const_cast<char *>("--json"),
                           const_cast<char *>("--count"),
                           const_cast<char *>("1000"),
                           const_cast<char *>("--unit"),
                           const_cast<char *>("万回"),
                           const_cast<char *>("--speed"),
                           const_cast<char *>("0"),
                           nullptr };
    int out[2];
    if (pipe(out) != 0)
        return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, KAMORIN_CLI, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    QByteArray json;
    char buffer[4096];
    for (ssize_t got; spawned == 0 && (got = read(out[0], buffer, sizeof buffer)) > 0;)
        json.append(buffer, got);
    close(out[0]);
    if (spawned != 0)
        return std::nullopt;
    int status = 0;
    rusage usage {};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    const QJsonValue seconds
            = QJsonDocument::fromJson(json).object()[u"runs"].toArray().at(0)[u"seconds"];
    if (!seconds.isDouble())
        return std::nullopt;
    const auto toSeconds = [](timeval t) { return double(t.tv_sec) + double(t.tv_usec) * 1e-6; };
    return ProcessRun { seconds.toDouble(), toSeconds(usage.ru_utime) + toSeconds(usage.ru_stime) };
}

void wholeProcessPass(benchmark::State &state)
{
    double runSeconds = 0;
    double processorSeconds = 0;
    for (auto _ : state) {
        const std::optional<ProcessRun> run = runKamorinCli();
        if (!run) {
            state.SkipWithError("kamorin-cli did not give its run's seconds");
            return;
        }
        state.SetIterationTime(run->runSeconds);
        runSeconds += run->runSeconds;
        processorSeconds += run->processorSeconds;
    }
    const double passes = kWholeProcessPasses * static_cast<double>(state.iterations());
    // A rate counter would divide by this process's processor time, which
    // is only its waiting.
    state.counters["ns_per_pass"] = runSeconds / passes * 1e9;
    state.counters["cpu_ns_per_pass"] = processorSeconds / passes * 1e9;
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
BENCHMARK(wholeProcessPass)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(kRepetitions)
        ->ReportAggregatesOnly(true);

// Remembers each benchmark's median time per iteration, so the ratios can be told.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median") {
                m_seconds[run.run_name.function_name] = run.GetAdjustedRealTime();
                m_processorSeconds[run.run_name.function_name] = run.GetAdjustedCPUTime();
                const auto cpu = run.counters.find("cpu_ns_per_pass");
                if (cpu != run.counters.end())
                    m_processorNsPerPass = cpu->second.value;
            }
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
        if (const double *whole = find("wholeProcessPass"); whole && tagged && native) {
            const double wholeNs = *whole * 1e6 / kWholeProcessPasses;
            std::printf("kamorin-cli's pass %.2f ns (processor time of the whole process %.2f ns), "
                        "in-process tagged pass %.2f ns: ratio %.2f; against native %.2f\n",
                        wholeNs, m_processorNsPerPass, *tagged * perPass,
                        wholeNs / (*tagged * perPass), wholeNs / (*native * perPass));
            // On a busy machine the clock counts the waiting too; processor time does not.
            const double taggedCpu = m_processorSeconds["taggedPass"] * perPass;
            const double nativeCpu = m_processorSeconds["nativePass"] * perPass;
            std::printf("in processor time: kamorin-cli's whole process %.2f ns, in-process tagged "
                        "pass %.2f ns, native %.2f ns: ratio %.2f; against native %.2f\n",
                        m_processorNsPerPass, taggedCpu, nativeCpu,
                        m_processorNsPerPass / taggedCpu, m_processorNsPerPass / nativeCpu);
        }
    }

private:
    const double *find(const std::string &name) const
    {
        const auto found = m_seconds.find(name);
        return found == m_seconds.end() ? nullptr : &found->second;
    }

    std::map<std::string, double> m_seconds;
    std::map<std::string, double> m_processorSeconds;
    double m_processorNsPerPass = 0;
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
