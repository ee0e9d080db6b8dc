#pragma once

#include <QWidget>

namespace kamorin {

// The title bar of a fixed-size window, drawn by the window itself where Qt
// would draw one: Qt 6.4's own Wayland decorations always offer to maximise,
// and a compositor that takes the offer ends a fixed-size window with a
// protocol error. This one has the icon, the window's title, close and, for
// a main window, minimise; dragging it moves the window.
class TitleBar : public QWidget
{
    Q_OBJECT

public:
    enum Buttons
    {
        Close,
        MinimiseAndClose
    };

    TitleBar(QWidget *window, Buttons buttons);

    // Whether windows draw their own title bar here: on Wayland Qt would.
    static bool wanted();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};

} // namespace kamorin
