#include "cli/ExitStatus.h"
#include "cli/Language.h"
#include "cli/RunStore.h"
#include "cli/SessionFront.h"
#include "cli/SignalWatcher.h"
#include "cli/StoreCommands.h"
#include "formats/Format.h"
#include "formats/SessionText.h"
#include "formats/TerminalText.h"
#include "formats/TextOutput.h"
#include "formats/WarningText.h"
#include "output/OutputFile.h"
#include "output/OutputTarget.h"
#include "output/StandardStreams.h"
#include "results/StorePath.h"

#include <QCoreApplication>
#include <QDateTime>

#include <cerrno>
#include <exception>
#include <malloc.h>
#include <new>
#include <system_error>

namespace {

using namespace kamorin;

struct Words
{
    Q_DECLARE_TR_FUNCTIONS(main)
};

// The reason and where the usage is: the whole usage after it would push the
// reason off a small terminal.
int usageError(const QString &message)
{
    writeError(QStringLiteral("kamorin-cli: ") + escapeControls(message)
               + Words::tr("\n使い方は kamorin-cli --help で表示されます。\n"));
    return kUsageStatus;
}

// What a run answers, as its formats take it.
RunAnswer answerOf(const SessionOutcome &outcome, const std::vector<RunError> &errors,
                   const RunStore &store)
{
    std::optional<RunError> error;
    if (!errors.empty())
        error = errors.front();
    else if (store.error())
        error = RunError { std::nullopt, store.error()->message() };
    return { outcome.window,         outcome.result,
             outcome.savedId,        error,
             outcome.hintCount,      outcome.kept ? &*outcome.kept : nullptr,
             outcome.savedResults,   QDateTime::currentDateTimeUtc(),
             standardOutputColumns() };
}

int run(const RunOptions &options)
{
    if (options.page)
        checkOutputFolder(*options.page);
    RunRegistry registry;
    RunStore store(options);
    SessionFront front(registry, options);
    const SessionOutcome outcome
            = runSession(planOf(options), registry, front, options.usesStore() ? &store : nullptr);
    std::vector<RunError> errors;
    for (const SessionError &error : outcome.errors)
        errors.push_back(sessionErrorText(error, options.series));
    switch (outcome.ending) {
    case SessionEnding::Refused:
        return usageError(refusalText(*outcome.refusal));
    case SessionEnding::StoreUnreadable:
        return failed(*store.error());
    case SessionEnding::Stopped:
        return stopped(outcome.stopSignal);
    case SessionEnding::FailedBeforeResults:
        writeErrors(errors);
        return kRuntimeErrorStatus;
    case SessionEnding::Done:
        break;
    }
    if (outcome.notKept)
        writeWarnings({ Words::tr(
                "計測が最後まで終わらなかったため、結果の保存もレポートもしません。") });
    const bool toStderr = !outputFormEntry(options.form).carriesNotices;
    if (outcome.savedId && toStderr)
        writeError(Words::tr("kamorin-cli: 結果を保存しました。ID: %1\n").arg(*outcome.savedId));
    if (toStderr)
        writeWarnings(warningTextsTold(Told::AfterRuns, outcome.result.warnings));
    writeWarnings(warningTextsTold(Told::AfterRunsAlways, outcome.result.warnings));
    const RunAnswer answer = answerOf(outcome, errors, store);
    const QString written = formatFor(options.form).run(answer);
    if (options.page && namesStandardOutput(*options.page))
        writeError(written);
    else
        writeOut(written);
    writeErrors(errors);
    const int storeStatus = store.error() ? failed(*store.error()) : 0;
    if (options.page && outcome.kept)
        writeOutputFile(*options.page, resolveStorePath(options.store),
                        pageFormat().run(answer).toUtf8());
    return errors.empty() ? storeStatus : kRuntimeErrorStatus;
}

int dispatchCommand(const Command &command)
{
    if (const auto refusal = storeRefusal(command))
        return usageError(*refusal);
    if (const auto *options = std::get_if<RunOptions>(&command))
        return run(*options);
    if (const auto *storeCommand = std::get_if<StoreCommand>(&command)) {
        // A store command may wait for another process's lock: a stop signal
        // ends it at once. What it was changing is then rolled back by
        // SQLite's journal, as after a crash, so the store is as it was.
        RunRegistry registry;
        SignalWatcher watcher(registry);
        watcher.endProcessOnSignal();
        return runStoreCommand(*storeCommand, watcher);
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

} // namespace

// What ends the program from an exception main() catches, said while the
// user's language is still installed; anything else goes on to terminate.
int endedBy(const std::exception_ptr &exception)
{
    try {
        std::rethrow_exception(exception);
    } catch (const OutputFailed &) {
        return kOutputErrorStatus;
    } catch (const std::system_error &error) {
        writeError(Words::tr("kamorin-cli: スレッドを作れません: %1\n")
                           .arg(systemMessage(error.code().value())));
        return kSystemErrorStatus;
    } catch (const std::bad_alloc &) {
        writeError(Words::tr("kamorin-cli: メモリが足りません: %1\n").arg(systemMessage(ENOMEM)));
        return kSystemErrorStatus;
    }
}

int main(int argc, char *argv[])
{
    prepareStandardStreams();
    std::set_terminate(endAsTerminated);
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
        prepareLastWords();
        // Caught while the application, and with it the translation, lives.
        try {
            QStringList arguments = QCoreApplication::arguments();
            arguments.removeFirst();
            return dispatchCommand(parseCommandLine(arguments));
        } catch (...) {
            return endedBy(std::current_exception());
        }
    } catch (...) {
        return endedBy(std::current_exception());
    }
}
