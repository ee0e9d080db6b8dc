#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>

namespace kamorin {

class Variant;

// Text of an integer: decimal digits, "-" when negative, nothing else.
QString integerToText(std::int32_t value);

// Text of a number: at most 15 (Double) or 7 (Single) significant digits,
// without trailing zeros or a trailing "."; exponent form (1E+20, 1.5E-07)
// where the plain form would need more digits than that.
QString doubleToText(double value);
QString singleToText(float value);

// The text a tagged value shows: numbers as above, a text as it is, Empty as "".
QString textOf(Variant value);

// A number from text: blanks, one sign, digits with one ".", an exponent.
// Anything else, the empty text included, is a type mismatch; a value beyond
// the range of a Double is an overflow. Never depends on the desktop's locale.
double textToNumber(QStringView text);

} // namespace kamorin
