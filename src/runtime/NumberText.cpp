#include "runtime/NumberText.h"

#include "runtime/RuntimeError.h"
#include "runtime/Variant.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

namespace kamorin {

namespace {

// Digits and decimal exponent of a number rounded to `precision` significant
// digits, as std::to_chars writes them in scientific form.
struct Scientific
{
    std::string digits; // without trailing zeros, at least one digit
    int exponent = 0;
    bool negative = false;
};

template<typename Number>
Scientific toScientific(Number value, int precision)
{
    std::array<char, 64> buffer {};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::scientific, precision - 1);
    const std::string text(buffer.data(), result.ptr);

    Scientific s;
    std::size_t pos = 0;
    if (text[pos] == '-') {
        s.negative = true;
        ++pos;
    }
    const auto e = text.find('e');
    for (std::size_t i = pos; i < e; ++i) {
        if (text[i] != '.')
            s.digits += text[i];
    }
    while (s.digits.size() > 1 && s.digits.back() == '0')
        s.digits.pop_back();
    std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(),
                    s.exponent);
    return s;
}

// The plain form is used from 0.00001 up to the last whole number that the
// precision can show exactly; beyond that the exponent form says more honestly
// how many digits are known.
QString layOut(const Scientific &s, int precision)
{
    std::string out = s.negative ? "-" : "";
    const int n = static_cast<int>(s.digits.size());
    if (s.exponent >= precision || s.exponent < -5) {
        out += s.digits[0];
        if (n > 1) {
            out += '.';
            out.append(s.digits, 1, std::string::npos);
        }
        const int magnitude = s.exponent < 0 ? -s.exponent : s.exponent;
        out += s.exponent < 0 ? "E-" : "E+";
        if (magnitude < 10)
            out += '0';
        out += std::to_string(magnitude);
    } else if (s.exponent >= 0) {
        const int whole = s.exponent + 1;
        if (n <= whole) {
            out += s.digits;
            out.append(static_cast<std::size_t>(whole - n), '0');
        } else {
            out.append(s.digits, 0, static_cast<std::size_t>(whole));
            out += '.';
            out.append(s.digits, static_cast<std::size_t>(whole), std::string::npos);
        }
    } else {
        out += "0.";
        out.append(static_cast<std::size_t>(-s.exponent - 1), '0');
        out += s.digits;
    }
    return QString::fromLatin1(out.data(), static_cast<qsizetype>(out.size()));
}

template<typename Number>
QString numberToText(Number value, int precision)
{
    // Every computed value is checked to be finite; this keeps it so here too.
    if (!std::isfinite(value))
        throw RuntimeError(ErrorNumber::Overflow);
    if (value == 0)
        return QStringLiteral("0"); // also for -0, which no user should see
    return layOut(toScientific(value, precision), precision);
}

bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t';
}

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// The exponent a number's leading significant digit has, to tell an overflow
// from an underflow when from_chars reports either as out of range.
long long leadingDigitExponent(std::string_view mantissa, long long exponent)
{
    const auto point = mantissa.find('.');
    const auto wholeDigits
            = static_cast<long long>(point == std::string_view::npos ? mantissa.size() : point);
    const auto first = mantissa.find_first_not_of("0.");
    if (first == std::string_view::npos)
        return std::numeric_limits<long long>::min();
    const auto position = static_cast<long long>(first);
    const long long place
            = position < wholeDigits ? wholeDigits - position - 1 : wholeDigits - position;
    return exponent + place;
}

} // namespace

QString integerToText(std::int32_t value)
{
    return QString::number(value);
}

QString doubleToText(double value)
{
    return numberToText(value, 15);
}

QString singleToText(float value)
{
    return numberToText(value, 7);
}

QString textOf(Variant value)
{
    switch (value.type()) {
    case VarType::Empty:
        return {};
    case VarType::Integer:
        return integerToText(value.integerValue());
    case VarType::Long:
        return integerToText(value.longValue());
    case VarType::Single:
        return singleToText(value.singleValue());
    case VarType::Double:
        return doubleToText(value.doubleValue());
    case VarType::String:
        return value.textValue();
    }
    return {};
}

double textToNumber(QStringView text)
{
    const auto mismatch = [] { return RuntimeError(ErrorNumber::TypeMismatch); };
    const qsizetype end = text.size();
    const auto pastDigits = [&](qsizetype i) {
        while (i < end && isDigit(text[i].unicode()))
            ++i;
        return i;
    };

    // The text is judged before anything is built from it, so a text that is
    // no number is turned away with nothing to free: the error costs only
    // its raising.
    qsizetype i = 0;
    while (i < end && isBlank(text[i].unicode()))
        ++i;
    bool negative = false;
    if (i < end && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    const qsizetype first = i;
    i = pastDigits(i);
    bool anyDigit = i > first;
    if (i < end && text[i] == u'.') {
        const qsizetype fraction = ++i;
        i = pastDigits(i);
        anyDigit = anyDigit || i > fraction;
    }
    if (!anyDigit)
        throw mismatch();
    const qsizetype mantissaEnd = i;

    long long exponent = 0;
    if (i < end && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < end && (text[i] == u'+' || text[i] == u'-')) {
            negativeExponent = text[i] == u'-';
            ++i;
        }
        if (i >= end || !isDigit(text[i].unicode()))
            throw mismatch();
        for (; i < end && isDigit(text[i].unicode()); ++i) {
            // Saturate: only whether it is far beyond any double matters.
            if (exponent < 100000)
                exponent = exponent * 10 + (text[i].unicode() - u'0');
        }
        if (negativeExponent)
            exponent = -exponent;
    }
    const qsizetype numberEnd = i;
    while (i < end && isBlank(text[i].unicode()))
        ++i;
    if (i != end)
        throw mismatch();

    // Only ASCII reaches from_chars, so its own leniency (inf, nan, hex) never
    // applies: what is accepted was decided above.
    std::string number(static_cast<std::size_t>(numberEnd - first), '\0');
    for (std::size_t k = 0; k < number.size(); ++k)
        number[k] = static_cast<char>(text[first + static_cast<qsizetype>(k)].unicode());
    double value = 0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        const std::string_view mantissa(number.data(), std::size_t(mantissaEnd - first));
        if (leadingDigitExponent(mantissa, exponent) > 0)
            throw RuntimeError(ErrorNumber::Overflow);
        value = 0; // too small to tell from zero
    } else if (result.ec != std::errc() || result.ptr != number.data() + number.size()) {
        throw mismatch();
    }
    return negative ? -value : value;
}

} // namespace kamorin
