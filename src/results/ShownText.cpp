#include "results/ShownText.h"

#include <QCoreApplication>

namespace kamorin {

namespace {

struct Words
{
    Q_DECLARE_TR_FUNCTIONS(ShownText)
};

} // namespace

namespace {

// Embeddings, overrides and isolates: they reorder what follows them, so
// that a label can show "RTL" where it holds "LTR".
bool reordersText(char32_t c)
{
    return (c >= 0x202a && c <= 0x202e) || (c >= 0x2066 && c <= 0x2069);
}

} // namespace

std::optional<QString> shownTextFault(QStringView text, qsizetype limit)
{
    // Code points, not user-perceived characters: a character may carry any
    // number of combining marks, so only a count of code points bounds the
    // size of what is kept (four bytes of UTF-8 each at most).
    qsizetype length = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i].unicode(), text[i + 1].unicode());
            ++i;
        }
        ++length;
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
    }
    if (length > limit)
        return Words::tr("%1 文字を超えています").arg(limit);
    return std::nullopt;
}

} // namespace kamorin
