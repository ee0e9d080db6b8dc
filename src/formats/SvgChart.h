#pragma once

#include <QString>

#include <span>
#include <vector>

namespace kamorin {

// The small pieces the page's charts are drawn with, in SVG user units.

// A coordinate or length with one decimal: enough at any print size.
QString svgNumber(double value);
// For text and attribute values alike.
QString escapedText(const QString &text);

// The text as drawn at `fontSize`, when it fits in `width`; else its start and
// "…" within it. The width is reckoned from East Asian Width, with room for
// the widest common glyphs of a bold sans-serif face, so that no font the
// page may fall back to draws it past its column.
QString fittedToWidth(const QString &text, double width, double fontSize);

// Maps [low, high] onto [from, to], linearly or on a logarithmic axis.
struct Scale
{
    double low = 0;
    double high = 1;
    double from = 0;
    double to = 1;
    bool logarithmic = false;

    double operator()(double value) const;
    // Round values to mark: 1, 2, 5 times a power of ten.
    std::vector<double> ticks(int wanted) const;
};

// Quartiles by linear interpolation between the sorted values (the usual
// "type 7"); `sorted` must not be empty.
double quantile(std::span<const double> sorted, double p);

} // namespace kamorin
