#pragma once

#include "about/frmAbout2.h"

#include <QMainWindow>
#include <QPointer>

class QMenuBar;

namespace kamorin {

class Form1;
class FormView;
class QtPlatform;

// Form1's window: its menu bar above the client area, fixed single border
// (on Wayland with a title bar of its own).
// Closing it only hides it, so the version dialog it opened can stay in use.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    MainWindow(Form1 &form, QtPlatform &platform);
    ~MainWindow() override;

    FormView *formView() const { return m_view; }
    frmAbout2 &aboutForm() { return m_about; }

private:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void leaveMenuBar();
    void showFocusAgain();

    QtPlatform &m_platform;
    // The one version dialog, opened from the ヘルプ menu.
    frmAbout2 m_about;
    FormView *m_view;
    // Not QMainWindow::menuBar(), which replaces a title bar above it.
    QMenuBar *m_menuBar;
    QPointer<QWidget> m_focusBeforeMenu;
    // The application outlives the window: the window's teardown moves the
    // focus, which must not reach a window half destroyed.
    QMetaObject::Connection m_focusWatch;
};

} // namespace kamorin
