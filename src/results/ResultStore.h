#pragma once

#include "benchmark/SavedResult.h"
#include "results/StoreSchema.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace kamorin {

struct HistoryFilter
{
    // Exactly this label.
    std::optional<QString> label;
    // CPU models that contain this text, ASCII letters in either case.
    std::optional<QString> machineModel;
};

// How much of each result a listing needs.
enum class HistoryDetail
{
    Whole,
    // Without the options, the parallel result and the machine's conditions:
    // what a table of results shows, read in a fraction of the time.
    Summary,
    // Each result's id, start, label, host, CPU model and passes, and its
    // median as its one run: what a ranking and the page draw of the saved
    // results, without a hundred thousand results' runs in memory.
    Medians,
};

struct ImportOutcome
{
    int added = 0;
    // Ids the store already held.
    int skipped = 0;
};

// What a command does with the store.
enum class StoreAccess
{
    // Opens an existing store read-only, as it is: never created, brought
    // forward or written.
    Read,
    // Creates the store (and its directory) when there is no file yet, and
    // brings an older schema forward.
    Write,
};

// Saved results in one SQLite file. Every change is one transaction that
// waits for another process's change to end; a file that is not a Kamorin
// store is refused before anything is written to it. Every operation throws
// ResultsError when the store cannot do it.
class StoreConnection;

class ResultStore
{
public:
    explicit ResultStore(const QString &path, StoreAccess access = StoreAccess::Write);
    ~ResultStore();
    ResultStore(const ResultStore &) = delete;
    ResultStore &operator=(const ResultStore &) = delete;

    const QString &path() const { return m_path; }

    // ResultsError unless a store can be made at `path`, where there is none
    // yet: its folders are made, and must take a file. Nothing else is
    // written, so that a save checked before a run leaves no store behind
    // when the run gives nothing to save.
    static void checkCanMake(const QString &path);

    // ResultsError unless every page of the store reads as SQLite wrote it,
    // in time that grows with the store (about 5 ms for 1,000 results): for a
    // reader of a few results, which could miss a damaged page. Every change
    // checks this first; a reader of every result meets any damage itself.
    void checkUndamaged() const;
    // As checkUndamaged(), and every index agrees with its table, in about
    // the time of reading the whole store: for a reader of every result,
    // which an index that disagrees would give one twice and another never.
    void checkWhole() const;

    // Refused when the id is already there.
    void save(const SavedResult &result);
    // Newest first; results that started at the same time in the order saved, newest first.
    std::vector<SavedResult> history(const HistoryFilter &filter = {},
                                     HistoryDetail detail = HistoryDetail::Whole) const;
    // The results history gives, handed to `visit` one at a time: the store
    // reads them a page at a time, each page a read of its own, so that an
    // export of a whole store holds no more than a page and a slow reader of
    // it never keeps another process from saving. What `visit` throws ends it.
    void eachResult(const HistoryFilter &filter,
                    const std::function<void(const SavedResult &)> &visit) const;
    // "last": the one added last; else the result with this id; else the newest with this
    // label or the one result whose id starts with `key` (8 characters at least),
    // ids in either case. None when nothing matches; ResultsError when an id
    // prefix fits several, or when the label and the prefix name different results.
    std::optional<SavedResult> find(const QString &key) const;
    // The id (in either case) must be there.
    void forget(const QString &id);
    // All of them or none, skipping ids already there.
    ImportOutcome importResults(std::span<const SavedResult> results);

private:
    QString m_path;
    int m_schemaVersion = kStoreSchemaVersion;
    std::unique_ptr<StoreConnection> m_connection;
};

} // namespace kamorin
