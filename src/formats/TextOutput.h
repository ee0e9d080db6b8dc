#pragma once

#include "benchmark/BenchmarkResult.h"
#include "benchmark/WindowReadings.h"
#include "formats/TerminalText.h"

#include <QString>

#include <optional>

namespace kamorin {

// A short summary of what the window shows and what the runs
// measured, its values in one column by display width, then the report with
// the terminal's line ends, then the ranking when one was made. Text from
// the user is shown with its control characters escaped. `autoCount` is the
// count --count auto would choose here, named in the hint after a run too
// short to score.
QString resultsAsText(const WindowReadings &window, const BenchmarkResult &benchmark,
                      const std::optional<ChosenCount> &autoCount,
                      std::optional<int> columns = std::nullopt);

// The summary's labelled lines, user text escaped for a terminal.
LabelledLines summaryLines(const WindowReadings &window, const BenchmarkResult &benchmark);
// After a run too short to score, what to do about it, ended by a line
// break; empty when SCORE could score it.
QString scoreHint(const WindowReadings &window, const std::optional<ChosenCount> &autoCount);

// One row a line: place, name, seconds ("##0.00") and SCORE's text, under a
// heading, in columns aligned by display width; the names cut to fit
// `columns` when given.
QString rankingAsText(const Ranking &ranking, std::optional<int> columns = std::nullopt);

// The machines the reference list offers, in its order: name, tab, seconds.
QString machineList();

// "1.2.7", as --version and the outputs name the program.
QString programVersion();

} // namespace kamorin
