#pragma once

#include "benchmark/Session.h"
#include "cli/Options.h"
#include "results/ResultsError.h"

#include <memory>
#include <optional>

namespace kamorin {

class ResultStore;

// The store a run saves to or ranks among, as its session needs it. Ranking
// or a page only reads: it never creates, brings forward or writes a store,
// and an empty file is no store yet. The first failure is kept for the front.
class RunStore : public SessionStore
{
public:
    explicit RunStore(const RunOptions &options);
    ~RunStore() override;

    std::optional<std::vector<SavedResult>> openBeforeRuns(bool read) override;
    std::optional<SavedResult> resultToKeep(const BenchmarkResult &result) override;
    bool save(const SavedResult &result) override;

    const std::optional<ResultsError> &error() const { return m_error; }

private:
    const RunOptions &m_options;
    std::unique_ptr<ResultStore> m_store;
    std::optional<QString> m_storeToMake;
    std::optional<ResultsError> m_error;
};

// Why `command` may not use its store as it names it, or write its output
// over the store, before anything runs: an output over the store would lose
// every result.
std::optional<QString> storeRefusal(const Command &command);

} // namespace kamorin
