// The text of any finite Double or Single: short, plain characters, read back
// to the number it shows, and shown the same again after that round trip.
#include "FuzzCheck.h"
#include "runtime/NumberText.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace kamorin;
using namespace kamorin::fuzz;

namespace {

bool hasOnlyNumberCharacters(const QString &text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (!((u >= u'0' && u <= u'9') || u == u'.' || u == u'E' || u == u'+' || u == u'-'))
            return false;
    }
    return true;
}

// The number rounded to `digits` significant digits, by the C library.
double roundedBySnprintf(double value, int digits)
{
    std::array<char, 64> buffer {};
    std::snprintf(buffer.data(), buffer.size(), "%.*e", digits - 1, value);
    return std::strtod(buffer.data(), nullptr);
}

template<typename Number, typename ToText>
void checkText(Number value, int digits, ToText toText)
{
    const QString text = toText(value);
    const auto subject = [&] { return exact(value) + QStringLiteral(" -> ") + text; };
    check(!text.isEmpty() && text.size() <= 25, "text too long or empty", subject);
    check(hasOnlyNumberCharacters(text), "a character outside [0-9.E+-]", subject);
    check(!text.contains(u'E') || !text.section(u'E', 0, 0).endsWith(u'0'),
          "a trailing zero before the exponent", subject);
    check(text.contains(u'E') || !text.contains(u'.')
                  || !(text.endsWith(u'0') || text.endsWith(u'.')),
          "a trailing zero or point", subject);

    // The digits shown are the number rounded to that many significant digits.
    const double expected = roundedBySnprintf(static_cast<double>(value), digits);
    double back = 0;
    try {
        back = textToNumber(text);
    } catch (const RuntimeError &error) {
        // Above 1.797693134862315E+308 the fifteen digits round to a number
        // beyond the largest Double, which reads back as the overflow it is.
        check(std::isinf(expected) && error.number() == ErrorNumber::Overflow,
              "the text does not read back",
              [&] { return subject() + QStringLiteral(" ") + error.report(); });
        return;
    }
    check(back == expected, "the text does not stand for the rounded number", subject);
    check(toText(static_cast<Number>(back)) == text, "the text changes after a round trip",
          subject);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < sizeof(double))
        return 0;
    std::uint64_t bits = 0;
    std::memcpy(&bits, data, sizeof bits);
    const double d = std::bit_cast<double>(bits);
    if (std::isfinite(d))
        checkText(d, 15, [](double v) { return doubleToText(v); });

    // The Single from the low half, and the Single nearest to the Double.
    const float f = std::bit_cast<float>(static_cast<std::uint32_t>(bits));
    if (std::isfinite(f))
        checkText(f, 7, [](float v) { return singleToText(v); });
    const auto nearest = static_cast<float>(d);
    if (std::isfinite(nearest))
        checkText(nearest, 7, [](float v) { return singleToText(v); });
    return 0;
}
