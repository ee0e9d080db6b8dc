#include "cli/Csv.h"

#include "cli/Json.h"

#include <cmath>

namespace kamorin {

namespace {

QString numberCell(std::optional<double> value)
{
    return value && std::isfinite(*value) ? shortestNumberText(*value) : QString();
}

} // namespace

QString csvField(const QString &text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n')
        && !text.contains(u'\r'))
        return text;
    QString quoted = text;
    return u'"' + quoted.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QString runsAsCsv(const std::vector<RecordedRun> &runs)
{
    QString out = QStringLiteral("run,loops,seconds,ns_per_pass,value,digits,score\n");
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const RecordedRun &run = runs[i];
        const QStringList cells { QString::number(i + 1),  csvField(run.loops),
                                  numberCell(run.seconds), numberCell(run.nanosecondsPerPass()),
                                  csvField(run.value),     csvField(run.digits),
                                  numberCell(run.score) };
        out += cells.join(u',') + u'\n';
    }
    return out;
}

} // namespace kamorin
