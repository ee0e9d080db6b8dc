#include "cli/StoreCommands.h"

#include "benchmark/SavedMachines.h"
#include "cli/ExitStatus.h"
#include "cli/ImportInput.h"
#include "cli/SignalWatcher.h"
#include "formats/FigureText.h"
#include "formats/Format.h"
#include "formats/TerminalText.h"
#include "formats/WarningText.h"
#include "output/OutputFile.h"
#include "output/OutputTarget.h"
#include "output/StandardStreams.h"
#include "results/ResultDocument.h"
#include "results/ResultDocumentWriter.h"
#include "results/StorePath.h"
#include "scoring/ReferenceMachineTable.h"

#include <QCoreApplication>

namespace kamorin {

namespace {

struct Words
{
    Q_DECLARE_TR_FUNCTIONS(StoreCommands)
};

void tell(const QString &message)
{
    writeError(QStringLiteral("kamorin-cli: ") + message + u'\n');
}

// A filter that keeps nothing is most often a mistyped label: an empty
// listing would hide that, and an empty export would replace a good file.
void requireSome(qsizetype found, const HistoryFilter &filter, const ResultStore &store)
{
    if (found != 0 || (!filter.label && !filter.machineModel))
        return;
    QString message;
    if (filter.label && filter.machineModel)
        message = Words::tr("結果の保存先「%1」にラベルが「%2」で、CPU の機種に「%3」を含む"
                            "結果はありません。")
                          .arg(store.path(), *filter.label, *filter.machineModel);
    else if (filter.label)
        message = Words::tr("結果の保存先「%1」にラベルが「%2」の結果はありません。")
                          .arg(store.path(), *filter.label);
    else
        message = Words::tr("結果の保存先「%1」にCPU の機種に「%2」を含む結果はありません。")
                          .arg(store.path(), *filter.machineModel);
    throw ResultsError(message, ResultsError::Kind::NoSuchResult);
}

int showHistory(const ShowHistory &command)
{
    const auto store = openExistingStore(command.store, StoreAccess::Read);
    // A listing, in every form, needs less of each result than --export gives.
    const std::vector<SavedResult> results = store->history(command.filter, HistoryDetail::Summary);
    requireSome(static_cast<qsizetype>(results.size()), command.filter, *store);
    const std::vector<std::optional<QString>> scores
            = scoresAgainst(results, *ReferenceMachineTable::lookup(command.machine));
    const HistoryListing listing { results, scores, command.machine, standardOutputColumns() };
    // A text table of nothing would be a heading alone; the other forms stay
    // well formed when empty.
    if (results.empty() && command.form == OutputForm::Text)
        tell(Words::tr("保存した結果はありません（保存先「%1」）。")
                     .arg(escapeControls(store->path())));
    else
        formatFor(command.form).history(listing, [](const QString &piece) { writeOut(piece); });
    return 0;
}

int forget(const ForgetResult &command)
{
    const auto store = openExistingStore(command.store, StoreAccess::Write);
    store->forget(command.id);
    tell(Words::tr("ID %1 の結果を消しました。").arg(escapeControls(command.id)));
    return 0;
}

SavedResult found(const ResultStore &store, const QString &key)
{
    if (auto result = store.find(key))
        return *result;
    throw ResultsError(Words::tr("結果の保存先「%1」に「%2」に当たる結果はありません"
                                 "（ID、ID の先頭 8 文字以上、ラベルか last）。")
                               .arg(store.path(), key),
                       ResultsError::Kind::NoSuchResult);
}

int compare(const CompareResults &command)
{
    const auto store = openExistingStore(command.store, StoreAccess::Read);
    // Two results read by their ids would pass by a damaged page elsewhere.
    store->checkUndamaged();
    const SavedResult a = found(*store, command.a);
    const SavedResult b = found(*store, command.b);
    // It would find no difference, and pass any --fail-if-slower.
    if (a.id == b.id)
        throw ResultsError(Words::tr("「%1」と「%2」はどちらも同じ結果 (ID %3) です。"
                                     "結果をそれ自身と比べることはしません。")
                                   .arg(command.a, command.b, a.id),
                           ResultsError::Kind::Ambiguous);
    const Comparison comparison = compareResults(a, b);
    if (a.passes != b.passes)
        writeWarnings({ Words::tr("A と B のループ回数が違うため、B の時間を A の回数 (%1) に"
                                  "換算して比べます。")
                                .arg(countText(a.passes)) });
    if (command.page) {
        const std::vector<SavedResult> saved = store->history({}, HistoryDetail::Medians);
        const ComparisonListing listing { a, b, comparison, saved,
                                          QDateTime::currentDateTimeUtc() };
        writeOutputFile(*command.page, store->path(), pageFormat().comparison(listing).toUtf8());
    }
    const QString written = formatFor(command.form).comparison({ a, b, comparison });
    if (command.page && namesStandardOutput(*command.page))
        writeError(written);
    else
        writeOut(written);
    if (comparison.verdict == Verdict::NeedMoreRuns && command.failIfSlowerPercent)
        writeWarnings({ Words::tr("判定には両方に %1 回以上の計測が必要なため、"
                                  "--fail-if-slower は判断しませんでした。")
                                .arg(kMinimumRunsForVerdict) });
    if (command.failIfSlowerPercent && slowerBeyond(comparison, *command.failIfSlowerPercent)) {
        tell(Words::tr("B は A より有意に遅く、推定で %1 % 遅くなっています"
                       "（--fail-if-slower は %2 % まで）。")
                     .arg(fixedText(slowdownPercent(comparison), 1),
                          QString::number(*command.failIfSlowerPercent, 'g', 6)));
        return kSlowerStatus;
    }
    return 0;
}

// Result by result from the store to the file: a store of any size is
// exported in little memory. A store that fails in the middle leaves the
// target as it was (unless it is written in place).
int exportResults(const ExportResults &command)
{
    const auto store = openExistingStore(command.store, StoreAccess::Read);
    store->checkWhole();
    OutputFile file(command.file, store->path());
    ResultDocumentWriter document([&](QByteArrayView bytes) { file.write(bytes); },
                                  [](const Warning &w) { return warningText(w); });
    qsizetype written = 0;
    store->eachResult(command.filter, [&](const SavedResult &result) {
        document.add(result);
        ++written;
    });
    // Before the commit: a filter that keeps nothing leaves the target as it was.
    requireSome(written, command.filter, *store);
    document.finish();
    file.commit();
    if (command.file != QStringLiteral("-"))
        tell(Words::tr("%n 件の結果を「%1」に書き出しました。", nullptr, int(written))
                     .arg(escapeControls(command.file)));
    return 0;
}

// Each file whole or not at all, in its own transaction; a refused file is
// told and the others still come in. The store is created only for a file
// that is to come in.
int importResults(const ImportResults &command, SignalWatcher &signals)
{
    const QString path = resolveStorePath(command.store);
    std::unique_ptr<ResultStore> store;
    int status = 0;
    for (const QString &file : command.files) {
        try {
            ImportInput input(file);
            std::vector<SkippedResult> skipped;
            const std::vector<SavedResult> results = readResultDocument(
                    [&](char *buffer, qsizetype size) { return input.read(buffer, size); },
                    input.name(), command.skipBad ? &skipped : nullptr);
            for (const SkippedResult &result : skipped)
                tell(Words::tr("「%1」の結果 %2 は取り込みません: %3。")
                             .arg(escapeControls(input.name()),
                                  result.id.isEmpty() ? Words::tr("(ID なし)")
                                                      : escapeControls(result.id),
                                  escapeControls(result.why)));
            if (!store)
                store = std::make_unique<ResultStore>(path);
            // A stop that comes while the file is committed would otherwise
            // end the process with the file in and a status that says not.
            signals.hold();
            ImportOutcome outcome;
            try {
                outcome = store->importResults(results);
            } catch (...) {
                signals.release();
                throw;
            }
            tell(Words::tr("「%1」: %n 件を取り込みました", nullptr, int(outcome.added))
                         .arg(escapeControls(input.name()))
                 + Words::tr("（すでにあった %n 件は飛ばしました）。", nullptr,
                             int(outcome.skipped)));
            if (const int signalNumber = signals.release();
                signalNumber != 0 && &file != &command.files.back()) {
                tell(Words::tr("中止しました。「%1」までは取り込み済みで、残りのファイルは"
                               "取り込んでいません。")
                             .arg(escapeControls(input.name())));
                return 128 + signalNumber;
            }
        } catch (const ResultsError &error) {
            const int refused = failed(error);
            // A store that cannot take anything ends the import.
            if (error.kind() != ResultsError::Kind::Document)
                return refused;
            status = refused;
        }
    }
    return status;
}

} // namespace

std::unique_ptr<ResultStore> openExistingStore(const QString &store, StoreAccess access)
{
    const QString path = resolveStorePath(store);
    // An empty file is no store yet, and left as it is.
    if (holdsNoStoreYet(path))
        throw ResultsError(Words::tr("結果の保存先「%1」はまだありません"
                                     "（--save か --import で作られます）。")
                                   .arg(path),
                           ResultsError::Kind::NoSuchResult);
    return std::make_unique<ResultStore>(path, access);
}

int runStoreCommand(const StoreCommand &command, SignalWatcher &signals)
{
    try {
        return std::visit(
                [&signals](const auto &c) -> int {
                    using C = std::decay_t<decltype(c)>;
                    if constexpr (std::is_same_v<C, ShowHistory>)
                        return showHistory(c);
                    else if constexpr (std::is_same_v<C, ForgetResult>)
                        return forget(c);
                    else if constexpr (std::is_same_v<C, CompareResults>)
                        return compare(c);
                    else if constexpr (std::is_same_v<C, ExportResults>)
                        return exportResults(c);
                    else
                        return importResults(c, signals);
                },
                command);
    } catch (const ResultsError &error) {
        return failed(error);
    }
}

} // namespace kamorin
