#pragma once

#include "formats/HtmlPage.h"

#include <QString>
#include <QStringList>

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
// Each saved result's median over the time it started, one point a result
// while they are few; beyond that one point a span of whole UTC days, the
// median of its results with a bar from their lowest to their highest, since
// thousands of points would only be a blot of ink megabytes long. `unsaved`,
// a run not in the store, is drawn apart as a hollow diamond, which reads
// without colour.
struct HistoryChart
{
    QString svg;
    // Its sentences: what the points are, and the unsaved run's mark when
    // there is one.
    QStringList caption;
};
HistoryChart historyChart(const QString &id, std::span<const SavedResult> saved,
                          const SavedResult *unsaved);

} // namespace kamorin
