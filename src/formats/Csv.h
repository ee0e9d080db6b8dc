#pragma once

#include "benchmark/BenchmarkResult.h"

#include <QString>

#include <optional>

namespace kamorin {

// A field as RFC 4180 writes it: quoted, with its quotes doubled, when it
// holds a comma, a quote or a line break; as it is otherwise. A text that a
// spreadsheet would take for a formula (starting with =, +, -, @, a tab or a
// carriage return, and no number) starts with a quote ' first.
QString csvField(const QString &text);

// A number in its shortest exact form; empty for none or one not finite.
QString csvNumber(std::optional<double> value);

// The header run,loops,seconds,ns_per_pass,value,digits,score,count,unit,
// passes,warmup,runs,cpu,threads,min_time,started,version and one row per
// recorded run, each line ended by LF; a short run's score cell is empty, as
// are the cells of a CPU or threads not chosen. The columns from count on
// say what shaped the run and repeat on every row, so each row stands alone.
QString runsAsCsv(const BenchmarkResult &benchmark, const QString &version);

} // namespace kamorin
