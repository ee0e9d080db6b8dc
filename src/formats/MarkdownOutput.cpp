#include "formats/FigureText.h"
#include "formats/Format.h"
#include "formats/TerminalText.h"
#include "formats/TextOutput.h"

#include <QCoreApplication>

namespace kamorin {

namespace {

struct Words
{
    Q_DECLARE_TR_FUNCTIONS(MarkdownOutput)
};

// A cell of a GitHub table shows the text it holds: a pipe would end it, a
// backslash escape what follows, and the punctuation that starts emphasis,
// code, a link or an image, raw HTML (<img>, <details>), an entity or a
// strike-through would turn a label into them, so each is escaped; controls
// as on the terminal.
QString cell(const QString &text)
{
    static const QString kMarkup = QStringLiteral("\\`*_[]<>!~|&");
    QString escaped;
    for (const QChar c : escapeControls(text)) {
        if (kMarkup.contains(c))
            escaped += u'\\';
        escaped += c;
    }
    return escaped;
}

QString tableRow(const QStringList &cells)
{
    QStringList escaped;
    for (const QString &text : cells)
        escaped << cell(text);
    return QStringLiteral("| ") + escaped.join(QStringLiteral(" | ")) + QStringLiteral(" |\n");
}

// The heading, the alignment row and the rows.
QString markdownTable(const std::vector<QStringList> &rows, const std::vector<bool> &rightAligned)
{
    if (rows.empty())
        return {};
    QString out = tableRow(rows.front());
    QStringList alignment;
    for (qsizetype column = 0; column < rows.front().size(); ++column) {
        const auto at = static_cast<std::size_t>(column);
        alignment << (at < rightAligned.size() && rightAligned[at] ? QStringLiteral("---:")
                                                                   : QStringLiteral("---"));
    }
    out += QStringLiteral("| ") + alignment.join(QStringLiteral(" | ")) + QStringLiteral(" |\n");
    for (std::size_t i = 1; i < rows.size(); ++i)
        out += tableRow(rows[i]);
    return out;
}

QString linesTable(const LabelledLines &lines)
{
    std::vector<QStringList> rows { { Words::tr("項目"), Words::tr("値") } };
    for (const auto &[label, value] : lines)
        rows.push_back({ label, value });
    return markdownTable(rows, { false, false });
}

QString rankingTable(const Ranking &ranking)
{
    std::vector<QStringList> rows { { Words::tr("順位"), Words::tr("名前"),
                                      Words::tr("2000万回の秒数"), QStringLiteral("SCORE") } };
    for (const RankRow &row : ranking.rows)
        rows.push_back({ QString::number(row.position), rankRowName(row),
                         rankSecondsText(row.seconds), row.score.value_or(QString()) });
    return markdownTable(rows, { true, false, true, true });
}

class MarkdownFormat final : public Format
{
public:
    QString run(const RunAnswer &a) const override
    {
        QString out = linesTable(summaryLines(a.window, a.benchmark));
        if (const QString hint = scoreHint(a.window, a.autoCount); !hint.isEmpty())
            out += u'\n' + hint;
        if (a.benchmark.rank)
            out += u'\n' + rankingTable(*a.benchmark.rank);
        return out;
    }
    void history(const HistoryListing &listing, const TextSink &write) const override
    {
        write(markdownTable(historyRows(listing, Cells::Whole), historyColumnsRightAligned()));
    }
    QString comparison(const ComparisonListing &listing) const override
    {
        return linesTable(comparisonLines(listing));
    }
};

} // namespace

const Format &markdownFormat()
{
    static const MarkdownFormat markdown;
    return markdown;
}

} // namespace kamorin
