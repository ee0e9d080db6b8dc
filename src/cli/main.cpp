#include "benchmark/Benchmark.h"
#include "benchmark/Calibration.h"
#include "benchmark/CpuAffinity.h"
#include "benchmark/HeadlessPlatform.h"
#include "benchmark/ParallelRun.h"
#include "formats/PageInput.h"
#include "results/ResultStore.h"
#include "benchmark/RunRegistry.h"
#include "benchmark/SavedMachines.h"
#include "results/SavedRun.h"
#include "results/StorePath.h"
#include "benchmark/SystemInfo.h"
#include "benchmark/Warnings.h"
#include "formats/Csv.h"
#include "cli/ExitStatus.h"
#include "cli/Language.h"
#include "formats/Json.h"
#include "formats/JsonOutput.h"
#include "cli/Options.h"
#include "formats/TextOutput.h"
#include "cli/OutputFile.h"
#include "cli/OutputTarget.h"
#include "cli/ProgressLine.h"
#include "cli/SignalWatcher.h"
#include "cli/StandardStreams.h"
#include "cli/StoreCommands.h"
#include "formats/TerminalText.h"
#include "mainwindow/Form1.h"
#include "report/Command4_Click.h"
#include "runtime/EventDispatch.h"
#include "runtime/RuntimeError.h"
#include "scoring/ReferenceMachineTable.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <cerrno>
#include <exception>
#include <malloc.h>
#include <new>
#include <optional>
#include <system_error>
#include <unistd.h>

namespace {

using namespace kamorin;

// The reason and where the usage is: the whole usage after it would push the
// reason off a small terminal.
int usageError(const QString &message)
{
    writeError(QStringLiteral("kamorin-cli: ") + escapeControls(message)
               + QStringLiteral("\n使い方は kamorin-cli --help で表示されます。\n"));
    return kUsageStatus;
}

int stopped(int signalNumber)
{
    writeError(QStringLiteral("kamorin-cli: ") + RuntimeError(ErrorNumber::Cancelled).report()
               + u'\n');
    return 128 + signalNumber;
}

// What the machine says no to before anything runs.
std::optional<QString> machineRefuses(const RunOptions &options, const std::vector<int> &cpus,
                                      std::optional<int> &cpu)
{
    if (options.cpu) {
        bool ok = false;
        const int number = options.cpu->toInt(&ok);
        if (!ok || std::find(cpus.begin(), cpus.end(), number) == cpus.end())
            return QStringLiteral("論理 CPU %1 はありません（使える論理 CPU: %2）。")
                    .arg(*options.cpu, describeCpus(cpus));
        cpu = number;
    }
    const int logical = static_cast<int>(cpus.size());
    if (options.threads && *options.threads > logical && !options.forceThreads)
        return QStringLiteral("--threads %1 は論理 CPU の数 (%2) を超えています。"
                              "それでも実行するには --force-threads を付けてください。")
                .arg(*options.threads)
                .arg(logical);
    return std::nullopt;
}

// The seconds of 20,000,000 passes at this machine's median speed.
std::optional<double> referenceRunSeconds(const BenchmarkResult &result, double median)
{
    return standardRunSeconds(median, result.runs.empty() ? 0 : result.runs.back().passes);
}

// The store a run saves to or ranks among, opened before the runs so that a
// store it cannot use stops it before anything runs. Ranking or a report
// only reads: it never creates, brings forward or writes one, and an empty
// file is no store yet.
std::unique_ptr<ResultStore> storeForRun(const RunOptions &options)
{
    if (!options.save && !options.rank && !options.report)
        return nullptr;
    const QString path = resolveStorePath(options.store);
    if (options.save)
        return std::make_unique<ResultStore>(path);
    const QFileInfo file(path);
    if (file.exists() && !(file.isFile() && file.size() == 0))
        return std::make_unique<ResultStore>(path, StoreAccess::Read);
    if (!options.store.isEmpty() || !qEnvironmentVariableIsEmpty("KAMORIN_STORE"))
        writeWarnings({ QStringLiteral("結果の保存先「%1」がないため、保存した機械は加えません。")
                                .arg(path) });
    return nullptr;
}

// The store a command would use, when it uses one.
std::optional<QString> storePathOf(const Command &command)
{
    if (const auto *options = std::get_if<RunOptions>(&command)) {
        if (options->save || options->rank || options->report)
            return resolveStorePath(options->store);
        return std::nullopt;
    }
    if (const auto *storeCommand = std::get_if<StoreCommand>(&command))
        return resolveStorePath(std::visit([](const auto &c) { return c.store; }, *storeCommand));
    return std::nullopt;
}

// What a run did with the store, told after its results.
struct StoreOutcome
{
    std::optional<SavedResult> result;
    std::optional<QString> savedId;
    std::optional<ResultsError> error;

    void fail(const ResultsError &e)
    {
        if (!error)
            error = e;
    }
};

// The option a failed step came from, so that the message names it.
QString failedStepContext(SeriesEnding ending, const RunOptions &options)
{
    if (ending == SeriesEnding::FailedBeforeResults && options.series.count)
        return QStringLiteral("--count \"%1\": ").arg(*options.series.count);
    if (ending == SeriesEnding::FailedWithResults && options.series.machine)
        return QStringLiteral("--machine \"%1\": ").arg(*options.series.machine);
    return {};
}

bool progressWanted(const RunOptions &options)
{
    const QByteArray term = qgetenv("TERM");
    return options.progress && isatty(STDERR_FILENO) && term != "dumb";
}

int run(RunOptions options)
{
    const std::vector<int> cpus = allowedCpus();
    std::optional<int> cpu;
    if (const auto refusal = machineRefuses(options, cpus, cpu))
        return usageError(*refusal);
    // Only once every option is known to be good.
    writeWarnings(options.warnings);

    RunRegistry registry;
    SignalWatcher watcher(registry);
    // Opening and reading the store may wait for another process: a stop
    // signal meanwhile ends the program at once. Nothing has run yet, and a
    // new store's schema cut short is rolled back by SQLite's journal.
    watcher.endProcessOnSignal();
    std::unique_ptr<ResultStore> store;
    // Read before the runs, and so before this run is saved: a store that
    // cannot be read stops the run before it starts.
    std::vector<SavedResult> savedResults;
    try {
        store = storeForRun(options);
        if (store && (options.rank || options.report))
            savedResults = store->history();
    } catch (const ResultsError &error) {
        return failed(error);
    }
    watcher.stopRunsOnSignal();
    std::optional<ProgressLine> progressLine;
    if (progressWanted(options))
        progressLine.emplace(registry);

    BenchmarkResult result;
    result.started = QDateTime::currentDateTimeUtc();
    result.system = readSystemInfo(QStringLiteral("/"), static_cast<int>(cpus.size()),
                                   cpu.value_or(currentCpu()));
    result.warnings = machineWarnings(result.system);
    // In JSON they are members; elsewhere they are told before the runs begin.
    if (!options.json)
        writeWarnings(result.warnings);

    if (cpu && !runCallingThreadOn({ *cpu }))
        return usageError(QStringLiteral("論理 CPU %1 で実行できません。").arg(*cpu));

    if (options.autoCount) {
        registry.setLabel(QStringLiteral("回数の選択"));
        const std::optional<double> rate = measurePassesPerSecond(registry, options.series);
        if (registry.stopSignal() != 0)
            return stopped(registry.stopSignal());
        const ChosenCount chosen = chooseCount(rate.value_or(0), options.minimumSeconds);
        options.series.count = chosen.count;
        options.series.unit = chosen.unit;
        result.chosenCount = chosen;
        registry.setLabel(QString());
    }

    HeadlessPlatform platform(&registry);
    Form1 form;
    Form_Load(form);
    applyPlan(form, options.series);
    result.settings = { form.Combo4.text(),    form.Combo5.text(),    options.autoCount,
                        options.series.warmup, options.series.runs,   cpu,
                        options.threads,       options.minimumSeconds };

    const SeriesEnding ending = runSeries(form, platform, registry, options.series, result);
    if (ending == SeriesEnding::Stopped)
        return stopped(registry.stopSignal());
    std::vector<RunError> errors = platform.takeErrors();
    const QString context = failedStepContext(ending, options);
    for (RunError &error : errors)
        error.message.prepend(context);
    if (ending == SeriesEnding::FailedBeforeResults) {
        writeErrors(errors);
        return kRuntimeErrorStatus;
    }

    const std::optional<Statistics> statistics = result.statistics();
    const QStringList spread = spreadWarnings(statistics);
    result.warnings << spread;
    const bool longEnough = statistics && statistics->median >= options.minimumSeconds;
    QStringList shortness;
    const auto tooShort = [&](const QString &what) {
        return QStringLiteral("計測が %1 秒より短いため、%2は当てになりません"
                              "（--count auto か --min-time を使ってください）。")
                .arg(shortestNumberText(options.minimumSeconds), what);
    };

    if (ending == SeriesEnding::Finished && options.threads) {
        const auto &last = result.runs.back();
        registry.setLabel(QStringLiteral("並列 %1 スレッド").arg(*options.threads));
        ParallelOutcome parallel = runInParallel(options.series, registry, *options.threads,
                                                 cpu ? cpus : std::vector<int>(), last.value,
                                                 last.passes, statistics->median);
        if (parallel.stopped)
            return stopped(registry.stopSignal());
        parallel.result.reliable = longEnough && !speedupAboveThreads(parallel.result);
        if (!longEnough)
            shortness << tooShort(QStringLiteral("速度向上率"));
        result.warnings << parallelWarnings(parallel.result);
        result.parallel = parallel.result;
        errors.insert(errors.end(), parallel.errors.begin(), parallel.errors.end());
    }

    StoreOutcome stored;
    if (ending == SeriesEnding::Finished && options.rank) {
        if (const auto ownSeconds = referenceRunSeconds(result, statistics->median)) {
            const std::vector<SavedMachine> machines = savedMachines(savedResults);
            result.rank = rankAmong(ReferenceMachineTable::entries(), *ownSeconds, machines);
            scoreRowsAsScoreDoes(*result.rank, form);
            result.rank->reliable = longEnough;
            if (!longEnough)
                shortness << tooShort(QStringLiteral("順位"));
        } else {
            errors.push_back({ std::nullopt,
                               QStringLiteral("順位を付けるには 1 回以上のループが必要です。") });
        }
    }
    result.warnings << shortness;

    // COPY, as a user would press it now, so the report matches the form.
    dispatch(platform, [&] { Command4_Click(form, platform); });
    const std::vector<RunError> copyErrors = platform.takeErrors();
    errors.insert(errors.end(), copyErrors.begin(), copyErrors.end());

    // The hint after a run too short to score names what --count auto would
    // take here, found as --count auto finds it.
    std::optional<ChosenCount> autoCount;
    if (!options.json && !options.csv && !form.Command6.enabled() && statistics) {
        registry.setLabel(QStringLiteral("回数の選択"));
        if (const auto rate = measurePassesPerSecond(registry, options.series))
            autoCount = chooseCount(*rate, options.minimumSeconds);
    }
    if (registry.stopSignal() != 0)
        return stopped(registry.stopSignal());

    // The runs are over: from here a stop signal ends the program at once,
    // even in the middle of a blocked write; a save it cuts short is rolled back.
    progressLine.reset();
    watcher.endProcessOnSignal();

    if ((options.save || options.report) && ending == SeriesEnding::Finished) {
        try {
            stored.result = savedResultOf(result, options.label, programVersion());
            if (options.save && store) {
                store->save(*stored.result);
                stored.savedId = stored.result->id;
            }
        } catch (const ResultsError &error) {
            stored.fail(error);
        }
    } else if (options.save || options.report) {
        writeWarnings({ QStringLiteral("計測が最後まで終わらなかったため、結果の保存も"
                                       "レポートもしません。") });
    }
    if (stored.savedId && !options.json)
        writeError(QStringLiteral("kamorin-cli: 結果を保存しました。ID: ") + *stored.savedId
                   + u'\n');
    if (!options.json)
        writeWarnings(spread);
    // Said on stderr whatever the form: a script that reads only the figures
    // must still be told they mean little.
    writeWarnings(shortness);
    const QString &report = platform.clipboardText();
    if (options.csv)
        writeOut(runsAsCsv(result, programVersion()));
    else if (options.json) {
        std::optional<RunError> error;
        if (!errors.empty())
            error = errors.front();
        else if (stored.error)
            error = RunError { std::nullopt, stored.error->message() };
        writeOut(resultsAsJson(form, report, result, stored.savedId, error));
    } else {
        writeOut(resultsAsText(form, report, result, autoCount));
    }
    writeErrors(errors);
    const int storeStatus = stored.error ? failed(*stored.error) : 0;
    if (options.report && stored.result) {
        const PageInput input = pageInputFor(*stored.result, savedResults, std::nullopt,
                                                 QDateTime::currentDateTimeUtc());
        writeOutputFile(*options.report, resolveStorePath(options.store),
                        htmlPage(input).toUtf8());
    }
    if (!errors.empty())
        return kRuntimeErrorStatus;
    return storeStatus;
}

// The output a command writes and the store it must never be.
std::optional<std::pair<QString, QString>> outputAndStore(const Command &command)
{
    if (const auto *options = std::get_if<RunOptions>(&command); options && options->report)
        return std::pair { *options->report, options->store };
    const auto *storeCommand = std::get_if<StoreCommand>(&command);
    if (!storeCommand)
        return std::nullopt;
    if (const auto *compare = std::get_if<CompareResults>(storeCommand); compare && compare->report)
        return std::pair { *compare->report, compare->store };
    if (const auto *exported = std::get_if<ExportResults>(storeCommand))
        return std::pair { exported->file, exported->store };
    return std::nullopt;
}

int dispatchCommand(const Command &command)
{
    if (const auto path = storePathOf(command)) {
        if (const auto refusal = storePathRefusal(*path))
            return usageError(*refusal);
    }
    // Before anything runs: an output over the store would lose every result.
    if (const auto output = outputAndStore(command)) {
        if (const auto refusal = storeAsOutput(output->first, resolveStorePath(output->second)))
            return usageError(*refusal);
    }
    if (const auto *options = std::get_if<RunOptions>(&command))
        return run(*options);
    if (const auto *storeCommand = std::get_if<StoreCommand>(&command)) {
        // A store command may wait for another process's lock: a stop signal
        // ends it at once. What it was changing is then rolled back by
        // SQLite's journal, as after a crash, so the store is as it was.
        RunRegistry registry;
        SignalWatcher watcher(registry);
        watcher.endProcessOnSignal();
        return runStoreCommand(*storeCommand);
    }
    if (std::holds_alternative<ShowHelp>(command)) {
        writeOut(usageText());
        return 0;
    }
    if (std::holds_alternative<ListMachines>(command)) {
        writeOut(machineList());
        return 0;
    }
    if (std::holds_alternative<ShowVersion>(command)) {
        writeOut(QStringLiteral("kamorin-cli ") + programVersion() + u'\n');
        return 0;
    }
    return usageError(std::get<UsageError>(command).message);
}

// Memory that ran out where an exception cannot pass (a noexcept function
// inside Qt, another thread) ends the program as it ends elsewhere, with 71
// rather than an abort; the words are ready, since nothing more can be had.
[[noreturn]] void terminated()
{
    if (const std::exception_ptr current = std::current_exception()) {
        try {
            std::rethrow_exception(current);
        } catch (const std::bad_alloc &) {
            static const char kMessage[] = "kamorin-cli: メモリが足りません。\n";
            [[maybe_unused]] const ssize_t written
                    = ::write(STDERR_FILENO, kMessage, sizeof kMessage - 1);
            _exit(kSystemErrorStatus);
        } catch (...) { }
    }
    std::abort();
}

} // namespace

int main(int argc, char *argv[])
{
    prepareStandardStreams();
    std::set_terminate(terminated);
    // Every thread would otherwise reserve a malloc arena of 64 MiB of address
    // space. Under a memory limit the parallel copies then ran out inside Qt's
    // containers, which cannot report it and crash, before a thread that
    // cannot be made was ever reported. The copies allocate only while they
    // are made, never in the timed loop, so one arena costs them nothing.
    mallopt(M_ARENA_MAX, 1);
    try {
        // First of all, so that every thread, Qt's included, inherits the mask.
        SignalWatcher::blockStopSignals();
        QCoreApplication app(argc, argv);
        installLanguage(app);
        QStringList arguments = QCoreApplication::arguments();
        arguments.removeFirst();
        return dispatchCommand(parseCommandLine(arguments));
    } catch (const OutputFailed &) {
        return kOutputErrorStatus;
    } catch (const std::system_error &error) {
        writeError(QStringLiteral("kamorin-cli: スレッドを作れません: ")
                   + systemMessage(error.code().value()) + u'\n');
        return kSystemErrorStatus;
    } catch (const std::bad_alloc &) {
        writeError(QStringLiteral("kamorin-cli: メモリが足りません: ") + systemMessage(ENOMEM)
                   + u'\n');
        return kSystemErrorStatus;
    }
}
