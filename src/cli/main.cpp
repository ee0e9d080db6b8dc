#include "benchmark/Benchmark.h"
#include "benchmark/CpuAffinity.h"
#include "benchmark/HeadlessPlatform.h"
#include "benchmark/ParallelRun.h"
#include "benchmark/RunRegistry.h"
#include "benchmark/Statistics.h"
#include "benchmark/SystemInfo.h"
#include "benchmark/Warnings.h"
#include "cli/Csv.h"
#include "cli/JsonOutput.h"
#include "cli/Options.h"
#include "cli/Output.h"
#include "cli/ProgressLine.h"
#include "cli/SignalWatcher.h"
#include "cli/TerminalText.h"
#include "mainwindow/Form1.h"
#include "report/Command4_Click.h"
#include "runtime/AppVersion.h"
#include "runtime/EventDispatch.h"
#include "runtime/RuntimeError.h"
#include "scoring/ReferenceMachineTable.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <unistd.h>

namespace {

constexpr int kRuntimeErrorStatus = 2;
constexpr int kUsageStatus = 64; // EX_USAGE

void write(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
    std::fflush(stream);
}

// Error reports may carry a name the user typed; they reach the terminal
// with their control characters escaped.
void writeErrors(const QStringList &reports)
{
    for (const QString &report : reports)
        write(stderr, kamorin::escapeControls(report) + u'\n');
}

void writeWarnings(const QStringList &warnings)
{
    for (const QString &warning : warnings)
        write(stderr, QStringLiteral("kamorin-cli: 警告: ") + warning + u'\n');
}

int usageError(const QString &message)
{
    write(stderr,
          QStringLiteral("kamorin-cli: ") + kamorin::escapeControls(message) + u'\n'
                  + kamorin::usageText());
    return kUsageStatus;
}

int stopped(int signalNumber)
{
    write(stderr,
          QStringLiteral("kamorin-cli: ")
                  + kamorin::RuntimeError(kamorin::ErrorNumber::Cancelled).report() + u'\n');
    return 128 + signalNumber;
}

// What the machine says no to before anything runs.
std::optional<QString> machineRefuses(const kamorin::RunOptions &options,
                                      const std::vector<int> &cpus)
{
    if (options.cpu && std::find(cpus.begin(), cpus.end(), *options.cpu) == cpus.end())
        return QStringLiteral("論理 CPU %1 はありません（使える論理 CPU: %2）。")
                .arg(*options.cpu)
                .arg(kamorin::describeCpus(cpus));
    const int logical = static_cast<int>(cpus.size());
    if (options.threads && *options.threads > logical && !options.forceThreads)
        return QStringLiteral("--threads %1 は論理 CPU の数 (%2) を超えています。"
                              "それでも実行するには --force-threads を付けてください。")
                .arg(*options.threads)
                .arg(logical);
    return std::nullopt;
}

// The seconds of 20,000,000 passes at this machine's median speed.
std::optional<double> referenceRunSeconds(const kamorin::BenchmarkResult &result)
{
    const std::vector<double> seconds = result.seconds();
    const auto statistics = kamorin::statisticsOf(seconds);
    const double passes = result.runs.empty() ? 0 : result.runs.back().passes;
    if (!statistics || !(passes > 0))
        return std::nullopt;
    return statistics->median * 20000000 / passes;
}

int run(const kamorin::RunOptions &options)
{
    const std::vector<int> cpus = kamorin::allowedCpus();
    if (const auto refusal = machineRefuses(options, cpus))
        return usageError(*refusal);

    kamorin::RunRegistry registry;
    const kamorin::SignalWatcher watcher(registry);
    std::optional<kamorin::ProgressLine> progressLine;
    if (isatty(STDERR_FILENO))
        progressLine.emplace(registry);

    kamorin::BenchmarkResult result;
    result.system = kamorin::readSystemInfo(QStringLiteral("/"), static_cast<int>(cpus.size()),
                                            options.cpu.value_or(kamorin::currentCpu()));
    result.warnings = kamorin::machineWarnings(result.system);
    // In JSON they are members; elsewhere they are told before the runs begin.
    if (!options.json)
        writeWarnings(result.warnings);

    if (options.cpu && !kamorin::runCallingThreadOn({ *options.cpu }))
        return usageError(QStringLiteral("論理 CPU %1 で実行できません。").arg(*options.cpu));

    kamorin::HeadlessPlatform platform(&registry);
    kamorin::Form1 form;
    kamorin::Form_Load(form);
    kamorin::applyPlan(form, options.series);

    const kamorin::SeriesEnding ending
            = kamorin::runSeries(form, platform, registry, options.series, result);
    if (ending == kamorin::SeriesEnding::Stopped)
        return stopped(registry.stopSignal());
    QStringList errors = platform.takeErrorReports();
    if (ending == kamorin::SeriesEnding::FailedBeforeResults) {
        writeErrors(errors);
        return kRuntimeErrorStatus;
    }

    const std::vector<double> seconds = result.seconds();
    const std::optional<kamorin::Statistics> statistics = kamorin::statisticsOf(seconds);
    const QStringList spread = kamorin::spreadWarnings(statistics);
    result.warnings << spread;

    if (ending == kamorin::SeriesEnding::Finished && options.threads) {
        const auto &last = result.runs.back();
        const double median = statistics->median;
        registry.setLabel(QStringLiteral("並列 %1 スレッド").arg(*options.threads));
        kamorin::ParallelOutcome parallel = kamorin::runInParallel(
                options.series, registry, *options.threads, options.cpu ? cpus : std::vector<int>(),
                last.value, last.passes, median);
        if (parallel.stopped)
            return stopped(registry.stopSignal());
        result.parallel = parallel.result;
        errors << parallel.errors;
    }

    if (ending == kamorin::SeriesEnding::Finished && options.rank) {
        if (const auto ownSeconds = referenceRunSeconds(result))
            result.rank
                    = kamorin::rankAmong(kamorin::ReferenceMachineTable::entries(), *ownSeconds);
        else
            errors << QStringLiteral("kamorin-cli: 順位を付けるには 1 回以上のループが必要です。");
    }

    // COPY, as a user would press it now, so the report matches the form.
    kamorin::dispatch(platform, [&] { kamorin::Command4_Click(form, platform); });
    errors << platform.takeErrorReports();
    if (registry.stopSignal() != 0)
        return stopped(registry.stopSignal());

    if (!options.json)
        writeWarnings(spread);
    const QString &report = platform.clipboardText();
    if (options.csv)
        write(stdout, kamorin::runsAsCsv(result.runs));
    else if (options.json)
        write(stdout, kamorin::resultsAsJson(form, report, result));
    else
        write(stdout, kamorin::resultsAsText(form, report, result));
    writeErrors(errors);
    return errors.isEmpty() ? 0 : kRuntimeErrorStatus;
}

} // namespace

int main(int argc, char *argv[])
{
    // First of all, so that every thread, Qt's included, inherits the mask.
    kamorin::SignalWatcher::blockStopSignals();
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();

    const kamorin::Command command = kamorin::parseCommandLine(arguments);
    if (const auto *options = std::get_if<kamorin::RunOptions>(&command))
        return run(*options);
    if (std::holds_alternative<kamorin::ShowHelp>(command)) {
        write(stdout, kamorin::usageText());
        return 0;
    }
    if (std::holds_alternative<kamorin::ListMachines>(command)) {
        write(stdout, kamorin::machineList());
        return 0;
    }
    if (std::holds_alternative<kamorin::ShowVersion>(command)) {
        const auto &v = kamorin::kAppVersion;
        write(stdout,
              QStringLiteral("kamorin-cli %1.%2.%3\n").arg(v.major).arg(v.minor).arg(v.revision));
        return 0;
    }
    return usageError(std::get<kamorin::UsageError>(command).message);
}
