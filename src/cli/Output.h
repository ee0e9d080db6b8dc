#pragma once

#include <QString>

namespace kamorin {

class Form1;
struct BenchmarkResult;
struct Ranking;

// A short summary in Japanese of what the form shows and what the runs
// measured, then the report with the terminal's line ends, then the
// ranking when one was made. Text from the user is shown with its control
// characters escaped.
QString resultsAsText(const Form1 &form, const QString &report, const BenchmarkResult &benchmark);

// One row a line: place, name, seconds ("##0.00") and score ("##0.000"),
// under a heading, in columns aligned by display width.
QString rankingAsText(const Ranking &ranking);

// The machines the reference list offers, in its order: name, tab, seconds.
QString machineList();

} // namespace kamorin
