#include "gui/ProgressButton.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QStyleOptionButton>
#include <QStylePainter>

#include <algorithm>
#include <cmath>

namespace kamorin {

SpokenProgress::SpokenProgress(QWidget *parent) : QWidget(parent)
{
    // The button beneath keeps the pointer, its tooltip and the focus.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void SpokenProgress::restart()
{
    // The first percent of a run is told, 0 included.
    m_percent = -1;
    m_told.invalidate();
}

void SpokenProgress::setProgress(int percent, const QString &words)
{
    m_words = words;
    if (percent == m_percent)
        return;
    m_percent = percent;
    // A screen reader speaks a progress bar every ten seconds or so; told of
    // every percent of a fast run, Orca would take it for a flood and drop
    // the notices around it.
    if (m_told.isValid() && m_told.elapsed() < 1000 && percent < 100)
        return;
    m_told.start();
    QAccessibleValueChangeEvent changed(this, percent);
    QAccessible::updateAccessibility(&changed);
}

void ProgressButton::setFill(std::optional<double> fraction, const QString &words)
{
    if (fraction)
        fraction = std::clamp(*fraction, 0.0, 1.0);
    if (fraction != m_fill) {
        m_fill = fraction;
        update();
    }
    if (!m_fill) {
        if (m_spoken)
            m_spoken->hide();
        return;
    }
    if (!m_spoken)
        m_spoken = new SpokenProgress(parentWidget());
    if (m_spoken->isHidden()) {
        m_spoken->restart();
        m_spoken->setGeometry(geometry());
        m_spoken->raise();
        m_spoken->show();
    }
    m_spoken->setProgress(*percent(), words);
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
