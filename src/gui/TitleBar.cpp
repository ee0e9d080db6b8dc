#include "gui/TitleBar.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QToolButton>
#include <QWindow>

namespace kamorin {

namespace {

QToolButton *titleButton(QWidget *parent, QStyle::StandardPixmap icon, const QString &name)
{
    auto *button = new QToolButton(parent);
    button->setIcon(parent->style()->standardIcon(icon, nullptr, parent));
    button->setAutoRaise(true);
    // A title bar takes no focus: the keyboard reaches these through the
    // window manager's own keys and the ファイル menu.
    button->setFocusPolicy(Qt::NoFocus);
    button->setAccessibleName(name);
    button->setToolTip(name);
    return button;
}

} // namespace

TitleBar::TitleBar(QWidget *window, Buttons buttons) : QWidget(window)
{
    auto *icon = new QLabel(this);
    icon->setPixmap(window->windowIcon().pixmap(16, 16));
    auto *title = new QLabel(window->windowTitle(), this);
    title->setAlignment(Qt::AlignCenter);
    connect(window, &QWidget::windowTitleChanged, title, &QLabel::setText);

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(6, 3, 3, 3);
    row->addWidget(icon);
    row->addWidget(title, 1);
    if (buttons == MinimiseAndClose) {
        QToolButton *minimise
                = titleButton(this, QStyle::SP_TitleBarMinButton, QStringLiteral("最小化"));
        connect(minimise, &QToolButton::clicked, window, &QWidget::showMinimized);
        row->addWidget(minimise);
    }
    QToolButton *close
            = titleButton(this, QStyle::SP_TitleBarCloseButton, QStringLiteral("閉じる"));
    connect(close, &QToolButton::clicked, window, &QWidget::close);
    row->addWidget(close);
}

bool TitleBar::wanted()
{
    return QGuiApplication::platformName().startsWith(u"wayland");
}

void TitleBar::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && window()->windowHandle())
        window()->windowHandle()->startSystemMove();
}

void TitleBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window().color().darker(110));
}

} // namespace kamorin
