#include "formats/PageCharts.h"

#include "benchmark/Ranking.h"
#include "benchmark/Statistics.h"
#include "formats/FigureText.h"
#include "formats/SvgChart.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

namespace kamorin {

namespace {

struct Words
{
    Q_DECLARE_TR_FUNCTIONS(PageCharts)
};

constexpr double kWidth = 640;
constexpr double kNameColumn = 200;
constexpr double kRight = 620;

QString svgOpen(const QString &id, const QString &title, double height)
{
    return QStringLiteral(
                   "<svg id=\"%1\" class=\"chart\" role=\"img\" aria-labelledby=\"%1-title\" "
                   "xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 %2 %3\">"
                   "<title id=\"%1-title\">%4</title>\n")
            .arg(id, svgNumber(kWidth), svgNumber(height), escapedText(title));
}

QString text(double x, double y, const QString &content,
             const QString &anchor = QStringLiteral("start"), const QString &cssClass = {})
{
    QString element = QStringLiteral("<text x=\"%1\" y=\"%2\" text-anchor=\"%3\"")
                              .arg(svgNumber(x), svgNumber(y), anchor);
    if (!cssClass.isEmpty())
        element += QStringLiteral(" class=\"%1\"").arg(cssClass);
    return element + QLatin1Char('>') + escapedText(content) + QStringLiteral("</text>");
}

QString line(double x1, double y1, double x2, double y2, const QString &cssClass)
{
    return QStringLiteral("<line x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%4\" class=\"%5\"/>")
            .arg(svgNumber(x1), svgNumber(y1), svgNumber(x2), svgNumber(y2), cssClass);
}

// Grid lines and their labels across [top, bottom], labels below.
QString verticalAxis(const Scale &scale, double top, double bottom, const QString &unit)
{
    QString axis;
    for (const double mark : scale.ticks(6)) {
        const double x = scale(mark);
        axis += line(x, top, x, bottom, QStringLiteral("grid"));
        axis += text(x, bottom + 14, QString::number(mark, 'g', 6), QStringLiteral("middle"),
                     QStringLiteral("tick"));
    }
    axis += text(kRight, bottom + 30, unit, QStringLiteral("end"), QStringLiteral("tick"));
    return axis;
}

Scale paddedLinear(double low, double high, double from, double to)
{
    double pad = (high - low) * 0.08;
    if (!(pad > 0))
        pad = std::max(std::abs(low) * 0.01, 1e-9);
    return Scale { low - pad, high + pad, from, to, false };
}

} // namespace

QString stripChart(const QString &id, const QString &title, std::span<const StripGroup> groups)
{
    double low = INFINITY, high = -INFINITY;
    for (const StripGroup &group : groups) {
        for (const double s : group.seconds) {
            low = std::min(low, s);
            high = std::max(high, s);
        }
    }
    constexpr double kRow = 44, kTop = 8;
    const double bottom = kTop + kRow * double(groups.size());
    const Scale x = paddedLinear(low, high, kNameColumn, kRight);
    QString svg = svgOpen(id, title, bottom + 36);
    svg += verticalAxis(x, kTop, bottom, Words::tr("秒"));
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const StripGroup &group = groups[g];
        const double middle = kTop + kRow * (double(g) + 0.5);
        svg += text(kNameColumn - 8, middle + 4, group.name, QStringLiteral("end"));
        if (group.seconds.empty())
            continue;
        std::vector<double> sorted = group.seconds;
        std::sort(sorted.begin(), sorted.end());
        const double q1 = x(quantile(sorted, 0.25)), q3 = x(quantile(sorted, 0.75));
        svg += line(x(sorted.front()), middle, x(sorted.back()), middle, QStringLiteral("whisker"));
        svg += QStringLiteral("<rect class=\"box\" x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\"/>")
                       .arg(svgNumber(q1), svgNumber(middle - 12),
                            svgNumber(std::max(q3 - q1, 0.5)), svgNumber(24));
        const double median = x(quantile(sorted, 0.5));
        svg += line(median, middle - 14, median, middle + 14, QStringLiteral("median"));
        // Spread a little up and down in the order they ran, so that equal
        // times stay visible as separate runs.
        for (std::size_t i = 0; i < group.seconds.size(); ++i) {
            const double offset = double(int(i % 5) - 2) * 4;
            svg += QStringLiteral("<circle class=\"run\" cx=\"%1\" cy=\"%2\" r=\"3\">"
                                  "<title>%3</title></circle>")
                           .arg(svgNumber(x(group.seconds[i])), svgNumber(middle + offset),
                                escapedText(Words::tr("%1 回目: %2 秒")
                                                    .arg(QString::number(i + 1),
                                                         secondsText(group.seconds[i]))));
        }
    }
    return svg + QStringLiteral("</svg>\n");
}

QString rankingChart(const QString &id, std::span<const PageRankRow> rows)
{
    double low = INFINITY, high = -INFINITY;
    for (const PageRankRow &row : rows) {
        low = std::min(low, row.seconds);
        high = std::max(high, row.seconds);
    }
    // Whole decades on either side, so that the shortest bar still shows.
    const double lowDecade = std::floor(std::log10(low));
    const double highDecade = std::max(std::ceil(std::log10(high)), lowDecade + 1);
    const Scale x { std::pow(10.0, lowDecade), std::pow(10.0, highDecade), kNameColumn, kRight - 40,
                    true };
    // A saved machine's row is twice as tall, for its host and label.
    constexpr double kRow = 13, kSavedRow = 24, kTop = 6, kFont = 10, kDetailFont = 9;
    constexpr double kNameRoom = kNameColumn - 6;
    double bottom = kTop;
    for (const PageRankRow &row : rows)
        bottom += row.detail.isEmpty() ? kRow : kSavedRow;
    QString svg = svgOpen(id, Words::tr("順位: 2000 万回の秒数（対数目盛）"), bottom + 36);
    svg += verticalAxis(x, kTop, bottom, Words::tr("2000 万回の秒数（対数目盛）"));
    double top = kTop;
    for (const PageRankRow &row : rows) {
        const double height = row.detail.isEmpty() ? kRow : kSavedRow;
        const double baseline = top + height / 2 + 3.5;
        const QString kind = row.thisMachine ? QStringLiteral("this-machine")
                : row.saved                  ? QStringLiteral("saved")
                                             : QStringLiteral("reference");
        const QString whole
                = row.detail.isEmpty() ? row.name : Words::tr("%1（%2）").arg(row.name, row.detail);
        svg += QStringLiteral("<g class=\"row %1\">").arg(kind);
        if (row.detail.isEmpty()) {
            svg += text(kNameRoom, baseline, fittedToWidth(row.name, kNameRoom, kFont),
                        QStringLiteral("end"), QStringLiteral("name"));
        } else {
            svg += text(kNameRoom, top + 10, fittedToWidth(row.name, kNameRoom, kFont),
                        QStringLiteral("end"), QStringLiteral("name"));
            svg += text(kNameRoom, top + 20, fittedToWidth(row.detail, kNameRoom, kDetailFont),
                        QStringLiteral("end"), QStringLiteral("detail"));
        }
        svg += QStringLiteral("<rect class=\"bar %1\" x=\"%2\" y=\"%3\" width=\"%4\" height=\"%5\">"
                              "<title>%6</title></rect>")
                       .arg(kind, svgNumber(kNameColumn), svgNumber(top + height / 2 - 5),
                            svgNumber(std::max(x(row.seconds) - kNameColumn, 1.0)),
                            svgNumber(kRow - 3),
                            escapedText(Words::tr("%1: %2 秒")
                                                .arg(whole, rankSecondsText(row.seconds))));
        svg += text(x(row.seconds) + 4, baseline, rankSecondsText(row.seconds),
                    QStringLiteral("start"), QStringLiteral("value"));
        svg += QStringLiteral("</g>\n");
        top += height;
    }
    return svg + QStringLiteral("</svg>\n");
}

namespace {

// Points drawn one a result up to this many; beyond, spans of days, as
// short as keep them to this many: a year of daily runs day by day, each
// point and bar still a unit or more of the chart's width apart.
constexpr std::size_t kMostPoints = 366;

// One point of the history: a result, or the results of a span of days.
struct HistoryPoint
{
    double at = 0;
    // The span it stands for: its result's start alone, or whole days.
    double from = 0;
    double to = 0;
    // Of the standard run's seconds its results give.
    Statistics spread;
    std::size_t results = 0;
    QString title;
};

double msecsOf(const SavedResult &r)
{
    return double(r.started.toMSecsSinceEpoch());
}

// The medians of `byTime` (in the order they started) over spans of
// `daysPerPoint` UTC days from the first one's day, one point a span that
// holds a result.
std::vector<HistoryPoint> spanPoints(std::span<const std::pair<const SavedResult *, double>> byTime,
                                     qint64 daysPerPoint)
{
    std::vector<HistoryPoint> points;
    const QDate firstDay = byTime.front().first->started.toUTC().date();
    std::vector<double> inSpan;
    const auto close = [&](qint64 span) {
        const QDate from = firstDay.addDays(span * daysPerPoint);
        const QDate to = from.addDays(daysPerPoint - 1);
        HistoryPoint p;
        p.from = double(QDateTime(from, QTime(0, 0), Qt::UTC).toMSecsSinceEpoch());
        p.to = p.from + double(daysPerPoint) * 86'400'000.0;
        p.at = (p.from + p.to) / 2;
        p.spread = *statisticsOf(inSpan);
        p.results = inSpan.size();
        const QString days = daysPerPoint == 1
                ? from.toString(Qt::ISODate)
                : Words::tr("%1 ～ %2").arg(from.toString(Qt::ISODate), to.toString(Qt::ISODate));
        p.title = Words::tr("%1: 中央値 %2 秒（最小 %3 秒、最大 %4 秒、結果 %5 件）")
                          .arg(days, secondsText(p.spread.median), secondsText(p.spread.min),
                               secondsText(p.spread.max), QString::number(p.results));
        points.push_back(std::move(p));
        inSpan.clear();
    };
    qint64 current = -1;
    for (const auto &[result, seconds] : byTime) {
        const qint64 span = firstDay.daysTo(result->started.toUTC().date()) / daysPerPoint;
        if (span != current && !inSpan.empty())
            close(current);
        current = span;
        inSpan.push_back(seconds);
    }
    close(current);
    return points;
}

} // namespace

HistoryChart historyChart(const QString &id, std::span<const SavedResult> saved,
                          const SavedResult *unsaved)
{
    // Results of different counts are compared by the seconds their median
    // speed gives the standard run: a run of more passes is not a slower machine.
    std::vector<std::pair<const SavedResult *, double>> byTime;
    for (const SavedResult &result : saved) {
        if (const auto seconds = standardRunSeconds(result.median(), result.passes))
            byTime.emplace_back(&result, *seconds);
    }
    std::optional<double> unsavedSeconds;
    if (unsaved)
        unsavedSeconds = standardRunSeconds(unsaved->median(), unsaved->passes);
    if (byTime.empty() && !unsavedSeconds)
        return {};
    std::stable_sort(byTime.begin(), byTime.end(), [](const auto &a, const auto &b) {
        return a.first->started < b.first->started;
    });
    // To the minute: the seconds would crowd the axis.
    const auto dateOf = [](const SavedResult &r) { return utcText(r.started).left(16); };

    std::vector<HistoryPoint> points;
    QStringList caption;
    if (byTime.size() <= kMostPoints) {
        for (const auto &[result, seconds] : byTime)
            points.push_back(
                    { msecsOf(*result), msecsOf(*result), msecsOf(*result),
                      *statisticsOf({ &seconds, 1 }), 1,
                      Words::tr("%1 %2: 2000 万回 %3 秒")
                              .arg(dateOf(*result), result->label, secondsText(seconds)) });
        if (!points.empty())
            caption << Words::tr("点は保存した結果 1 件ずつです（全 %1 件）。")
                               .arg(countText(double(points.size())));
    } else {
        const qint64 days = byTime.front().first->started.toUTC().date().daysTo(
                                    byTime.back().first->started.toUTC().date())
                + 1;
        const qint64 daysPerPoint = (days + qint64(kMostPoints) - 1) / qint64(kMostPoints);
        points = spanPoints(byTime, daysPerPoint);
        caption << (daysPerPoint == 1
                            ? Words::tr(
                                      "点は 1 "
                                      "日ごとの保存した結果の中央値、縦棒はその日の最小から最大です"
                                      "（結果 %1 件、%2 日）。")
                                      .arg(countText(double(byTime.size())),
                                           countText(double(points.size())))
                            : Words::tr("点は %3 "
                                        "日ごとの保存した結果の中央値、縦棒はその期間の最小から"
                                        "最大です（結果 %1 件、%2 期間）。")
                                      .arg(countText(double(byTime.size())),
                                           countText(double(points.size())),
                                           QString::number(daysPerPoint)));
    }
    if (unsavedSeconds)
        caption << Words::tr("◇ は保存していないこの実行です。");

    double low = INFINITY, high = -INFINITY, first = INFINITY, last = -INFINITY;
    for (const HistoryPoint &p : points) {
        low = std::min(low, p.spread.min);
        high = std::max(high, p.spread.max);
        first = std::min(first, p.from);
        last = std::max(last, p.to);
    }
    if (unsavedSeconds) {
        low = std::min(low, *unsavedSeconds);
        high = std::max(high, *unsavedSeconds);
        first = std::min(first, msecsOf(*unsaved));
        last = std::max(last, msecsOf(*unsaved));
    }
    constexpr double kTop = 10, kBottom = 220, kLeft = 70;
    const Scale x { first, last, kLeft + 10, kRight - 10, false };
    const Scale y = paddedLinear(low, high, kBottom, kTop);
    QString svg = svgOpen(id, Words::tr("この機種の履歴: 各結果の中央値を 2000 万回に換算した秒数"),
                          kBottom + (unsavedSeconds ? 58 : 40));
    svg += QStringLiteral("<desc>%1</desc>\n").arg(escapedText(caption.join(u' ')));
    for (const double mark : y.ticks(5)) {
        svg += line(kLeft, y(mark), kRight, y(mark), QStringLiteral("grid"));
        svg += text(kLeft - 6, y(mark) + 4, secondsText(mark), QStringLiteral("end"),
                    QStringLiteral("tick"));
    }
    svg += line(kLeft, kBottom, kRight, kBottom, QStringLiteral("axis"));
    const QDateTime from = QDateTime::fromMSecsSinceEpoch(qint64(first), Qt::UTC);
    const QDateTime to = QDateTime::fromMSecsSinceEpoch(qint64(last), Qt::UTC);
    svg += text(kLeft, kBottom + 16, utcText(from).left(16), QStringLiteral("start"),
                QStringLiteral("tick"));
    if (last > first)
        svg += text(kRight, kBottom + 16, utcText(to).left(16), QStringLiteral("end"),
                    QStringLiteral("tick"));
    svg += text(kLeft, kBottom + 34, Words::tr("開始日時 (UTC) →　縦軸: 2000 万回の秒数"),
                QStringLiteral("start"), QStringLiteral("tick"));
    if (!points.empty()) {
        QString trend;
        for (const HistoryPoint &p : points)
            trend += svgNumber(x(p.at)) + QLatin1Char(',') + svgNumber(y(p.spread.median))
                    + QLatin1Char(' ');
        svg += QStringLiteral("<polyline class=\"trend\" points=\"%1\"/>\n").arg(trend.trimmed());
    }
    for (const HistoryPoint &p : points) {
        const double px = x(p.at);
        if (p.results > 1)
            svg += line(px, y(p.spread.min), px, y(p.spread.max), QStringLiteral("range"));
        svg += QStringLiteral("<circle class=\"point\" cx=\"%1\" cy=\"%2\" r=\"%3\"><title>%4"
                              "</title></circle>\n")
                       .arg(svgNumber(px), svgNumber(y(p.spread.median)),
                            p.results > 1 ? QStringLiteral("2") : QStringLiteral("3"),
                            escapedText(p.title));
    }
    if (unsavedSeconds) {
        const QString diamond = QStringLiteral("M%1 %2l6 6l-6 6l-6-6z");
        const double ux = x(msecsOf(*unsaved)), uy = y(*unsavedSeconds);
        svg += QStringLiteral("<path class=\"unsaved\" d=\"%1\"><title>%2</title></path>\n")
                       .arg(diamond.arg(svgNumber(ux), svgNumber(uy - 6)),
                            escapedText(
                                    Words::tr("保存していないこの実行 %1: 2000 万回 %2 秒")
                                            .arg(dateOf(*unsaved), secondsText(*unsavedSeconds))));
        // The key, for a reader of the chart alone.
        const double keyY = kBottom + 50;
        svg += QStringLiteral("<circle class=\"point key\" cx=\"%1\" cy=\"%2\" r=\"3\"/>")
                       .arg(svgNumber(kLeft + 3), svgNumber(keyY - 3));
        svg += text(kLeft + 10, keyY, Words::tr("保存した結果"), QStringLiteral("start"),
                    QStringLiteral("tick"));
        svg += QStringLiteral("<path class=\"unsaved\" d=\"%1\"/>")
                       .arg(diamond.arg(svgNumber(kLeft + 183), svgNumber(keyY - 9)));
        svg += text(kLeft + 193, keyY, Words::tr("保存していないこの実行"), QStringLiteral("start"),
                    QStringLiteral("tick"));
    }
    return { svg + QStringLiteral("</svg>\n"), caption };
}

} // namespace kamorin
