#pragma once

#include "benchmark/SavedResult.h"

#include <QJsonArray>

#include <vector>

namespace kamorin {

// A result as kamorin-cli would save it after ten runs of 2000 万回 on this
// build machine, with what a test wants to tell it apart.
inline SavedResult
sampleResult(const QString &label = QStringLiteral("nightly"),
             const QString &model = QStringLiteral("Intel(R) Xeon(R) CPU @ 2.20GHz"),
             const QDateTime &started = QDateTime(QDate(2026, 12, 1), QTime(9, 30), Qt::UTC),
             std::vector<double> runs
             = { 3.412, 3.398, 3.405, 3.421, 3.401, 3.399, 3.417, 3.408, 3.403, 3.410 })
{
    SavedResult r;
    r.id = newResultId();
    r.started = started;
    r.label = label;
    r.programVersion = QStringLiteral("1.2.7");
    r.cpuModel = model;
    r.host = QStringLiteral("build-7");
    r.passes = 20000000;
    r.count = QStringLiteral("2000");
    r.unit = QStringLiteral("万回");
    r.options = QJsonObject { { QStringLiteral("warmup"), 1 },
                              { QStringLiteral("runs"), int(runs.size()) },
                              { QStringLiteral("cpu"), 0 },
                              { QStringLiteral("machine"), QStringLiteral("MMX-Pentium166") },
                              { QStringLiteral("min_time"), 1 } };
    r.runs = std::move(runs);
    r.system = QJsonObject {
        { QStringLiteral("cpu_model"), model },
        { QStringLiteral("logical_cpus"), 2 },
        { QStringLiteral("kernel"), QStringLiteral("6.1.0-28-amd64") },
        { QStringLiteral("governor"), QStringLiteral("performance") },
        { QStringLiteral("load_average"), QJsonArray { 0.12, 0.30, 0.41 } },
        { QStringLiteral("warnings"), QJsonArray {} },
    };
    return r;
}

} // namespace kamorin
