#include "cli/Ranking.h"

#include "runtime/Format.h"

#include <algorithm>

namespace kamorin {

namespace {

// Columns a terminal gives a character: two for the wide East Asian ones
// (ideographs, kana, full-width forms), one for the rest.
int columnsOf(QStringView text)
{
    int columns = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool wide = (u >= 0x1100 && u <= 0x115f) || (u >= 0x2e80 && u <= 0xa4cf)
                || (u >= 0xac00 && u <= 0xd7a3) || (u >= 0xf900 && u <= 0xfaff)
                || (u >= 0xfe30 && u <= 0xfe4f) || (u >= 0xff00 && u <= 0xff60)
                || (u >= 0xffe0 && u <= 0xffe6);
        columns += wide ? 2 : 1;
    }
    return columns;
}

QString padRight(const QString &text, int columns)
{
    return text + QString(std::max(0, columns - columnsOf(text)), u' ');
}

QString padLeft(const QString &text, int columns)
{
    return QString(std::max(0, columns - columnsOf(text)), u' ') + text;
}

} // namespace

QString thisMachineName()
{
    return QStringLiteral("★この機械");
}

Ranking rankAmong(std::span<const ReferenceMachine> machines, double seconds)
{
    Ranking ranking;
    ranking.seconds = seconds;
    ranking.of = static_cast<int>(machines.size()) + 1;

    RankRow self;
    self.name = thisMachineName();
    self.seconds = seconds;
    self.score = 1;
    self.thisMachine = true;
    ranking.rows.push_back(self);
    for (const ReferenceMachine &machine : machines) {
        RankRow row;
        row.name = QString::fromUtf16(machine.name.data(),
                                      static_cast<qsizetype>(machine.name.size()));
        row.seconds = machine.seconds;
        // As SCORE would put it if this machine were the reference.
        row.score = seconds / machine.seconds;
        ranking.rows.push_back(row);
    }
    // Stable, and this machine first: at a tie it stands before the machines
    // it ties with, since none of them is strictly faster.
    std::stable_sort(ranking.rows.begin(), ranking.rows.end(),
                     [](const RankRow &a, const RankRow &b) { return a.seconds < b.seconds; });

    std::size_t faster = 0;
    for (std::size_t i = 0; i < ranking.rows.size(); ++i) {
        RankRow &row = ranking.rows[i];
        if (i > 0 && ranking.rows[i - 1].seconds < row.seconds)
            faster = i;
        row.position = static_cast<int>(faster) + 1;
    }

    const auto self_ = std::find_if(ranking.rows.begin(), ranking.rows.end(),
                                    [](const RankRow &row) { return row.thisMachine; });
    ranking.position = self_->position;
    if (self_ != ranking.rows.begin())
        ranking.faster = std::prev(self_)->name;
    const auto slower = std::find_if(self_, ranking.rows.end(),
                                     [&](const RankRow &row) { return row.seconds > seconds; });
    if (slower != ranking.rows.end())
        ranking.slower = slower->name;
    return ranking;
}

QString rankingAsText(const Ranking &ranking)
{
    static const FormatPattern twoDecimals = FormatPattern::parse(u"##0.00");
    static const FormatPattern threeDecimals = FormatPattern::parse(u"##0.000");

    const QString placeHeading = QStringLiteral("順位");
    const QString nameHeading = QStringLiteral("名前");
    const QString secondsHeading = QStringLiteral("2000万回の秒数");
    const QString scoreHeading = QStringLiteral("SCORE");

    struct Cells
    {
        QString place, name, seconds, score;
    };
    std::vector<Cells> cells;
    int placeWidth = columnsOf(placeHeading);
    int nameWidth = columnsOf(nameHeading);
    int secondsWidth = columnsOf(secondsHeading);
    int scoreWidth = columnsOf(scoreHeading);
    for (const RankRow &row : ranking.rows) {
        Cells c { QString::number(row.position), row.name, twoDecimals.apply(row.seconds),
                  threeDecimals.apply(row.score) };
        placeWidth = std::max(placeWidth, columnsOf(c.place));
        nameWidth = std::max(nameWidth, columnsOf(c.name));
        secondsWidth = std::max(secondsWidth, columnsOf(c.seconds));
        scoreWidth = std::max(scoreWidth, columnsOf(c.score));
        cells.push_back(std::move(c));
    }

    const auto line = [&](const Cells &c) {
        return padLeft(c.place, placeWidth) + QStringLiteral("  ") + padRight(c.name, nameWidth)
                + QStringLiteral("  ") + padLeft(c.seconds, secondsWidth) + QStringLiteral("  ")
                + padLeft(c.score, scoreWidth) + u'\n';
    };
    QString out = line({ placeHeading, nameHeading, secondsHeading, scoreHeading });
    for (const Cells &c : cells)
        out += line(c);
    return out;
}

} // namespace kamorin
