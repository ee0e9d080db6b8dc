#pragma once

#include "benchmark/SavedResult.h"

#include <QDateTime>
#include <QJsonValue>
#include <QString>

namespace kamorin {

// Why a results file is refused: where the fault is (results[3].runs[2]; empty
// for the file as a whole) and what is wrong.
struct Refusal
{
    QString where;
    QString what;
};

[[noreturn]] void refuse(const QString &where, const QString &what);
QString member(const QString &where, const QString &key);
QString item(const QString &where, qsizetype index);

// One result of a results file, checked whole, as an import keeps it; a
// Refusal naming the place of its first doubtful value otherwise. A start
// later than a day after `now` is a clock or a hand gone wrong.
SavedResult checkedResult(const QJsonValue &value, const QString &where, const QDateTime &now);

} // namespace kamorin
