#include "gui/MainWindow.h"

#include "gui/AboutDialog.h"
#include "gui/FormView.h"
#include "gui/Icon.h"
#include "gui/QtPlatform.h"
#include "mainwindow/Form1.h"
#include "runtime/EventDispatch.h"

#include <QApplication>
#include <QMenuBar>
#include <QShortcut>
#include <QTimer>

namespace kamorin {

MainWindow::MainWindow(Form1 &form, QtPlatform &platform)
    : QMainWindow(nullptr,
                  Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                          | Qt::WindowCloseButtonHint),
      m_platform(platform), m_view(new FormView(form, platform, this))
{
    setWindowTitle(QStringLiteral("Kamorin"));
    setWindowIcon(programIcon());
    setAttribute(Qt::WA_DeleteOnClose, false);

    QMenu *fileMenu = menuBar()->addMenu(form.file.caption);
    QAction *exitAction = fileMenu->addAction(form.exit.caption);
    connect(exitAction, &QAction::triggered, this,
            [&form, &platform] { dispatch(platform, [&] { exit_Click(form, platform); }); });
    QMenu *helpMenu = menuBar()->addMenu(form.Help.caption);
    QAction *verAction = helpMenu->addAction(form.Ver.caption);
    connect(verAction, &QAction::triggered, this,
            [this, &platform] { dispatch(platform, [&] { Ver_Click(m_about, platform); }); });
    platform.registerWindow(m_about, [this, &platform] {
        return std::make_unique<AboutDialog>(m_about, platform, this);
    });
    // F10 opens the first menu, as on other desktops; Alt alone enters the
    // menu bar (the application's style allows it).
    auto *openMenu = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(openMenu, &QShortcut::activated, this,
            [this, fileMenu] { menuBar()->setActiveAction(fileMenu->menuAction()); });
    for (QMenu *menu : { fileMenu, helpMenu })
        connect(menu, &QMenu::aboutToHide, this, &MainWindow::showFocusAgain);

    setCentralWidget(m_view);
    platform.setRunWatcher(m_view);
    // The first field with a tab index of 0 takes the focus when the window opens.
    m_view->widgetFor("Text2")->setFocus();
    // Fixed single border: the client area keeps its designed size.
    setFixedSize(sizeHint());
}

// Closing a menu gives the focus back to the control that had it, but Qt
// only frames the focus after Tab: a keyboard user would not see where it went.
void MainWindow::showFocusAgain()
{
    QTimer::singleShot(0, this, [this] {
        QWidget *focus = QApplication::focusWidget();
        if (!focus || focus->window() != this || focus == menuBar())
            return;
        setAttribute(Qt::WA_KeyboardFocusChange);
        focus->update();
    });
}

// The dialog watches m_about, so it must not outlive it.
MainWindow::~MainWindow()
{
    m_platform.setRunWatcher(nullptr);
    m_platform.unregister(m_about);
}

} // namespace kamorin
