#include "formats/SvgChart.h"

#include "formats/TextWidth.h"

#include <algorithm>
#include <cmath>

namespace kamorin {

QString svgNumber(double value)
{
    return QString::number(value, 'f', 1);
}

QString escapedText(const QString &text)
{
    // toHtmlEscaped covers < > & and "; attributes here are always in double quotes.
    return text.toHtmlEscaped();
}

QString fittedToWidth(const QString &text, double width, double fontSize)
{
    const auto drawn = [fontSize](char32_t u) {
        const int columns = columnsOf(u);
        return columns == 0 ? 0.0 : columns == 2 ? fontSize : 0.62 * fontSize;
    };
    double used = 0;
    qsizetype fits = 0;
    const double room = width - drawn(U'…');
    for (qsizetype i = 0; i < text.size();) {
        used += drawn(nextCodePoint(text, i));
        if (used > width)
            return text.left(fits) + u'…';
        // Marks join their character, so a cut falls after them.
        if (used <= room && (i == text.size() || columnsOf(text[i].unicode()) != 0))
            fits = i;
    }
    return text;
}

double Scale::operator()(double value) const
{
    double t;
    if (logarithmic)
        t = (std::log10(value) - std::log10(low)) / (std::log10(high) - std::log10(low));
    else
        t = (value - low) / (high - low);
    if (!std::isfinite(t))
        t = 0.5;
    return from + t * (to - from);
}

std::vector<double> Scale::ticks(int wanted) const
{
    std::vector<double> marks;
    // A scale of no width or beyond the numbers has no round values to mark,
    // and its decades would not fit an int.
    if (!std::isfinite(low) || !std::isfinite(high) || high < low || (logarithmic && !(low > 0)))
        return marks;
    if (logarithmic) {
        const int first = int(std::floor(std::log10(low)));
        const int last = int(std::ceil(std::log10(high)));
        const bool fewDecades = last - first < 3;
        for (int e = first; e <= last; ++e) {
            for (const double step : { 1.0, 2.0, 5.0 }) {
                const double mark = step * std::pow(10.0, e);
                if ((step == 1.0 || fewDecades) && mark >= low && mark <= high)
                    marks.push_back(mark);
            }
        }
        return marks;
    }
    const double raw = (high - low) / std::max(1, wanted);
    if (!(raw > 0))
        return { low };
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    double step = power * 10;
    for (const double candidate : { 1.0, 2.0, 5.0 }) {
        if (candidate * power >= raw) {
            step = candidate * power;
            break;
        }
    }
    // A step too small to move a mark this far from zero would never end.
    for (double mark = std::ceil(low / step) * step;
         mark <= high + step * 1e-9 && marks.size() <= std::size_t(std::max(1, wanted)) * 10;
         mark += step)
        marks.push_back(mark);
    return marks;
}

double quantile(std::span<const double> sorted, double p)
{
    const double position = p * double(sorted.size() - 1);
    const std::size_t below = std::size_t(std::floor(position));
    const std::size_t above = std::min(below + 1, sorted.size() - 1);
    return sorted[below] + (position - double(below)) * (sorted[above] - sorted[below]);
}

} // namespace kamorin
