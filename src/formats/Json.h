#pragma once

#include <QJsonValue>
#include <QString>

#include <optional>

namespace kamorin {

// A JSON string. Beyond what JSON requires, DEL and the C1 controls are
// escaped too, so the output is as safe on a terminal as the text summary.
QString jsonString(const QString &text);

// A JSON number that reads back as exactly the same double; null for a value
// JSON cannot hold (not a number, infinite) or that is missing.
QString jsonNumber(std::optional<double> value);

// Any JSON value on one line, its strings and numbers as above; an object's
// members in the order QJsonObject keeps them (by name).
QString jsonValue(const QJsonValue &value);
// The same, added to the end of `out`: a long list is written without a copy
// of every part.
void appendJsonValue(QString &out, const QJsonValue &value);

// The shortest text that reads back as the same double, e.g. 0.1, 2e-05.
QString shortestNumberText(double value);

} // namespace kamorin
