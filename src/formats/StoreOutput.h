#pragma once

#include "benchmark/Comparison.h"
#include "benchmark/SavedResult.h"
#include "formats/TerminalText.h"

#include <QString>

#include <functional>
#include <optional>
#include <span>

namespace kamorin {

// The saved results as --history lists them, newest first, each with its
// score against `machine` (`scores` in the same order; none where SCORE
// would give none).
struct HistoryListing
{
    std::span<const SavedResult> results;
    std::span<const std::optional<QString>> scores;
    QString machine;
};

// A table in columns by display width: id, start (UTC), label, CPU, host,
// passes, recorded runs, median seconds, score; a long label, CPU or host is
// cut with "…".
QString historyAsText(const HistoryListing &history);

enum class Cells
{
    Cut,
    Whole,
};
// That table's heading and rows, user text escaped for a terminal; long
// texts cut as it cuts them, or whole.
std::vector<QStringList> historyRows(const HistoryListing &history, Cells cells);
// Which of its columns hold figures, read from the right.
const std::vector<bool> &historyColumnsRightAligned();
// A JSON array on one line, each result with what a results file holds of
// it that a listing reads (writeResultSummary), then score and
// score_machine; handed to `write` a piece at a time.
void writeHistoryAsJson(const HistoryListing &history,
                        const std::function<void(const QString &)> &write);
// The header id,started,label,cpu_model,host,program_version,passes,count,
// unit,runs,median,mean,stddev,min,max,score,score_machine and one row a
// result, LF-ended; runs is the number of recorded runs.
QString historyAsCsv(const HistoryListing &history);

struct ComparisonListing
{
    const SavedResult &a;
    const SavedResult &b;
    const Comparison &comparison;
    // For the page: the store's results and when it is written.
    std::span<const SavedResult> saved = {};
    QDateTime written = {};
};

// The two results, the speed ratio, the estimate and its interval, the p-value and the verdict.
QString comparisonAsText(const ComparisonListing &listing);
// Its labelled lines, user text escaped for a terminal.
LabelledLines comparisonLines(const ComparisonListing &listing);
// One object: a, b (ids), a_label, b_label, a_median, b_median, a_runs,
// b_runs (counts), speed_ratio, estimate, ci_low, ci_high, u, p_value, exact, verdict.
QString comparisonAsJson(const ComparisonListing &listing);
// The same members as a header and one row.
QString comparisonAsCsv(const ComparisonListing &listing);

} // namespace kamorin
