#include "cli/RunStore.h"

#include "formats/TextOutput.h"
#include "output/OutputTarget.h"
#include "output/StandardStreams.h"
#include "results/ResultStore.h"
#include "results/SavedRun.h"
#include "results/StorePath.h"

#include <QCoreApplication>

#include <utility>

namespace kamorin {

namespace {

struct Words
{
    Q_DECLARE_TR_FUNCTIONS(RunStoreWords)
};

// The store a command would use, when it uses one.
std::optional<QString> storePathOf(const Command &command)
{
    if (const auto *options = std::get_if<RunOptions>(&command)) {
        if (options->usesStore())
            return resolveStorePath(options->store);
        return std::nullopt;
    }
    if (const auto *storeCommand = std::get_if<StoreCommand>(&command))
        return resolveStorePath(std::visit([](const auto &c) { return c.store; }, *storeCommand));
    return std::nullopt;
}

// The output a command writes and the store it must never be.
std::optional<std::pair<QString, QString>> outputAndStore(const Command &command)
{
    if (const auto *options = std::get_if<RunOptions>(&command); options && options->page)
        return std::pair { *options->page, options->store };
    const auto *storeCommand = std::get_if<StoreCommand>(&command);
    if (!storeCommand)
        return std::nullopt;
    if (const auto *compare = std::get_if<CompareResults>(storeCommand); compare && compare->page)
        return std::pair { *compare->page, compare->store };
    if (const auto *exported = std::get_if<ExportResults>(storeCommand))
        return std::pair { exported->file, exported->store };
    return std::nullopt;
}

} // namespace

RunStore::RunStore(const RunOptions &options) : m_options(options) { }

RunStore::~RunStore() = default;

std::optional<std::vector<SavedResult>> RunStore::openBeforeRuns(bool read)
{
    try {
        const QString path = resolveStorePath(m_options.store);
        // A store made before the runs would stay behind empty after a run
        // that gives nothing to save: it is made with the first save.
        if (m_options.save && holdsNoStoreYet(path)) {
            ResultStore::checkCanMake(path);
            m_storeToMake = path;
        } else if (m_options.save)
            m_store = std::make_unique<ResultStore>(path);
        else if (!holdsNoStoreYet(path))
            m_store = std::make_unique<ResultStore>(path, StoreAccess::Read);
        else if (!m_options.store.isEmpty() || !qEnvironmentVariableIsEmpty("KAMORIN_STORE"))
            writeWarnings({ Words::tr("結果の保存先「%1」がないため、保存した機械は加えません。")
                                    .arg(path) });
        // The ranking and the page take each saved result's machine and median.
        if (m_store && read)
            return m_store->history({}, HistoryDetail::Medians);
        return std::vector<SavedResult>();
    } catch (const ResultsError &error) {
        m_error = error;
        return std::nullopt;
    }
}

std::optional<SavedResult> RunStore::resultToKeep(const BenchmarkResult &result)
{
    try {
        return savedResultOf(result, m_options.label, programVersion());
    } catch (const ResultsError &error) {
        if (!m_error)
            m_error = error;
        return std::nullopt;
    }
}

bool RunStore::save(const SavedResult &result)
{
    try {
        if (!m_store && m_storeToMake)
            m_store = std::make_unique<ResultStore>(*m_storeToMake);
        if (!m_store)
            return false;
        m_store->save(result);
        return true;
    } catch (const ResultsError &error) {
        if (!m_error)
            m_error = error;
        return false;
    }
}

std::optional<QString> storeRefusal(const Command &command)
{
    if (const auto path = storePathOf(command)) {
        if (auto refusal = storePathRefusal(*path))
            return refusal;
    }
    if (const auto output = outputAndStore(command))
        return storeAsOutput(output->first, resolveStorePath(output->second));
    return std::nullopt;
}

} // namespace kamorin
