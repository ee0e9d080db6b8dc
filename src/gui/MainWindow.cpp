#include "gui/MainWindow.h"

#include "gui/AboutDialog.h"
#include "gui/FormView.h"
#include "gui/Icon.h"
#include "gui/QtPlatform.h"
#include "gui/TitleBar.h"
#include "mainwindow/Form1.h"
#include "runtime/EventDispatch.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

namespace kamorin {

namespace {

// A fixed single border: a title, minimise and close, no maximise. Given when
// the window is made: Qt 6.4 on Wayland keeps its own decorations on a window
// that is frameless only later. Qt drops the frameless hint beside a button
// hint, and the title bar drawn here has the buttons.
Qt::WindowFlags fixedSingleBorder()
{
    if (TitleBar::wanted())
        return Qt::Window | Qt::FramelessWindowHint;
    return Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
}

} // namespace

MainWindow::MainWindow(Form1 &form, QtPlatform &platform)
    : QMainWindow(nullptr, fixedSingleBorder()), m_platform(platform),
      m_view(new FormView(form, platform, this)), m_menuBar(new QMenuBar)
{
    setWindowTitle(QStringLiteral("Kamorin"));
    setWindowIcon(programIcon());
    setAttribute(Qt::WA_DeleteOnClose, false);
    if (TitleBar::wanted()) {
        auto *top = new QWidget(this);
        auto *column = new QVBoxLayout(top);
        column->setContentsMargins(0, 0, 0, 0);
        column->setSpacing(0);
        column->addWidget(new TitleBar(this, TitleBar::MinimiseAndClose));
        column->addWidget(m_menuBar);
        setMenuWidget(top);
    } else {
        setMenuBar(m_menuBar);
    }

    QMenu *fileMenu = m_menuBar->addMenu(form.file.caption);
    QAction *exitAction = fileMenu->addAction(form.exit.caption);
    connect(exitAction, &QAction::triggered, this,
            [&form, &platform] { dispatch(platform, [&] { exit_Click(form, platform); }); });
    QMenu *helpMenu = m_menuBar->addMenu(form.Help.caption);
    QAction *verAction = helpMenu->addAction(form.Ver.caption);
    connect(verAction, &QAction::triggered, this,
            [this, &platform] { dispatch(platform, [&] { Ver_Click(m_about, platform); }); });
    platform.registerWindow(m_about, [this, &platform] {
        return std::make_unique<AboutDialog>(m_about, platform, this);
    });
    // F10 opens the first menu, as on other desktops; Alt alone enters the
    // menu bar (the application's style allows it). The menu bar takes the
    // focus first, as Alt gives it: a menu opened from outside it hands the
    // focus back to the window's control whenever the arrows move to the
    // next menu, and a screen reader announces that control while the menu
    // is open.
    auto *openMenu = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(openMenu, &QShortcut::activated, this, [this, fileMenu] {
        m_menuBar->setFocus(Qt::MenuBarFocusReason);
        m_menuBar->setActiveAction(fileMenu->menuAction());
    });
    m_menuBar->installEventFilter(this);
    m_focusWatch
            = connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old, QWidget *now) {
                  if (now == m_menuBar && old && old->window() == this)
                      m_focusBeforeMenu = old;
              });
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
        if (!m_menuBar->activeAction())
            leaveMenuBar();
        QWidget *focus = QApplication::focusWidget();
        if (!focus || focus->window() != this || focus == m_menuBar)
            return;
        setAttribute(Qt::WA_KeyboardFocusChange);
        focus->update();
    });
}

// The menu bar gives the focus back only to a control it took it from
// itself and only while it has the keys; after F10, or after a menu item
// opened the version dialog, that is done here once no menu is open.
void MainWindow::leaveMenuBar()
{
    // The window's own focus: a menu item may have opened the version dialog.
    if (focusWidget() == m_menuBar && !QApplication::activePopupWidget() && m_focusBeforeMenu)
        m_focusBeforeMenu->setFocus(Qt::PopupFocusReason);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_menuBar || event->type() != QEvent::KeyPress
        || static_cast<QKeyEvent *>(event)->key() != Qt::Key_Escape
        || QApplication::activePopupWidget())
        return QMainWindow::eventFilter(watched, event);
    // The menu bar lets go of the keys first, if it had them.
    static_cast<QObject *>(m_menuBar)->event(event);
    leaveMenuBar();
    return true;
}

// The dialog watches m_about, so it must not outlive it.
MainWindow::~MainWindow()
{
    disconnect(m_focusWatch);
    m_platform.setRunWatcher(nullptr);
    m_platform.unregister(m_about);
}

} // namespace kamorin
