#pragma once

#include "benchmark/BenchmarkResult.h"
#include "benchmark/WindowReadings.h"

#include <QString>

#include <optional>

namespace kamorin {

// One JSON object on one line, members in a fixed order: what produced it
// (program, started, settings), what the window shows and the report COPY
// made (grouped as window), what the runs measured, the id of the result
// when it was saved (null otherwise), and the error that ends the program
// with status 2 or a store's status (null when none).
QString resultsAsJson(const WindowReadings &window, const BenchmarkResult &benchmark,
                      const std::optional<QString> &savedId, const std::optional<RunError> &error);

} // namespace kamorin
