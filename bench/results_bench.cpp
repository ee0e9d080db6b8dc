// What a user waits for around the results store: one save, the history of
// 10,000 results (read and scored here, and listed as JSON by a whole
// kamorin-cli process), a report over them (read from the store, ranked and
// drawn), the page over 100,000 results of one model (drawn here, and written
// by a whole kamorin-cli process: its bytes, time and peak memory), the import
// of a 10,000-result file, and what one saved result of ten runs costs on the
// disk.
#include "benchmark/SavedMachines.h"
#include "benchmark/SystemInfo.h"
#include "formats/HtmlPage.h"
#include "formats/PageInput.h"
#include "results/ResultDocument.h"
#include "results/ResultDocumentWriter.h"
#include "results/ResultStore.h"
#include "support/SampleResult.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace kamorin;

namespace {

constexpr int kMany = 10000;

QTemporaryDir &scratch()
{
    static QTemporaryDir dir;
    return dir;
}

std::vector<SavedResult> manyResults()
{
    std::vector<SavedResult> results;
    const QDateTime first(QDate(2025, 1, 1), QTime(0, 0), Qt::UTC);
    for (int i = 0; i < kMany; ++i)
        results.push_back(sampleResult(QStringLiteral("run %1").arg(i),
                                       i % 2 ? QStringLiteral("AMD Ryzen 7 5800X 8-Core Processor")
                                             : QStringLiteral("Intel(R) Xeon(R) CPU @ 2.20GHz"),
                                       first.addSecs(i * 3600)));
    return results;
}

QString storeWithMany()
{
    static const QString path = [] {
        const QString file = scratch().filePath(QStringLiteral("many.sqlite"));
        ResultStore(file).importResults(manyResults());
        return file;
    }();
    return path;
}

QString documentWithMany()
{
    static const QString path = [] {
        const QString file = scratch().filePath(QStringLiteral("many.json"));
        QFile out(file);
        out.open(QIODevice::WriteOnly);
        out.write(resultDocument(manyResults(), [](const Warning &) { return QString(); }));
        return file;
    }();
    return path;
}

// A fleet's years of nightly runs: 100,000 results of this machine's model,
// ten minutes apart, from 700 machines, so that the page of a run here has
// all of them in its history and ranking.
constexpr int kFleet = 100000;
constexpr int kFleetMachines = 700;

const std::vector<SavedResult> &fleetResults()
{
    static const std::vector<SavedResult> results = [] {
        std::vector<SavedResult> made;
        made.reserve(kFleet);
        const QDateTime first(QDate(2025, 1, 1), QTime(0, 0), Qt::UTC);
        const QString model = readSystemInfo(QStringLiteral("/"), 1, 0).cpuModel;
        for (int i = 0; i < kFleet; ++i)
            made.push_back(sampleResult(QStringLiteral("node-%1").arg(i % kFleetMachines), model,
                                        first.addSecs(qint64(i) * 600)));
        return made;
    }();
    return results;
}

QString storeWithFleet()
{
    static const QString path = [] {
        const QString file = scratch().filePath(QStringLiteral("fleet.sqlite"));
        ResultStore(file).importResults(fleetResults());
        return file;
    }();
    return path;
}

void BM_Save(benchmark::State &state)
{
    ResultStore store(scratch().filePath(QStringLiteral("save.sqlite")));
    for (auto _ : state)
        store.save(sampleResult());
}
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);

// What --history does before it formats its table: read every result and
// score each against a reference machine.
void BM_HistoryOf10000(benchmark::State &state)
{
    ResultStore store(storeWithMany());
    for (auto _ : state) {
        const std::vector<SavedResult> results = store.history({}, HistoryDetail::Summary);
        benchmark::DoNotOptimize(scoresAgainst(results, 46.72));
    }
}
BENCHMARK(BM_HistoryOf10000)->Unit(benchmark::kMillisecond);

// KAMORIN_CLI in the environment names another build's kamorin-cli, so that
// two builds can be timed turn about in one sitting.
const char *kamorinCli()
{
    const char *chosen = std::getenv("KAMORIN_CLI");
    return chosen && *chosen ? chosen : KAMORIN_CLI;
}

// `kamorin-cli --history --json` over the 10,000 results as a user runs it,
// start-up and all: its wall time, and the processor time it took beside it.
// kamorin-cli run once with stdout to /dev/null, timed from the spawn to its
// end; none unless it exited with 0.
std::optional<double> timedRun(const char *program, char *const argv[], rusage &usage)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (spawned != 0 || wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status)
        || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_HistoryJsonProcessOf10000(benchmark::State &state)
{
    const QByteArray store = QFile::encodeName(storeWithMany());
    const char *program = kamorinCli();
    char *const argv[] = { const_cast<char *>(program),           const_cast<char *>("--history"),
                           const_cast<char *>("--json"),          const_cast<char *>("--store"),
                           const_cast<char *>(store.constData()), nullptr };
    double processorSeconds = 0;
    const auto toSeconds = [](timeval t) { return double(t.tv_sec) + double(t.tv_usec) * 1e-6; };
    for (auto _ : state) {
        rusage usage {};
        const std::optional<double> seconds = timedRun(program, argv, usage);
        if (!seconds) {
            state.SkipWithError("kamorin-cli --history --json failed");
            return;
        }
        state.SetIterationTime(*seconds);
        processorSeconds += toSeconds(usage.ru_utime) + toSeconds(usage.ru_stime);
    }
    state.counters["cpu_ms"] = processorSeconds / double(state.iterations()) * 1e3;
}
BENCHMARK(BM_HistoryJsonProcessOf10000)->Unit(benchmark::kMillisecond)->UseManualTime();

void BM_ReportOver10000(benchmark::State &state)
{
    ResultStore store(storeWithMany());
    const SavedResult result = sampleResult();
    const QString path = scratch().filePath(QStringLiteral("report.html"));
    // Every result a machine of its own (each has its own label): the
    // ranking at its largest.
    for (auto _ : state) {
        const std::vector<SavedResult> saved = store.history({}, HistoryDetail::Medians);
        const PageInput input = pageInputFor(result, ResultSaved::No, saved, std::nullopt,
                                             QDateTime::currentDateTimeUtc());
        QFile out(path);
        out.open(QIODevice::WriteOnly);
        out.write(htmlPage(input).toUtf8());
    }
    state.counters["bytes"] = double(QFileInfo(path).size());
}
BENCHMARK(BM_ReportOver10000)->Unit(benchmark::kMillisecond);

// The page of a run that was not saved, over the fleet's results held in
// memory: what the page itself costs, the store's reading aside.
void BM_PageOver100000(benchmark::State &state)
{
    const std::vector<SavedResult> &saved = fleetResults();
    const SavedResult result
            = sampleResult(QStringLiteral("nightly"), saved.front().system.cpuModel);
    qsizetype bytes = 0;
    for (auto _ : state) {
        const PageInput input = pageInputFor(result, ResultSaved::No, saved, std::nullopt,
                                             QDateTime::currentDateTimeUtc());
        bytes = htmlPage(input).toUtf8().size();
    }
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_PageOver100000)->Unit(benchmark::kMillisecond);

// `kamorin-cli --report` over the fleet's store as a user runs it, a short
// run and the store's reading included: its wall time, the page's bytes and
// the process's peak memory.
void BM_ReportProcessOver100000(benchmark::State &state)
{
    const QByteArray store = QFile::encodeName(storeWithFleet());
    const QString page = scratch().filePath(QStringLiteral("fleet.html"));
    const QByteArray pagePath = QFile::encodeName(page);
    const char *program = kamorinCli();
    char *const argv[] = { const_cast<char *>(program),
                           const_cast<char *>("--count"),
                           const_cast<char *>("1"),
                           const_cast<char *>("--unit"),
                           const_cast<char *>("万回"),
                           const_cast<char *>("--json"),
                           const_cast<char *>("--store"),
                           const_cast<char *>(store.constData()),
                           const_cast<char *>("--report"),
                           const_cast<char *>(pagePath.constData()),
                           nullptr };
    long peakKilobytes = 0;
    for (auto _ : state) {
        rusage usage {};
        const std::optional<double> seconds = timedRun(program, argv, usage);
        if (!seconds) {
            state.SkipWithError("kamorin-cli --report failed");
            return;
        }
        state.SetIterationTime(*seconds);
        peakKilobytes = std::max(peakKilobytes, usage.ru_maxrss);
    }
    state.counters["bytes"] = double(QFileInfo(page).size());
    state.counters["peak_MB"] = double(peakKilobytes) / 1024;
}
BENCHMARK(BM_ReportProcessOver100000)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(3);

void BM_ImportOf10000(benchmark::State &state)
{
    const QString document = documentWithMany();
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto store = std::make_unique<ResultStore>(
                scratch().filePath(QStringLiteral("import%1.sqlite").arg(round++)));
        state.ResumeTiming();
        store->importResults(readResultDocument(document));
    }
}
BENCHMARK(BM_ImportOf10000)->Unit(benchmark::kMillisecond);

// Not a time: the file's growth per result of ten runs, once the store holds
// a thousand of them.
void BM_GrowthPerSavedResult(benchmark::State &state)
{
    constexpr int kSaves = 1000;
    const QString path = scratch().filePath(QStringLiteral("growth.sqlite"));
    double perResult = 0;
    for (auto _ : state) {
        QFile::remove(path);
        ResultStore store(path);
        const qint64 empty = QFileInfo(path).size();
        for (int i = 0; i < kSaves; ++i)
            store.save(sampleResult(QStringLiteral("nightly %1").arg(i)));
        perResult = double(QFileInfo(path).size() - empty) / kSaves;
    }
    state.counters["bytes_per_result"] = perResult;
}
BENCHMARK(BM_GrowthPerSavedResult)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    // The SQL driver is a plugin, found through the application.
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
