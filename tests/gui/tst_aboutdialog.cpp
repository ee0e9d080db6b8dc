#include "gui/AboutDialog.h"
#include "gui/Application.h"
#include "gui/MainWindow.h"
#include "gui/QtPlatform.h"
#include "mainwindow/Form1.h"
#include "support/OpenWindow.h"
#include "support/PropertyRecorder.h"

#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace kamorin;

class TestAboutDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { setUpApplication(); }
    void init();
    void cleanup();
    void dialogLooksAsDesigned();
    void choosingTheMenuTwiceShowsOneDialog();
    void enterAndEscPressOkWhereverTheFocusIs_data();
    void enterAndEscPressOkWhereverTheFocusIs();
    void closeBoxUnloadsAndTheNextShowLoadsAfresh();
    // Last: ending the program's event loop cannot be undone in this process.
    void programEndsWhenTheDialogClosesAfterTheMainWindow();

private:
    void choose(const QString &menuItem);
    void openAbout() { choose(QStringLiteral("バージョン情報")); }
    QWidget *dialog() { return m_app->platform.windowOf(m_app->window->aboutForm()); }
    template<typename T>
    T *control(const char *name)
    {
        return dialog()->findChild<T *>(QString::fromLatin1(name));
    }
    static QList<QDialog *> topLevelDialogs();

    std::unique_ptr<test::OpenWindow> m_app;
};

void TestAboutDialog::init()
{
    m_app = std::make_unique<test::OpenWindow>();
    QVERIFY(QTest::qWaitForWindowExposed(m_app->window.get()));
}

void TestAboutDialog::cleanup()
{
    m_app.reset();
    QVERIFY(topLevelDialogs().isEmpty());
}

void TestAboutDialog::choose(const QString &menuItem)
{
    for (QAction *action : m_app->window->menuBar()->findChildren<QAction *>()) {
        if (action->text() == menuItem)
            return action->trigger();
    }
    QFAIL("no such menu item");
}

// Dialogs closed earlier are gone once their deferred deletion has run.
QList<QDialog *> TestAboutDialog::topLevelDialogs()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QList<QDialog *> dialogs;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *d = qobject_cast<QDialog *>(widget))
            dialogs.append(d);
    }
    return dialogs;
}

void TestAboutDialog::dialogLooksAsDesigned()
{
    openAbout();
    QWidget *about = dialog();
    QVERIFY(QTest::qWaitForWindowExposed(about));
    QCOMPARE(about->windowTitle(), QStringLiteral("Kamorin(KT版)のﾊﾞｰｼﾞｮﾝ情報"));
    QCOMPARE(about->size(), QSize(230, 119));
    QCOMPARE(about->maximumSize(), QSize(230, 119));
    QVERIFY(!about->parentWidget());
    QCOMPARE(about->windowType(), Qt::Dialog);
    QVERIFY(!(about->windowFlags()
              & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(!about->isModal());

    QCOMPARE(control<QLabel>("lblTitle")->text(), QStringLiteral("Kamorin(ＫＴ版)"));
    QCOMPARE(control<QLabel>("lblVersion")->text(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ 1.2.7"));
    QCOMPARE(control<QLabel>("lblVersion")->geometry(), QRect(72, 52, 115, 15));
    QCOMPARE(control<QLabel>("picIcon")->pixmap().deviceIndependentSize(), QSizeF(32, 32));
    auto *ok = control<QPushButton>("cmdOK");
    QVERIFY(ok->isDefault());
    QCOMPARE(about->focusWidget(), ok);
}

void TestAboutDialog::choosingTheMenuTwiceShowsOneDialog()
{
    test::PropertyRecorder recorder(m_app->window->aboutForm().observers);
    openAbout();
    const std::size_t loadAssignments = recorder.assignments.size();
    QVERIFY(loadAssignments > 0);
    QWidget *first = dialog();

    openAbout();
    QCOMPARE(topLevelDialogs().size(), 1);
    QCOMPARE(dialog(), first);
    QVERIFY(first->isVisible());
    QCOMPARE(recorder.assignments.size(), loadAssignments);
}

void TestAboutDialog::enterAndEscPressOkWhereverTheFocusIs_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("afterTab");
    QTest::newRow("Enter on OK") << int(Qt::Key_Return) << false;
    QTest::newRow("keypad Enter on OK") << int(Qt::Key_Enter) << false;
    QTest::newRow("Esc on OK") << int(Qt::Key_Escape) << false;
    QTest::newRow("Enter after Tab") << int(Qt::Key_Return) << true;
    QTest::newRow("Esc after Tab") << int(Qt::Key_Escape) << true;
}

void TestAboutDialog::enterAndEscPressOkWhereverTheFocusIs()
{
    QFETCH(int, key);
    QFETCH(bool, afterTab);
    openAbout();
    QWidget *about = dialog();
    QVERIFY(QTest::qWaitForWindowActive(about));
    QSignalSpy pressed(control<QPushButton>("cmdOK"), &QPushButton::clicked);
    if (afterTab) {
        QTest::keyClick(about->focusWidget(), Qt::Key_Tab);
        // The icon is no Tab stop.
        QCOMPARE(about->focusWidget(), control<QPushButton>("cmdOK"));
    }
    QTest::keyClick(about->focusWidget(), Qt::Key(key),
                    key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);

    QCOMPARE(pressed.size(), 1);
    QVERIFY(!m_app->window->aboutForm().isLoaded());
    QVERIFY(topLevelDialogs().isEmpty());
    QVERIFY(m_app->window->isVisible());
}

void TestAboutDialog::closeBoxUnloadsAndTheNextShowLoadsAfresh()
{
    frmAbout2 &form = m_app->window->aboutForm();
    openAbout();
    QSignalSpy pressed(control<QPushButton>("cmdOK"), &QPushButton::clicked);
    form.lblTitle.setCaption(QStringLiteral("left over"));
    QCOMPARE(control<QLabel>("lblTitle")->text(), QStringLiteral("left over"));

    QVERIFY(dialog()->close());
    QCOMPARE(pressed.size(), 0);
    QVERIFY(!form.isLoaded());
    QVERIFY(topLevelDialogs().isEmpty());

    openAbout();
    QVERIFY(form.isLoaded());
    QCOMPARE(topLevelDialogs().size(), 1);
    QCOMPARE(dialog()->windowTitle(), QStringLiteral("Kamorin(KT版)のﾊﾞｰｼﾞｮﾝ情報"));
    QCOMPARE(control<QLabel>("lblTitle")->text(), QStringLiteral("Kamorin(ＫＴ版)"));
    QCOMPARE(control<QLabel>("lblVersion")->text(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ 1.2.7"));
}

void TestAboutDialog::programEndsWhenTheDialogClosesAfterTheMainWindow()
{
    QVERIFY(QApplication::quitOnLastWindowClosed());
    bool dialogOutlivedTheMainWindow = false;
    bool timedOut = false;
    // Whatever has not fired when this test returns is dropped with it.
    QObject scope;
    QTimer::singleShot(0, &scope, [&] {
        openAbout();
        choose(QStringLiteral("終了"));
    });
    // Had closing the main window ended the program, this would never run.
    QTimer::singleShot(100, &scope, [&] {
        dialogOutlivedTheMainWindow
                = !m_app->window->isVisible() && dialog() && dialog()->isVisible();
        if (dialogOutlivedTheMainWindow)
            QTest::mouseClick(control<QPushButton>("cmdOK"), Qt::LeftButton);
    });
    QTimer::singleShot(5000, &scope, [&] {
        timedOut = true;
        QApplication::exit(1);
    });
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(dialogOutlivedTheMainWindow);
    QVERIFY(!timedOut);
}

QTEST_MAIN(TestAboutDialog)
#include "tst_aboutdialog.moc"
