#include "gui/TextFit.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>

#include <algorithm>

namespace kamorin {

namespace {

constexpr int kNarrowest = 80;
// A line edit's frame and the margin it keeps inside it, on each side.
constexpr int kLineEditInset = 4;

// Glyph advances are rounded one by one when drawn, so a text needs a little
// more room than its measured width.
constexpr int kRoundingSlack = 2;

QFont fitted(const QFont &designed, const QString &text, int available)
{
    const QFontMetrics metrics(designed);
    int widest = 0;
    for (const QString &line : text.split(u'\n'))
        widest = std::max(widest, metrics.horizontalAdvance(line) + kRoundingSlack);
    if (widest <= available || available <= 0)
        return designed;
    QFont font = designed;
    font.setStretch(std::max(kNarrowest, 100 * available / widest));
    return font;
}

} // namespace

void fitText(QLineEdit *edit, const QFont &designed)
{
    edit->setFont(fitted(designed, edit->text(), edit->width() - 2 * kLineEditInset));
}

void fitText(QLabel *label, const QFont &designed)
{
    if (!label->wordWrap())
        label->setFont(fitted(designed, label->text(), label->contentsRect().width()));
}

} // namespace kamorin
