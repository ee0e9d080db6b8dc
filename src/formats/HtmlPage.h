#pragma once

#include "benchmark/Comparison.h"
#include "benchmark/SavedResult.h"

#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

namespace kamorin {

// One machine of the ranking, as the front composed it.
struct PageRankRow
{
    // What the reader sees: a reference machine's name, or a saved machine's
    // CPU model.
    QString name;
    // A saved machine's host and label, drawn under its model: machines of one
    // model are told apart by them.
    QString detail;
    // For 20,000,000 passes.
    double seconds = 0;
    // A saved machine rather than one of the reference table.
    bool saved = false;
    bool thisMachine = false;
    // As the ranking placed it: equal times share a place.
    int position = 0;
};

struct PageComparison
{
    SavedResult a;
    SavedResult b;
    Comparison comparison;
};

struct PageInput
{
    // This run: the machine, its conditions and the recorded runs.
    SavedResult result;
    // Whether `result` is in the store: a run only shown is not counted among
    // the saved results.
    bool resultSaved = false;
    // In any order; drawn fastest first.
    std::vector<PageRankRow> ranking;
    // The saved results of this machine's model, in any order; `result` among
    // them when it is saved.
    std::vector<SavedResult> modelHistory;
    std::optional<PageComparison> comparison;
    // When the page was written.
    QDateTime written;
};

// One self-contained HTML page in Japanese: inline SVG charts, the reader's
// own fonts with a Japanese fallback list, no script and no reference to any
// other file or the network; laid out to print on A4. Every text that came
// from a user or a file is escaped.
QString htmlPage(const PageInput &input);

} // namespace kamorin
