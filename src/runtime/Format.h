#pragma once

#include <QString>
#include <QStringView>

namespace kamorin {

// A numeric pattern such as "00", "##0.00" or "##0.000": '0' is a digit
// always shown, '#' one shown only when needed, '.' the decimal point.
// A pattern is parsed once and then applied to many numbers.
class FormatPattern
{
public:
    // Throws std::invalid_argument for a character the patterns never use, or
    // for more decimals than any double has.
    static FormatPattern parse(QStringView pattern);

    // Rounds halves away from zero, on the exact binary value of the number.
    // A value that is not finite is an overflow, as wherever a number is shown.
    QString apply(double value) const;

private:
    FormatPattern() = default;

    int m_minimumWholeDigits = 0;
    int m_minimumDecimals = 0;
    int m_maximumDecimals = 0;
    bool m_point = false;
};

} // namespace kamorin
