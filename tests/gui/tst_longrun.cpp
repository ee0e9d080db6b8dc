// The window during a run: it keeps painting and answering the desktop, takes
// no input, shows how far the run has come, and Escape or closing the window
// stops it.

#include "about/frmAbout2.h"
#include "gui/Application.h"
#include "gui/FormView.h"
#include "gui/MainWindow.h"
#include "gui/ProgressButton.h"
#include "gui/RunProgressText.h"
#include "mainwindow/Form1.h"
#include "support/FormState.h"
#include "support/OpenWindow.h"
#include "support/ScoredRun.h"
#include "support/VectorStateWatch.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include <functional>

using namespace kamorin;
using namespace Qt::StringLiterals;

namespace {

// Calls `tick` every 100 ms with the number of ticks so far; each message box
// that opens is closed and its text kept.
class Ticker
{
public:
    explicit Ticker(std::function<void(int)> tick) : m_tick(std::move(tick))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                boxes << box->text();
                box->accept();
                return;
            }
            m_tick(++ticks);
        });
        m_timer.start(100);
    }

    int ticks = 0;
    QStringList boxes;

private:
    std::function<void(int)> m_tick;
    QTimer m_timer;
};

} // namespace

class TestLongRun : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { setUpApplication(); }
    void init();
    void cleanup() { m_app.reset(); }
    void windowStaysAliveAndTakesNoInput();
    void hoverShowsTheProgress();
    void escapeStopsTheRun();
    void closingTheWindowStopsTheRunThenCloses();
    void versionDialogStaysUsableDuringARun();
    void runStartsFromACleanVectorState();
    void progressText_data();
    void progressText();

private:
    QWidget *widget(const char *name) const { return m_app->window->formView()->widgetFor(name); }
    ProgressButton *runButton() const { return static_cast<ProgressButton *>(widget("Command1")); }
    void afterScoredRun();

    std::unique_ptr<test::OpenWindow> m_app;
};

void TestLongRun::init()
{
    m_app = std::make_unique<test::OpenWindow>();
    QVERIFY(QTest::qWaitForWindowExposed(m_app->window.get()));
}

void TestLongRun::afterScoredRun()
{
    test::showScoredRun(m_app->form);
}

void TestLongRun::windowStaysAliveAndTakesNoInput()
{
    afterScoredRun();
    // A second or more here: long enough to be watched, short enough to
    // end by itself even if the window froze.
    m_app->form.Combo4.setText(u"9000"_s);
    int ticksWhileRunning = 0;
    std::vector<double> fills;
    Ticker ticker([&](int tick) {
        if (m_app->form.Command1.caption() != u"計算中")
            return;
        ++ticksWhileRunning;
        fills.push_back(runButton()->fill().value_or(-1));
        if (tick == 2) {
            QTest::mouseClick(widget("Command2"), Qt::LeftButton);
            auto *count = static_cast<QComboBox *>(widget("Combo4"));
            QTest::keyClicks(count->lineEdit(), u"77"_s);
            QTest::keyClick(m_app->window.get(), Qt::Key_F, Qt::AltModifier);
        }
        if (tick == 3) {
            QVERIFY(QApplication::overrideCursor());
            QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
            QVERIFY(runButton()->toolTip().startsWith(u"計算中 "_s));
            QCOMPARE(runButton()->text(), u"計算中"_s);
        }
    });

    QTest::mouseClick(widget("Command1"), Qt::LeftButton);

    QVERIFY2(ticksWhileRunning >= 5, qPrintable(QString::number(ticksWhileRunning)));
    QVERIFY(ticker.boxes.isEmpty());
    QVERIFY(std::is_sorted(fills.begin(), fills.end()));
    QVERIFY(fills.front() >= 0 && fills.back() > 0 && fills.back() <= 1);
    // Neither the click on CLEAR nor the typing reached the form.
    QVERIFY(m_app->form.Combo3.enabled());
    QCOMPARE(m_app->form.Combo4.text(), u"9000"_s);
    QCOMPARE(static_cast<QComboBox *>(widget("Combo4"))->currentText(), u"9000"_s);
    QCOMPARE(m_app->form.Text2.text(), u"3.14159264247847"_s);
    // And the button is a plain button again.
    QVERIFY(!runButton()->fill());
    QVERIFY(runButton()->toolTip().isEmpty());
    QVERIFY(!QApplication::overrideCursor());
}

// The tooltip wakes up some time after the pointer comes to rest, so the run
// lasts until it has shown, however fast the machine.
void TestLongRun::hoverShowsTheProgress()
{
    m_app->form.Combo4.setText(u"9000"_s);
    m_app->form.Combo5.setText(u"億回"_s);
    QString tooltip;
    Ticker ticker([&](int tick) {
        if (tick == 2)
            QTest::mouseMove(runButton());
        if (QToolTip::isVisible())
            tooltip = QToolTip::text();
        if (!tooltip.isEmpty() || tick == 100)
            QTest::keyClick(m_app->window.get(), Qt::Key_Escape);
    });

    QTest::mouseClick(widget("Command1"), Qt::LeftButton);

    QVERIFY2(tooltip.startsWith(u"計算中 "_s) && tooltip.contains(u"Esc"_s), qPrintable(tooltip));
    QVERIFY(ticker.boxes.isEmpty());
}

void TestLongRun::escapeStopsTheRun()
{
    afterScoredRun();
    m_app->form.Combo4.setText(u"9000"_s);
    m_app->form.Combo5.setText(u"億回"_s);
    const QStringList before = test::formState(m_app->form);
    Ticker ticker([&](int tick) {
        if (tick == 3)
            QTest::keyClick(m_app->window.get(), Qt::Key_Escape);
    });

    QTest::mouseClick(widget("Command1"), Qt::LeftButton);

    // A stop the user asked for is no error: no box, and nothing lost.
    QVERIFY(ticker.boxes.isEmpty());
    QCOMPARE(test::formState(m_app->form), before);
    QCOMPARE(runButton()->text(), u"実行"_s);
    QCOMPARE(static_cast<QLineEdit *>(widget("Text3"))->text(), u"30"_s);
    QVERIFY(m_app->window->isVisible());
    QVERIFY(!QApplication::overrideCursor());

    QTest::mouseClick(widget("Command6"), Qt::LeftButton);
    QVERIFY(ticker.boxes.isEmpty());
    QCOMPARE(m_app->form.Text7.text(), u"6.754"_s);
}

// On the worker thread, after Qt's painting and the wait have run on theirs.
void TestLongRun::runStartsFromACleanVectorState()
{
    if (!test::VectorStateWatch::possible())
        QSKIP(test::VectorStateWatch::kWhyNot);
    m_app->form.Combo4.setText(u"1000"_s);
    m_app->form.Combo5.setText(u"回"_s);
    const test::VectorStateWatch watch;
    test::VectorStateWatch::dirty();

    QTest::mouseClick(widget("Command1"), Qt::LeftButton);

    QCOMPARE(m_app->form.Text2.text(), u"3.14059265383979"_s);
    QCOMPARE(watch.loopsReady(), 1);
    QCOMPARE(watch.loopsDirtied(), 1);
    QCOMPARE(watch.dirtyAtStart(), 0);
    QCOMPARE(watch.dirtyAtEnd(), 0);
}

void TestLongRun::closingTheWindowStopsTheRunThenCloses()
{
    m_app->form.Combo4.setText(u"9000"_s);
    m_app->form.Combo5.setText(u"億回"_s);
    bool stillOpenAfterClose = false;
    Ticker ticker([&](int tick) {
        if (tick == 2) {
            m_app->window->close();
            // Not under a handler that is still running.
            stillOpenAfterClose = m_app->window->isVisible();
        }
    });

    QTest::mouseClick(widget("Command1"), Qt::LeftButton);

    QVERIFY(stillOpenAfterClose);
    QCOMPARE(m_app->form.Command1.caption(), u"実行"_s);
    QTRY_VERIFY(!m_app->window->isVisible());
    QVERIFY(ticker.boxes.isEmpty());
}

// Opened over the main window, within a frame's width; its Escape closes it
// and does not stop the run.
void TestLongRun::versionDialogStaysUsableDuringARun()
{
    Ver_Click(m_app->window->aboutForm(), m_app->platform);
    QWidget *about = m_app->platform.windowOf(m_app->window->aboutForm());
    QVERIFY(about);
    QVERIFY((about->frameGeometry().center() - m_app->window->frameGeometry().center())
                    .manhattanLength()
            <= 6);
    m_app->form.Combo4.setText(u"9000"_s);
    m_app->form.Combo5.setText(u"億回"_s);
    bool closedDuringTheRun = false;
    Ticker ticker([&](int tick) {
        if (tick == 2)
            QTest::keyClick(about, Qt::Key_Escape);
        if (tick == 4) {
            closedDuringTheRun = !m_app->window->aboutForm().isLoaded()
                    && m_app->form.Command1.caption() == u"計算中";
            QTest::keyClick(m_app->window.get(), Qt::Key_Escape);
        }
    });

    QTest::mouseClick(widget("Command1"), Qt::LeftButton);

    QVERIFY(closedDuringTheRun);
    QVERIFY(ticker.boxes.isEmpty());
}

void TestLongRun::progressText_data()
{
    QTest::addColumn<double>("fraction");
    QTest::addColumn<double>("elapsed");
    QTest::addColumn<QString>("text");

    QTest::newRow("not begun") << 0.0 << 0.0 << u"計算中 0%　経過 0秒"_s;
    QTest::newRow("a quarter") << 0.25 << 10.0 << u"計算中 25%　経過 10秒　残り 約30秒"_s;
    QTest::newRow("percent rounds down")
            << 0.999 << 999.0 << u"計算中 99%　経過 16分39秒　残り 約1秒"_s;
    QTest::newRow("hours") << 0.5 << 3725.0
                           << u"計算中 50%　経過 1時間2分5秒　残り 約1時間2分5秒"_s;
    QTest::newRow("the longest estimate")
            << 1e-8 << 10.0 << u"計算中 0%　経過 10秒　残り 約277777時間46分30秒"_s;
    QTest::newRow("past an estimate")
            << 1e-12 << 10.0 << u"計算中 0%　経過 10秒　残り 見積もれません"_s;
    QTest::newRow("a count of 1e300")
            << 1e-291 << 10.0 << u"計算中 0%　経過 10秒　残り 見積もれません"_s;
}

void TestLongRun::progressText()
{
    QFETCH(double, fraction);
    QFETCH(double, elapsed);
    QTEST(runProgressText(fraction, elapsed), "text");
}

QTEST_MAIN(TestLongRun)
#include "tst_longrun.moc"
