#pragma once

#include "benchmark/BenchmarkResult.h"

#include <QString>

namespace kamorin {

// A field as RFC 4180 writes it: quoted, with its quotes doubled, when it
// holds a comma, a quote or a line break; as it is otherwise.
QString csvField(const QString &text);

// The header run,loops,seconds,ns_per_pass,value,digits,score and one row
// per recorded run; a short run's score cell is empty.
QString runsAsCsv(const std::vector<RecordedRun> &runs);

} // namespace kamorin
