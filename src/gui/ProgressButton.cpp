#include "gui/ProgressButton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

#include <algorithm>

namespace kamorin {

void ProgressButton::setFill(std::optional<double> fraction)
{
    if (fraction)
        fraction = std::clamp(*fraction, 0.0, 1.0);
    if (fraction == m_fill)
        return;
    m_fill = fraction;
    update();
}

void ProgressButton::paintEvent(QPaintEvent *event)
{
    if (!m_fill) {
        QPushButton::paintEvent(event);
        return;
    }
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    painter.drawControl(QStyle::CE_PushButtonBevel, option);

    // Inside the frame, so the button keeps its outline; the caption is
    // drawn over the fill and stays readable in both halves.
    const QRect face = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    // The edge covers a pixel in part, so even a long run that moves the fill
    // by less than a pixel a second is seen to move.
    const QRectF filled(face.left(), face.top(), face.width() * *m_fill, face.height());
    QColor colour = palette().color(QPalette::Highlight);
    colour.setAlpha(110);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(filled, colour);
    painter.setRenderHint(QPainter::Antialiasing, false);

    painter.drawControl(QStyle::CE_PushButtonLabel, option);
}

} // namespace kamorin
