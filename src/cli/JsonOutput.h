#pragma once

#include <QString>

namespace kamorin {

class Form1;
struct BenchmarkResult;

// The results the form shows and the report COPY made, then what the runs
// measured, as one JSON object on one line (members in a fixed order).
QString resultsAsJson(const Form1 &form, const QString &report, const BenchmarkResult &benchmark);

} // namespace kamorin
