#pragma once

#include "benchmark/Benchmark.h"
#include "formats/Format.h"
#include "results/ResultStore.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

namespace kamorin {

// Bounds of the counts the command line takes.
inline constexpr int kMaxRuns = 1000;
inline constexpr int kMaxThreads = 1024;
inline constexpr double kMaxMinimumSeconds = 3600;
inline constexpr double kMaxFailIfSlowerPercent = 1000;

// The count text that asks kamorin-cli to choose the count for this machine.
inline constexpr QStringView kAutoCount = u"auto";

// What the command line asks kamorin-cli to do. Texts left unset keep the
// window's design-time contents.
struct RunOptions
{
    SeriesPlan series;
    // --count auto, or --rank or --threads without a count or a unit: the
    // count is chosen by calibration before the runs.
    bool autoCount = false;
    // The shortest run whose figures count as meaningful.
    double minimumSeconds = 1;
    OutputForm form = OutputForm::Text;
    bool rank = false;
    bool progress = true;
    std::optional<int> threads;
    // More threads than logical CPUs, which measures the scheduler instead.
    bool forceThreads = false;
    // The text as typed: whether the CPU exists is the machine's to say.
    std::optional<QString> cpu;
    // Keep the result in the store, under this label.
    bool save = false;
    QString label;
    // --store as given; empty for KAMORIN_STORE or the default place.
    QString store;
    // Where the HTML page goes (--report).
    std::optional<QString> page;

    // The run reads or writes the store: to save, to rank among the saved
    // machines or to draw the saved results on the page.
    bool usesStore() const { return save || rank || page.has_value(); }
};

// The commands that read or change the results store and run nothing. Each
// carries --store as given (empty for KAMORIN_STORE or the default place).
struct ShowHistory
{
    QString store;
    HistoryFilter filter;
    // The reference machine of the score column.
    QString machine;
    OutputForm form = OutputForm::Text;
};
struct ForgetResult
{
    QString store;
    QString id;
};
struct CompareResults
{
    QString store;
    QString a;
    QString b;
    std::optional<double> failIfSlowerPercent;
    OutputForm form = OutputForm::Text;
    // Where the HTML page goes (--report).
    std::optional<QString> page;
};
struct ExportResults
{
    QString store;
    // "-" for stdout.
    QString file;
    HistoryFilter filter;
};
struct ImportResults
{
    QString store;
    QStringList files;
    // --skip-bad: a refused result is named and passed over, the rest kept.
    bool skipBad = false;
};
using StoreCommand
        = std::variant<ShowHistory, ForgetResult, CompareResults, ExportResults, ImportResults>;

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

using Command
        = std::variant<RunOptions, StoreCommand, ShowHelp, ShowVersion, ListMachines, UsageError>;

// The grammar is QCommandLineParser's: "--count TEXT" or "--count=TEXT", the
// value taken as it stands ("--count=" is the empty text, "--count -5" a
// negative count), "--" ends the options. The program takes no operands but
// the second result of --compare and more files for --import.
// The counts of runs, warm-ups and threads are plain decimal digits within
// their bounds; the unit must be one of the window's five or an ASCII name of
// one, the machine one SCORE finds once its width and case are folded, and
// the display speed one the animation accepts. Anything else is a usage error
// before anything runs.
Command parseCommandLine(const QStringList &arguments);

QString usageText();

} // namespace kamorin
