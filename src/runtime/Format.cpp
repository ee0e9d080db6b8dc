#include "runtime/Format.h"

#include "runtime/RuntimeError.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace kamorin {

namespace {

// A double is a whole number of 2^-1074, whose decimal expansion has 1074
// fraction digits: no double needs more to be written exactly.
constexpr int kMostFractionDigits = 1074;
// The largest double has 309 whole digits.
constexpr int kMostWholeDigits = 309;

// How many fraction digits the exact decimal expansion of x has at most: a
// binary fraction of n bits has n decimal digits, and x is its 53-bit
// significand times 2^(exponent - 53).
int exactFractionDigits(double x)
{
    int exponent = 0;
    std::frexp(x, &exponent);
    return std::clamp(53 - exponent, 0, kMostFractionDigits);
}

} // namespace

FormatPattern FormatPattern::parse(QStringView pattern)
{
    FormatPattern p;
    bool afterPoint = false;
    for (const QChar c : pattern) {
        if (c == u'.' && !afterPoint) {
            afterPoint = true;
            p.m_point = true;
        } else if (c == u'0' || c == u'#') {
            if (!afterPoint) {
                if (c == u'0')
                    ++p.m_minimumWholeDigits;
            } else {
                if (c == u'0' && p.m_minimumDecimals == p.m_maximumDecimals)
                    ++p.m_minimumDecimals;
                ++p.m_maximumDecimals;
            }
        } else {
            throw std::invalid_argument("unsupported number pattern");
        }
    }
    // Beyond this every further digit of every double is a 0.
    if (p.m_maximumDecimals > kMostFractionDigits)
        throw std::invalid_argument("unsupported number pattern");
    return p;
}

QString FormatPattern::apply(double value) const
{
    // Like every number the program shows, the value must be finite.
    if (!std::isfinite(value))
        throw RuntimeError(ErrorNumber::Overflow);
    // One buffer: a slot for a carry into a new leading digit, then the exact
    // expansion "whole.fraction", so rounding sees the true value.
    std::array<char, 1 + kMostWholeDigits + 1 + kMostFractionDigits> buffer;
    buffer[0] = '0';
    const double magnitude = std::fabs(value);
    const int fractionDigits = exactFractionDigits(magnitude);
    char *const written = std::to_chars(buffer.data() + 1, buffer.data() + buffer.size(), magnitude,
                                        std::chars_format::fixed, fractionDigits)
                                  .ptr;
    char *const point = std::find(buffer.data() + 1, written, '.');

    // The digits after the last kept one decide: "at least half" is a plain
    // digit test on the exact expansion. Digits it does not have are 0.
    const int kept = m_maximumDecimals;
    const bool roundUp = fractionDigits > kept && point[1 + kept] >= '5';
    // The kept fraction moves over the point, making one run of digits;
    // digits it does not have are 0. As memmove and memset, the moves are
    // checked against the buffer's end by the C library's fortified copies.
    const auto moved = static_cast<std::size_t>(std::min(kept, fractionDigits));
    const auto pointAt = static_cast<std::size_t>(point - buffer.data());
    std::memmove(buffer.data() + pointAt, buffer.data() + pointAt + 1, moved);
    std::memset(buffer.data() + pointAt + moved, '0', static_cast<std::size_t>(kept) - moved);
    char *const end = point + kept;
    if (roundUp) {
        char *digit = end;
        while (*--digit == '9')
            *digit = '0';
        ++*digit;
    }

    const char *fractionEnd = end;
    while (fractionEnd - point > m_minimumDecimals && fractionEnd[-1] == '0')
        --fractionEnd;
    const char *const wholeStart
            = std::find_if(buffer.data(), point, [](char c) { return c != '0'; });
    const auto wholeDigits = static_cast<int>(point - wholeStart);
    const int padding = std::max(m_minimumWholeDigits - wholeDigits, 0);
    const bool isZero
            = wholeDigits == 0 && std::all_of(point, end, [](char c) { return c == '0'; });
    const bool negative = value < 0 && !isZero;
    const bool showPoint = m_point && (fractionEnd > point || m_minimumDecimals > 0);

    QString out(negative + padding + wholeDigits + showPoint + (fractionEnd - point),
                Qt::Uninitialized);
    QChar *at = out.data();
    const auto put = [&at](char c) { *at++ = QLatin1Char(c); };
    if (negative)
        put('-');
    for (int i = 0; i < padding; ++i)
        put('0');
    std::for_each(wholeStart, static_cast<const char *>(point), put);
    if (showPoint)
        put('.');
    std::for_each(static_cast<const char *>(point), fractionEnd, put);
    return out;
}

} // namespace kamorin
