// The three patterns the program formats with, on any finite double: the
// right shape, and the digits of an independent exact computation.
#include "FuzzCheck.h"
#include "runtime/Format.h"

#include <QRegularExpression>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

using namespace kamorin;
using namespace kamorin::fuzz;

namespace {

struct Case
{
    const char16_t *pattern;
    int decimals;
    const char16_t *shape;
};

// "00" keeps at least two digits, the others one before the point.
constexpr std::array kCases {
    Case { u"00", 0, u"\\A-?(?:[0-9]{2}|[1-9][0-9]{2,})\\z" },
    Case { u"##0.00", 2, u"\\A-?(?:0|[1-9][0-9]*)\\.[0-9]{2}\\z" },
    Case { u"##0.000", 3, u"\\A-?(?:0|[1-9][0-9]*)\\.[0-9]{3}\\z" },
};

constexpr std::uint64_t kScale[] = { 1, 10, 100, 1000 };

// |value| rounded to `decimals`, halves away from zero, as "digits.decimals"
// without padding. Below 2^53 the scaled value is exact in long double (53
// mantissa bits times at most 10 bits of 1000 fit in 64) and below 2^64, so
// the tie test sees the true binary value; above, every double is whole and
// the C library prints it exactly.
std::string independentlyRounded(double value, int decimals)
{
    const double magnitude = std::fabs(value);
    std::array<char, 400> buffer {};
    if (magnitude >= 0x1p53) {
        std::snprintf(buffer.data(), buffer.size(), "%.0f", magnitude);
        return std::string(buffer.data()) + (decimals ? "." + std::string(decimals, '0') : "");
    }
    const long double scaled = static_cast<long double>(magnitude) * kScale[decimals];
    const long double whole = std::trunc(scaled);
    auto units = static_cast<std::uint64_t>(whole);
    if (scaled - whole >= 0.5L)
        ++units;
    std::string text = std::to_string(units / kScale[decimals]);
    if (decimals) {
        std::string fraction = std::to_string(units % kScale[decimals]);
        text += "." + std::string(static_cast<std::size_t>(decimals) - fraction.size(), '0')
                + fraction;
    }
    return text;
}

QString expectedText(double value, int decimals)
{
    std::string digits = independentlyRounded(value, decimals);
    if (decimals == 0 && digits.size() < 2)
        digits.insert(0, "0");
    const bool zero = digits.find_first_not_of("0.") == std::string::npos;
    if (value < 0 && !zero)
        digits.insert(0, "-");
    return QString::fromLatin1(digits.data(), static_cast<qsizetype>(digits.size()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const std::array patterns {
        FormatPattern::parse(kCases[0].pattern),
        FormatPattern::parse(kCases[1].pattern),
        FormatPattern::parse(kCases[2].pattern),
    };
    static const std::array shapes {
        QRegularExpression(QString::fromUtf16(kCases[0].shape)),
        QRegularExpression(QString::fromUtf16(kCases[1].shape)),
        QRegularExpression(QString::fromUtf16(kCases[2].shape)),
    };

    for (std::size_t offset = 0; offset + sizeof(double) <= size; offset += sizeof(double)) {
        std::uint64_t bits = 0;
        std::memcpy(&bits, data + offset, sizeof bits);
        const double value = std::bit_cast<double>(bits);
        if (!std::isfinite(value))
            continue;
        for (std::size_t i = 0; i < kCases.size(); ++i) {
            const QString text = patterns[i].apply(value);
            const auto subject = [&] {
                return QString::fromUtf16(kCases[i].pattern) + QStringLiteral(" ") + exact(value)
                        + QStringLiteral(" -> ") + text;
            };
            check(shapes[i].match(text).hasMatch(), "wrong shape", subject);
            const QString expected = expectedText(value, kCases[i].decimals);
            check(text == expected, "wrong digits",
                  [&] { return subject() + QStringLiteral(" expected ") + expected; });
        }
    }
    return 0;
}
