#pragma once

#include <QDateTime>
#include <QString>

namespace kamorin {

struct RankRow;

// The texts every format writes a figure with, so that one figure reads the
// same on the terminal, in a table and on the page.

// A count for a reader: in digits while a double holds them all, in its
// shortest round-trip form beyond, the digits grouped as the user's language
// groups them ("20,000,000" in English). The data a program reads writes
// counts through jsonCount().
QString countText(double count);
// The same for a count written in digits, such as the window's loop count;
// any other text as it is.
QString countText(const QString &digits);
// A count as tr() takes it to choose a plural form: itself while an int
// holds it, else a number with its last six digits, which are all that any
// language's plural rule reads.
int numerusOf(double count);
// `value` with `decimals` digits after the point, never in exponent form.
QString fixedText(double value, int decimals);

// A ratio of two times to four decimals, as every comparison gives it.
QString ratioText(double ratio);

// Seconds to six significant digits.
QString secondsText(double seconds);

// A machine's seconds for 20,000,000 passes as a ranking shows them: two
// decimals ("##0.00"), so that the column reads evenly.
QString rankSecondsText(double seconds);

// "2026-12-08 01:50:27", the time in UTC to the second.
QString utcText(const QDateTime &time);
// The same with " UTC" after it, where no heading says so.
QString utcNamedText(const QDateTime &time);

// A ranking row's name as a table shows it: this machine and a saved one in
// the user's language, a reference machine's own name as it is.
QString rankRowName(const RankRow &row);
// A saved machine as a table shows it, from its parts as the caller has
// made them fit its medium: "[保存] model（host、label）".
QString savedMachineText(const QString &model, const QString &host, const QString &label);
// A saved machine's host and its label, when it has one.
QString savedMachinePlace(const QString &host, const QString &label);
// A ranking row's name in the window's own words, as the data keeps it
// whatever the language: "★この機械", "model（host、label）".
QString rankRowOwnName(const RankRow &row);

} // namespace kamorin
