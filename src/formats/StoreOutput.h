#pragma once

#include "benchmark/Comparison.h"
#include "benchmark/SavedResult.h"
#include "formats/TerminalText.h"

#include <QString>

#include <functional>
#include <optional>
#include <span>

namespace kamorin {

// What every format shares of the store commands' answers.

// The saved results as --history lists them, newest first, each with its
// score against `machine` (`scores` in the same order; none where SCORE
// would give none).
struct HistoryListing
{
    std::span<const SavedResult> results;
    std::span<const std::optional<QString>> scores;
    QString machine;
    // The terminal's width when stdout is one: the text table fits it.
    std::optional<int> columns = std::nullopt;
};

// The score of the listing's `i`th result.
std::optional<QString> scoreAt(const HistoryListing &history, std::size_t i);

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

struct ComparisonListing
{
    const SavedResult &a;
    const SavedResult &b;
    const Comparison &comparison;
    // For the page: the store's results and when it is written.
    std::span<const SavedResult> saved = {};
    QDateTime written = {};
};

// The two results, the speed ratio, the estimate and its interval, the
// p-value and the verdict, as labelled lines, user text escaped for a
// terminal.
LabelledLines comparisonLines(const ComparisonListing &listing);

// A comparison's members by name, the values as JSON or as CSV cells write
// them: a, b (ids), a_label, b_label, a_median, b_median, a_runs, b_runs
// (counts), speed_ratio, estimate, ci_low, ci_high, u, p_value, exact,
// verdict.
struct ComparisonCells
{
    QStringList names;
    QStringList values;
};
enum class CellsFor
{
    Json,
    Csv,
};
ComparisonCells comparisonCellsOf(const ComparisonListing &listing, CellsFor cellsFor);

} // namespace kamorin
