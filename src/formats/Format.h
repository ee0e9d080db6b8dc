#pragma once

#include "benchmark/BenchmarkResult.h"
#include "benchmark/WindowReadings.h"
#include "formats/StoreOutput.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace kamorin {

// What a run answers, as its formats take it.
struct RunAnswer
{
    // What the window would show after the runs and COPY.
    const WindowReadings &window;
    const BenchmarkResult &benchmark;
    // The result's id when it was saved.
    std::optional<QString> savedId;
    // The error that ends the program with status 2, or the store's; JSON
    // carries it, the others leave it to stderr.
    std::optional<RunError> error;
    // The count --count auto would choose here, named after a run too short
    // to score.
    std::optional<ChosenCount> autoCount;
    // For the page: the result as it is or would be saved (none when the
    // runs did not finish), the store's results read before the runs, and
    // when the page is written.
    const SavedResult *result = nullptr;
    std::span<const SavedResult> saved = {};
    QDateTime written = {};
    // The terminal's width when stdout is one: the rank's text table fits it.
    std::optional<int> columns = std::nullopt;
};

// Handed a text a piece at a time.
using TextSink = std::function<void(const QString &)>;

// One way of writing what a run or a store command answers.
class Format
{
public:
    virtual ~Format() = default;
    virtual QString run(const RunAnswer &answer) const = 0;
    // In pieces, so that a long history is never held whole.
    virtual void history(const HistoryListing &listing, const TextSink &write) const = 0;
    virtual QString comparison(const ComparisonListing &listing) const = 0;
};

// The forms kamorin-cli writes on stdout: text unless an option asks otherwise.
enum class OutputForm
{
    Text,
    Json,
    Csv,
    Markdown,
};

// What a front needs to know of an output form besides how it is written.
struct OutputFormEntry
{
    OutputForm form;
    // The option that asks for it, without its dashes; none for the text,
    // which is what no option gives.
    QString option;
    // Read by programs: no advice for people after a run too short to score.
    bool forMachines = false;
    // Holds the run's warnings and saved id itself, leaving stderr to errors.
    bool carriesNotices = false;
    // The run options it cannot go with, without their dashes.
    QStringList refuses;
    const Format &format;
    // Its line of the usage text, in OutputForms' words, lines broken to
    // the text's width; none for the text.
    const char *help = nullptr;
};

// Every output form, the text first; the front's options, the store
// commands' permitted options and what reaches stderr are read from here.
const std::vector<OutputFormEntry> &outputForms();
const OutputFormEntry &outputFormEntry(OutputForm form);

// Made once, for the program's life.
const Format &formatFor(OutputForm form);
// The HTML page --report writes.
const Format &pageFormat();

// Each format, kept in a file of its own with its run, history and
// comparison; the registry hands them out.
const Format &textFormat();
const Format &jsonFormat();
const Format &csvFormat();
const Format &markdownFormat();

} // namespace kamorin
