#include "results/ShownText.h"

#include <QCoreApplication>

#include <vector>

namespace kamorin {

namespace {

struct Words
{
    Q_DECLARE_TR_FUNCTIONS(ShownText)
};

} // namespace

namespace {

// Unicode's Bidi_Control set: embeddings, overrides, isolates and the
// direction marks reorder the text about them, so that a label can show
// "v1.23-" where it holds "v1.2", a mark and "-3".
bool reordersText(char32_t c)
{
    return (c >= 0x202a && c <= 0x202e) || (c >= 0x2066 && c <= 0x2069) || c == 0x200e
            || c == 0x200f || c == 0x061c;
}

constexpr char32_t kZeroWidthNonJoiner = 0x200c;
constexpr char32_t kZeroWidthJoiner = 0x200d;

// What a joiner may stand between: the letters and marks of a word, where
// scripts such as Persian and the Indic ones need it, and the symbols of an
// emoji sequence.
bool joinable(char32_t c)
{
    switch (QChar::category(c)) {
    case QChar::Letter_Uppercase:
    case QChar::Letter_Lowercase:
    case QChar::Letter_Titlecase:
    case QChar::Letter_Modifier:
    case QChar::Letter_Other:
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Symbol_Other:
        return true;
    default:
        return false;
    }
}

std::vector<char32_t> codePoints(QStringView text)
{
    std::vector<char32_t> points;
    points.reserve(std::size_t(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i].unicode(), text[i + 1].unicode());
            ++i;
        }
        points.push_back(c);
    }
    return points;
}

QString hexOf(char32_t c, int digits)
{
    return QString::number(quint32(c), 16).toUpper().rightJustified(digits, u'0');
}

} // namespace

QString keptShownText(QStringView text, qsizetype limit)
{
    if (!shownTextFault(text, limit))
        return text.toString();
    QString kept;
    qsizetype length = 0;
    for (const char32_t c : codePoints(text)) {
        const bool refused = QChar::isSurrogate(c) || QChar::category(c) == QChar::Other_Control
                || QChar::category(c) == QChar::Other_Format || c == 0x2028 || c == 0x2029;
        QString piece;
        if (!refused)
            piece = QString::fromUcs4(&c, 1);
        else if (c < 0x100)
            piece = QStringLiteral("\\x") + hexOf(c, 2);
        else if (c < 0x10000)
            piece = QStringLiteral("\\u") + hexOf(c, 4);
        else
            piece = QStringLiteral("\\U") + hexOf(c, 8);
        const qsizetype pieceLength = refused ? piece.size() : 1;
        if (length + pieceLength > limit)
            break;
        kept += piece;
        length += pieceLength;
    }
    return kept;
}

std::optional<QString> shownTextFault(QStringView text, qsizetype limit)
{
    // Code points, not user-perceived characters: a character may carry any
    // number of combining marks, so only a count of code points bounds the
    // size of what is kept (four bytes of UTF-8 each at most).
    const std::vector<char32_t> points = codePoints(text);
    for (std::size_t i = 0; i < points.size(); ++i) {
        const char32_t c = points[i];
        // Half of a pair: UTF-8 cannot hold it, so it would not survive an export.
        if (QChar::isSurrogate(c))
            return Words::tr("対になっていないサロゲートが含まれています");
        // A line break or other control character would break the lines of
        // the text and CSV outputs that show it.
        if (QChar::category(c) == QChar::Other_Control)
            return Words::tr("制御文字が含まれています");
        if (reordersText(c))
            return Words::tr("文字の向きを変える制御文字が含まれています");
        if (c == 0x2028 || c == 0x2029)
            return Words::tr("行区切りか段落区切りの文字が含まれています");
        // Invisible format characters (a zero-width space, a byte-order
        // mark, the annotation and tag characters) make two labels that
        // look alike; only a joiner inside a word or an emoji is kept.
        if (QChar::category(c) == QChar::Other_Format) {
            const bool joiner = c == kZeroWidthJoiner || c == kZeroWidthNonJoiner;
            if (!joiner || i == 0 || i + 1 == points.size() || !joinable(points[i - 1])
                || !joinable(points[i + 1]))
                return Words::tr("見えない書式文字 (U+%1) が含まれています").arg(hexOf(c, 4));
        }
    }
    if (qsizetype(points.size()) > limit)
        return Words::tr("%1 文字を超えています").arg(limit);
    return std::nullopt;
}

std::optional<QString> labelFault(QStringView label)
{
    if (label == kLastResultKey)
        return Words::tr("last は --compare などで最後に保存した結果を指します");
    return shownTextFault(label);
}

} // namespace kamorin
