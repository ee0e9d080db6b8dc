#pragma once

#include "formats/HtmlPage.h"

#include <QString>

#include <span>
#include <vector>

namespace kamorin {

// One row of a strip chart: every run as a dot over its box plot.
struct StripGroup
{
    QString name;
    std::vector<double> seconds;
};

// Inline SVG elements with an id, a title for screen readers, and every
// user-supplied text escaped.
QString stripChart(const QString &id, const QString &title, std::span<const StripGroup> groups);
// Horizontal bars on a logarithmic time axis, in the order given.
QString rankingChart(const QString &id, std::span<const PageRankRow> rows);
// Each result's median over the time it started.
QString historyChart(const QString &id, std::span<const SavedResult> results);

} // namespace kamorin
