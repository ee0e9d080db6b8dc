// What a user waits for around the results store: one save, the history of
// 10,000 results, a report over them (read from the store, ranked and drawn), the import of a
// 10,000-result file, and what one saved result of ten runs costs on the disk.
#include "benchmark/SavedMachines.h"
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

#include <benchmark/benchmark.h>

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

void BM_ReportOver10000(benchmark::State &state)
{
    ResultStore store(storeWithMany());
    const SavedResult result = sampleResult();
    const QString path = scratch().filePath(QStringLiteral("report.html"));
    // Every result a machine of its own (each has its own label): the
    // ranking at its largest.
    for (auto _ : state) {
        const std::vector<SavedResult> saved = store.history();
        const PageInput input = pageInputFor(result, ResultSaved::No, saved, std::nullopt,
                                             QDateTime::currentDateTimeUtc());
        QFile out(path);
        out.open(QIODevice::WriteOnly);
        out.write(htmlPage(input).toUtf8());
    }
    state.counters["bytes"] = double(QFileInfo(path).size());
}
BENCHMARK(BM_ReportOver10000)->Unit(benchmark::kMillisecond);

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
