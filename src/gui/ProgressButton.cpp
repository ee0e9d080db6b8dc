#include "gui/ProgressButton.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QStyleOptionButton>
#include <QStylePainter>

#include <algorithm>
#include <cmath>

namespace kamorin {

void ProgressButton::setFill(std::optional<double> fraction, const QString &description)
{
    if (fraction)
        fraction = std::clamp(*fraction, 0.0, 1.0);
    const std::optional<int> percentBefore = percent();
    if (fraction != m_fill) {
        m_fill = fraction;
        update();
    }
    // A screen reader announces these: once a percent, not every repaint.
    if (percent() != percentBefore) {
        QAccessibleValueChangeEvent changed(this, percent().value_or(0));
        QAccessible::updateAccessibility(&changed);
    }
    if (description != m_description) {
        m_description = description;
        QAccessibleEvent changed(this, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&changed);
    }
}

std::optional<int> ProgressButton::percent() const
{
    if (!m_fill)
        return std::nullopt;
    return static_cast<int>(std::floor(*m_fill * 100));
}

void ProgressButton::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (enter && modifiers == Qt::NoModifier && !event->isAutoRepeat()) {
        click();
        return;
    }
    QPushButton::keyPressEvent(event);
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
