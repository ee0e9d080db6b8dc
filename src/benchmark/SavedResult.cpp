#include "benchmark/SavedResult.h"

#include <QJsonArray>
#include <QUuid>

namespace kamorin {

Statistics SavedResult::statistics() const
{
    return statisticsOf(runs).value_or(Statistics {});
}

double SavedResult::median() const
{
    return statistics().median;
}

QString newResultId()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

QString startedText(const QDateTime &started)
{
    return started.toUTC().toString(Qt::ISODateWithMs);
}

QDateTime startedFromText(const QString &text)
{
    const QDateTime parsed = QDateTime::fromString(text, Qt::ISODateWithMs);
    // A time without a zone would be read as local time and move with the
    // reader's time zone: a result carried between machines must say UTC.
    if (!parsed.isValid() || parsed.timeSpec() == Qt::LocalTime)
        return {};
    return parsed.toUTC();
}

QJsonObject toJson(const SavedResult &result)
{
    QJsonArray runs;
    for (const double seconds : result.runs)
        runs.append(seconds);
    const Statistics s = result.statistics();
    return QJsonObject {
        { QStringLiteral("id"), result.id },
        { QStringLiteral("started"), startedText(result.started) },
        { QStringLiteral("label"), result.label },
        { QStringLiteral("program_version"), result.programVersion },
        { QStringLiteral("cpu_model"), result.cpuModel },
        { QStringLiteral("host"), result.host },
        { QStringLiteral("passes"), result.passes },
        { QStringLiteral("count"), result.count },
        { QStringLiteral("unit"), result.unit },
        { QStringLiteral("options"), result.options },
        { QStringLiteral("runs"), runs },
        { QStringLiteral("median"), s.median },
        { QStringLiteral("statistics"),
          QJsonObject { { QStringLiteral("mean"), s.mean },
                        { QStringLiteral("stddev"), s.stddev },
                        { QStringLiteral("median"), s.median },
                        { QStringLiteral("min"), s.min },
                        { QStringLiteral("max"), s.max } } },
        { QStringLiteral("parallel"),
          result.parallel ? QJsonValue(*result.parallel) : QJsonValue(QJsonValue::Null) },
        { QStringLiteral("system"), result.system },
    };
}

} // namespace kamorin
