#include "runtime/Format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

namespace kamorin {

namespace {

// Enough fraction digits for the exact decimal expansion of any double
// (the smallest subnormal has 1074), so rounding sees the true value.
constexpr int kExactFractionDigits = 1080;

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
    return p;
}

QString FormatPattern::apply(double value) const
{
    std::vector<char> buffer(400 + kExactFractionDigits);
    const auto written
            = std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value),
                            std::chars_format::fixed, kExactFractionDigits);
    const std::string exact(buffer.data(), written.ptr);
    const auto point = exact.find('.');
    std::string whole = exact.substr(0, point);
    std::string fraction = exact.substr(point + 1, static_cast<std::size_t>(m_maximumDecimals));

    // The exact expansion makes "at least half" a plain digit test.
    if (exact[point + 1 + static_cast<std::size_t>(m_maximumDecimals)] >= '5') {
        std::string digits = whole + fraction;
        auto i = digits.size();
        while (i > 0 && digits[i - 1] == '9')
            digits[--i] = '0';
        if (i == 0)
            digits.insert(digits.begin(), '1');
        else
            ++digits[i - 1];
        whole = digits.substr(0, digits.size() - fraction.size());
        fraction = digits.substr(digits.size() - fraction.size());
    }

    while (static_cast<int>(fraction.size()) > m_minimumDecimals && fraction.back() == '0')
        fraction.pop_back();
    whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size()));
    if (static_cast<int>(whole.size()) < m_minimumWholeDigits)
        whole.insert(0, static_cast<std::size_t>(m_minimumWholeDigits) - whole.size(), '0');

    const bool isZero = (whole + fraction).find_first_not_of('0') == std::string::npos;
    std::string out = value < 0 && !isZero ? "-" : "";
    out += whole;
    if (m_point && (!fraction.empty() || m_minimumDecimals > 0))
        out += '.';
    out += fraction;
    return QString::fromLatin1(out.data(), static_cast<qsizetype>(out.size()));
}

} // namespace kamorin
