#include "formats/Csv.h"

#include "formats/FigureText.h"
#include "formats/Format.h"
#include "formats/TextOutput.h"
#include "results/JsonWriter.h"

#include <cmath>

namespace kamorin {

namespace {

QString numberCell(std::optional<double> value)
{
    return value && std::isfinite(*value) ? shortestNumberText(*value) : QString();
}

} // namespace

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
            numberCell(run.seconds),
            numberCell(run.nanosecondsPerPass()),
            csvField(run.value),
            csvField(run.digits),
            numberCell(run.score),
            csvField(s.count),
            csvField(s.unit),
            passesText(run.passes),
            QString::number(s.warmup),
            QString::number(s.runs),
            whole(s.cpu),
            whole(s.threads),
            numberCell(s.minimumSeconds),
            benchmark.started.toString(Qt::ISODateWithMs),
            csvField(version),
        };
        out += cells.join(u',') + u'\n';
    }
    return out;
}

namespace {

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
