#pragma once

#include "benchmark/SavedResult.h"
#include "results/ResultStore.h"

#include <QSqlQuery>
#include <QString>
#include <QVariantList>

namespace kamorin {

// A result as a row of the store's results table, and back.

// The columns resultOfRow reads, in its order, for a store of `schemaVersion`.
QString resultColumns(HistoryDetail detail, int schemaVersion);
// A row read whole is held to the checksum it was saved with, and every row
// to the shapes of its JSON columns: a row that fails either is damage, a
// ResultsError naming its id in the store at `storePath`.
SavedResult resultOfRow(const QSqlQuery &row, const QString &storePath);

// The columns a result is saved in, and their values for `result` in that order.
inline constexpr char kResultRowColumns[]
        = "id, started, label, program_version, cpu_model, host, passes, count, unit, options, "
          "runs, parallel, system, median, warnings, run_details, checksum";
QVariantList rowOfResult(const SavedResult &result);

} // namespace kamorin
