#pragma once

#include "benchmark/SavedResult.h"
#include "results/ResultJson.h"

#include <vector>

namespace kamorin {

// A result as kamorin-cli would save it after ten runs of 2000 万回 on this
// build machine, with what a test wants to tell it apart: a warning of a kind
// and a sentence an older Kamorin kept.
inline SavedResult
sampleResult(const QString &label = QStringLiteral("nightly"),
             const QString &model = QStringLiteral("Intel(R) Xeon(R) CPU @ 2.20GHz"),
             const QDateTime &started = QDateTime(QDate(2026, 12, 1), QTime(9, 30), Qt::UTC),
             const std::vector<double> &runs
             = { 3.412, 3.398, 3.405, 3.421, 3.401, 3.399, 3.417, 3.408, 3.403, 3.410 })
{
    SavedResult r;
    r.id = newResultId();
    r.started = started;
    r.label = label;
    r.programVersion = QStringLiteral("1.2.7");
    r.host = QStringLiteral("build-7");
    r.passes = 20000000;
    r.settings = { QStringLiteral("2000"),
                   QStringLiteral("万回"),
                   false,
                   1,
                   int(runs.size()),
                   0,
                   std::nullopt,
                   1 };
    for (const double seconds : runs)
        r.runs.push_back({ {},
                           r.passes,
                           seconds,
                           QStringLiteral("3.14159260358979"),
                           QStringLiteral("7"),
                           18.37 });
    r.system = { model, 2, QStringLiteral("6.1.0-28-amd64"), QStringLiteral("performance"),
                 std::array { 0.12, 0.30, 0.41 } };
    r.warnings
            = { Warning(NoisyRuns { 0.08, 0.05 }), WordedWarning { QStringLiteral("古い警告") } };
    return r;
}

// A result whole, as a results file holds it: what tells two results apart.
inline QString resultText(const SavedResult &result)
{
    JsonWriter out;
    writeResult(out, result, [](const Warning &) { return QStringLiteral("警告"); });
    return out.text();
}

} // namespace kamorin
