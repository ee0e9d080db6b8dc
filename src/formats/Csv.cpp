#include "formats/Csv.h"

#include "formats/FigureText.h"
#include "formats/Format.h"
#include "formats/TextOutput.h"
#include "results/JsonWriter.h"

#include <cmath>

namespace kamorin {

QString csvNumber(std::optional<double> value)
{
    return value && std::isfinite(*value) ? shortestNumberText(*value) : QString();
}

QString csvField(const QString &field)
{
    QString text = field;
    // A spreadsheet takes a cell that starts so for a formula, which may
    // fetch or run what a label names (=HYPERLINK(...)): a leading quote
    // keeps it text, as OWASP advises. A number, negative too, is left a
    // number.
    static const QString kFormulaStart = QStringLiteral("=+-@\t\r");
    bool isNumber = false;
    text.toDouble(&isNumber);
    if (!text.isEmpty() && kFormulaStart.contains(text.front()) && !isNumber)
        text.prepend(u'\'');
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n')
        && !text.contains(u'\r'))
        return text;
    return u'"' + text.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QString runsAsCsv(const BenchmarkResult &benchmark, const QString &version)
{
    const BenchmarkSettings &s = benchmark.settings;
    const auto whole
            = [](const std::optional<int> &n) { return n ? QString::number(*n) : QString(); };
    QString out = QStringLiteral("run,loops,seconds,ns_per_pass,value,digits,score,count,unit,"
                                 "passes,warmup,runs,cpu,threads,min_time,started,version\n");
    for (std::size_t i = 0; i < benchmark.runs.size(); ++i) {
        const RecordedRun &run = benchmark.runs[i];
        const QStringList cells {
            QString::number(i + 1),
            csvField(run.loops),
            csvNumber(run.seconds),
            csvNumber(run.nanosecondsPerPass()),
            csvField(run.value),
            csvField(run.digits),
            csvNumber(run.score),
            csvField(s.count),
            csvField(s.unit),
            // Digits, as in JSON, so that a reader takes the column for integers.
            jsonCount(run.passes),
            QString::number(s.warmup),
            QString::number(s.runs),
            whole(s.cpu),
            whole(s.threads),
            csvNumber(s.minimumSeconds),
            benchmark.started.toString(Qt::ISODateWithMs),
            csvField(version),
        };
        out += cells.join(u',') + u'\n';
    }
    return out;
}

namespace {

// The header id,started,label,cpu_model,host,program_version,passes,count,
// unit,runs,median,mean,stddev,min,max,score,score_machine and one row a
// result, LF-ended; runs is the number of recorded runs.
QString historyAsCsv(const HistoryListing &history)
{
    QString out = QStringLiteral("id,started,label,cpu_model,host,program_version,passes,count,"
                                 "unit,runs,median,mean,stddev,min,max,score,score_machine\n");
    for (std::size_t i = 0; i < history.results.size(); ++i) {
        const SavedResult &r = history.results[i];
        const Statistics s = r.statistics();
        const QStringList cells {
            r.id,
            startedText(r.started),
            csvField(r.label),
            csvField(r.system.cpuModel),
            csvField(r.host),
            csvField(r.programVersion),
            jsonCount(r.passes),
            csvField(r.settings.count),
            csvField(r.settings.unit),
            QString::number(r.runs.size()),
            csvNumber(s.median),
            csvNumber(s.mean),
            csvNumber(s.stddev),
            csvNumber(s.min),
            csvNumber(s.max),
            scoreAt(history, i).value_or(QString()),
            csvField(history.machine),
        };
        out += cells.join(u',') + u'\n';
    }
    return out;
}

// The same members as a header and one row.
QString comparisonAsCsv(const ComparisonListing &l)
{
    const ComparisonCells cells = comparisonCellsOf(l, CellsFor::Csv);
    return cells.names.join(u',') + u'\n' + cells.values.join(u',') + u'\n';
}

class CsvFormat final : public Format
{
public:
    QString run(const RunAnswer &a) const override
    {
        return runsAsCsv(a.benchmark, programVersion());
    }
    void history(const HistoryListing &listing, const TextSink &write) const override
    {
        write(historyAsCsv(listing));
    }
    QString comparison(const ComparisonListing &listing) const override
    {
        return comparisonAsCsv(listing);
    }
};

} // namespace

const Format &csvFormat()
{
    static const CsvFormat csv;
    return csv;
}

} // namespace kamorin
