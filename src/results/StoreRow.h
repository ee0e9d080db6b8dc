#pragma once

#include "benchmark/SavedResult.h"
#include "results/ResultStore.h"

#include <QSqlQuery>
#include <QString>
#include <QVariantList>

#include <span>

namespace kamorin {

// A result as a row of the store's results table, and back.

// The results table's columns, each by its name, in the order of the table
// below: the order a row is saved, read and checksummed in.
enum class ResultColumn
{
    Id,
    Started,
    Label,
    ProgramVersion,
    CpuModel,
    Host,
    Passes,
    Count,
    Unit,
    Options,
    Runs,
    Parallel,
    System,
    Median,
    Warnings,
    RunDetails,
    Checksum,
};

// A column of the results table, written once for the save, the read and the
// schema step that adds it.
struct StoreColumn
{
    ResultColumn column;
    const char *name;
    // The schema version it arrived in; the first version's columns make the
    // table, each later one's are added to it in this order.
    int since;
    // As SQLite declares it; the default is what an older row holds there.
    const char *declaration;
    // Read by a summary listing too; a summary reads `absent` for the rest.
    bool inSummary;
    // Read for the medians alone, as the summary is.
    bool inMedians;
    // What is read in its place from a store older than the column.
    const char *absent;
    // Its value for a result, as saved; none for the checksum, which is of
    // the other values.
    QVariant (*value)(const SavedResult &);
};

std::span<const StoreColumn> storeColumns();
inline constexpr int kStoreColumnCount = int(ResultColumn::Checksum) + 1;

// The columns resultOfRow reads, in the table's order, for a store of
// `schemaVersion`: the column's position in the list is its ResultColumn.
QString resultColumns(HistoryDetail detail, int schemaVersion);
// A row read whole is held to the checksum it was saved with, and every row
// to the shapes of its JSON columns: a row that fails either is damage, a
// ResultsError naming its id in the store at `storePath`.
SavedResult resultOfRow(const QSqlQuery &row, const QString &storePath);

// The columns a result is saved in, and their values for `result` in that order.
const QString &savedColumnNames();
QVariantList rowOfResult(const SavedResult &result);

} // namespace kamorin
