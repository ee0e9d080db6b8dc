#include "benchmark/SavedResult.h"

#include <QUuid>

namespace kamorin {

std::vector<double> SavedResult::seconds() const
{
    std::vector<double> all;
    all.reserve(runs.size());
    for (const RecordedRun &run : runs)
        all.push_back(run.seconds);
    return all;
}

Statistics SavedResult::statistics() const
{
    return statisticsOf(seconds()).value_or(Statistics {});
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
    const QDateTime utc = started.toUTC();
    const QDate d = utc.date();
    const QTime t = utc.time();
    // Composed by hand for the years ISO 8601 writes in four digits: Qt's
    // formatter took a tenth of a 10,000-result JSON history.
    if (!utc.isValid() || d.year() < 0 || d.year() > 9999)
        return utc.toString(Qt::ISODateWithMs);
    char text[] = "0000-00-00T00:00:00.000Z";
    const auto put = [&text](int at, int value, int digits) {
        for (int i = digits - 1; i >= 0; --i, value /= 10)
            text[at + i] = char('0' + value % 10);
    };
    put(0, d.year(), 4);
    put(5, d.month(), 2);
    put(8, d.day(), 2);
    put(11, t.hour(), 2);
    put(14, t.minute(), 2);
    put(17, t.second(), 2);
    put(20, t.msec(), 3);
    return QString::fromLatin1(text, sizeof text - 1);
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

} // namespace kamorin
