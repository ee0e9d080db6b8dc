#pragma once

#include "benchmark/SavedResult.h"

#include <QDateTime>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>

#include <vector>

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

// The checks of a file's values, each refusing with the place of its fault.
namespace checks {

// About 115 days; a longer run is a typing slip.
inline constexpr double kMaxSeconds = 1e7;
// Beyond 2^53 the window's loop counter, a Double, can no longer step by one:
// a loop to there never ends, so no run has made more passes.
inline constexpr double kMaxPasses = 9007199254740992.0;
inline constexpr qsizetype kMaxRuns = 1000;

QString text(const QJsonValue &value, const QString &where);
double number(const QJsonValue &value, const QString &where);
double positive(const QJsonValue &value, const QString &where, double limit);
double whole(const QJsonValue &value, const QString &where, double low, double high);
bool flag(const QJsonValue &value, const QString &where);
QJsonObject object(const QJsonValue &value, const QString &where);
// Texts, finite numbers, booleans and nulls, in lists and objects nested a
// little, within the limits: what may travel with a result.
void plain(const QJsonValue &value, const QString &where);
// A run's seconds: no machine makes a pass in less than a tenth of a nanosecond.
double runSeconds(const QJsonValue &value, const QString &where, double passes);
// The passes the count and unit make in the window: a file cannot claim a
// run of one count as a run of another.
void passesAgree(const BenchmarkSettings &settings, double passes, const QString &where);

// The parts of a result, checked and read.
SystemInfo system(const QJsonValue &value, const QString &where);
ParallelResult parallel(const QJsonValue &value, const QString &where);
std::vector<KeptWarning> warnings(const QJsonValue &value, const QString &where);

} // namespace checks

// One result of a results file of `version` (1 or 2), checked whole, as an
// import keeps it; a Refusal naming the place of its first doubtful value
// otherwise. A start later than a day after `now` is a clock or a hand gone
// wrong.
SavedResult checkedResult(const QJsonValue &value, const QString &where, const QDateTime &now,
                          int version);

} // namespace kamorin
