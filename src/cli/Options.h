#pragma once

#include "benchmark/Benchmark.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

namespace kamorin {

// Bounds of the counts the command line takes.
inline constexpr int kMaxRuns = 1000;
inline constexpr int kMaxThreads = 1024;

// What the command line asks kamorin-cli to do. Texts left unset keep the
// window's design-time contents.
struct RunOptions
{
    SeriesPlan series;
    bool json = false;
    bool csv = false;
    bool rank = false;
    std::optional<int> threads;
    // More threads than logical CPUs, which measures the scheduler instead.
    bool forceThreads = false;
    std::optional<int> cpu;
};

struct ShowHelp
{ };
struct ShowVersion
{ };
struct ListMachines
{ };
struct UsageError
{
    QString message;
};

using Command = std::variant<RunOptions, ShowHelp, ShowVersion, ListMachines, UsageError>;

// Every option takes its value as "--count TEXT" or "--count=TEXT"; the value
// is taken as it stands, so "--count=" is the empty text and "--count -5" a
// negative count. The counts of runs, warm-ups, threads and the CPU number
// are plain decimal digits within their bounds; anything else is a usage
// error before anything runs.
Command parseCommandLine(const QStringList &arguments);

QString usageText();

} // namespace kamorin
