#include "mainwindow/Animation.h"
#include "mainwindow/Form1.h"
#include "measure/Command1_Click.h"
#include "report/Command2_Click.h"
#include "runtime/Arithmetic.h"
#include "runtime/EventDispatch.h"
#include "runtime/LoopProgress.h"
#include "runtime/RuntimeError.h"
#include "support/FakePlatform.h"
#include "support/FormState.h"
#include "support/PropertyRecorder.h"
#include "support/ScoredRun.h"
#include "support/VectorStateWatch.h"

#include <QTest>

using namespace kamorin;
using test::FakePlatform;
using test::PropertyRecorder;
using namespace Qt::StringLiterals;

namespace {

struct StopRun
{ };

// Ends the handler as the workload is about to start, so the resolved count
// of a huge run can be checked without running it.
class StopAtCalculation : public ControlObserver
{
public:
    void propertyChanged(const Control &control, Property) override
    {
        if (control.name() == u"Command1")
            throw StopRun {};
    }
};

ErrorNumber errorOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const RuntimeError &error) {
        return error.number();
    }
    return ErrorNumber {};
}

} // namespace

class TestCommand1Click : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void valueAndDigits_data();
    void valueAndDigits();
    void resolvedLoopCount_data();
    void resolvedLoopCount();
    void elapsedTimeFields_data();
    void elapsedTimeFields();
    void repeatCount_data();
    void repeatCount();
    void shortRunDisablesScoring();
    void longRunEnablesScoringAndDrawsTheCurtainBack();
    void curtainStagesFollowTheDisplaySpeed_data();
    void curtainStagesFollowTheDisplaySpeed();
    void assignmentsInOrder();
    void clockReadsFrameTheWorkload();
    void badCountChangesNothing_data();
    void badCountChangesNothing();
    void badDisplaySpeedStopsAfterTheResults();
    void failureAfterTheStartLeavesTheButtonReady_data();
    void failureAfterTheStartLeavesTheButtonReady();
    void stoppedRunPutsTheFormBackAsBeforeThePress();
    void loopStartsFromACleanVectorState();
};

void TestCommand1Click::valueAndDigits_data()
{
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("digits");

    QTest::newRow("design-time 2000 万回") << "2000"
                                           << "万回"
                                           << "3.14159260358982"
                                           << "7";
    QTest::newRow("100") << "100"
                         << "回"
                         << "3.13159290355855"
                         << "1";
    QTest::newRow("1000") << "1000"
                          << "回"
                          << "3.14059265383979"
                          << "2";
    QTest::newRow("10000") << "1"
                           << "万回"
                           << "3.14149265359003"
                           << "3";
    QTest::newRow("one pass") << "1"
                              << "回"
                              << "4"
                              << "";
    QTest::newRow("two passes") << "2"
                                << "回"
                                << "2.66666666666667"
                                << "";
    QTest::newRow("no pass") << "0"
                             << "回"
                             << "0"
                             << "";
    QTest::newRow("negative") << "-5"
                              << "回"
                              << "0"
                              << "";
}

void TestCommand1Click::valueAndDigits()
{
    QFETCH(QString, count);
    QFETCH(QString, unit);
    Form1 form;
    FakePlatform platform;
    Form_Load(form);
    form.Combo4.setText(count);
    form.Combo5.setText(unit);

    Command1_Click(form, platform);

    QTEST(form.Text2.text(), "value");
    QTEST(form.Text4.text(), "digits");
    QCOMPARE(form.Command1.caption(), QStringLiteral("実行"));
}

void TestCommand1Click::resolvedLoopCount_data()
{
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("loops");

    QTest::newRow("万回") << "2000"
                          << "万回"
                          << "20000000";
    QTest::newRow("億回") << "2000"
                          << "億回"
                          << "200000000000";
    QTest::newRow("largest listed") << "9000"
                                    << "億回"
                                    << "900000000000";
    QTest::newRow("千回") << "3"
                          << "千回"
                          << "3000";
    QTest::newRow("fraction of 百回") << "1.5"
                                      << "百回"
                                      << "150";
    QTest::newRow("回") << "7"
                        << "回"
                        << "7";
    QTest::newRow("unknown unit") << "2000"
                                  << "abc"
                                  << "2000";
    QTest::newRow("empty unit") << "2000"
                                << ""
                                << "2000";
    QTest::newRow("unit is case and width exact") << "2"
                                                  << "万回 "
                                                  << "2";
    QTest::newRow("blanks around the count") << " 12 "
                                             << "回"
                                             << "12";
    QTest::newRow("exponent") << "1e3"
                              << "回"
                              << "1000";
    QTest::newRow("beyond fifteen digits") << "1e20"
                                           << "億回"
                                           << "1E+28";
}

void TestCommand1Click::resolvedLoopCount()
{
    QFETCH(QString, count);
    QFETCH(QString, unit);
    Form1 form;
    FakePlatform platform;
    Form_Load(form);
    form.Combo4.setText(count);
    form.Combo5.setText(unit);
    StopAtCalculation stop;
    form.observers.add(&stop);

    QVERIFY_THROWS_EXCEPTION(StopRun, Command1_Click(form, platform));
    QTEST(form.Combo1.text(), "loops");
}

void TestCommand1Click::elapsedTimeFields_data()
{
    QTest::addColumn<double>("elapsed");
    QTest::addColumn<QString>("hours");
    QTest::addColumn<QString>("minutes");
    QTest::addColumn<QString>("seconds");
    QTest::addColumn<QString>("hundredths");

    QTest::newRow("1 h 2 min 5.5 s") << 3725.5 << "1"
                                     << "2"
                                     << "5"
                                     << "50";
    QTest::newRow("12.5 s") << 12.5 << "0"
                            << "0"
                            << "12"
                            << "50";
    QTest::newRow("2 s") << 2.0 << "0"
                         << "0"
                         << "2"
                         << "00";
    // The true hundredths, not the tail of the text of E × 100.
    QTest::newRow("3.4375 s") << 3.4375 << "0"
                              << "0"
                              << "3"
                              << "43";
    QTest::newRow("30.5078 s") << 30.5078 << "0"
                               << "0"
                               << "30"
                               << "50";
    QTest::newRow("just below a second") << 0.99999994 << "0"
                                         << "0"
                                         << "0"
                                         << "99";
    QTest::newRow("a tenth") << 0.1 << "0"
                             << "0"
                             << "0"
                             << "10";
    QTest::newRow("just below a day") << 86399.99 << "23"
                                      << "59"
                                      << "59"
                                      << "99";
    QTest::newRow("zero") << 0.0 << "0"
                          << "0"
                          << "0"
                          << "00";
    // Past 2^26 hundredths a Single cannot hold every whole second times 100.
    QTest::newRow("ten days") << 866659.0 << "240"
                              << "44"
                              << "19"
                              << "00";
    QTest::newRow("ten days and a half second") << 866659.5 << "240"
                                                << "44"
                                                << "19"
                                                << "50";
}

void TestCommand1Click::elapsedTimeFields()
{
    QFETCH(double, elapsed);
    Form1 form;
    FakePlatform platform;
    Form_Load(form);
    form.Combo4.setText(QStringLiteral("10"));
    form.Combo5.setText(QStringLiteral("回"));
    platform.setElapsed(elapsed);

    Command1_Click(form, platform);

    QTEST(form.Text6.text(), "hours");
    QTEST(form.Text5.text(), "minutes");
    QTEST(form.Text3.text(), "seconds");
    QTEST(form.Text8.text(), "hundredths");
}

void TestCommand1Click::repeatCount_data()
{
    QTest::addColumn<QString>("speed");
    QTest::addColumn<int>("type");
    QTest::addColumn<double>("count");

    const int integer = static_cast<int>(VarType::Integer);
    const int real = static_cast<int>(VarType::Double);
    QTest::newRow("empty") << "" << integer << 10.0;
    QTest::newRow("0") << "0" << real << 10.0;
    QTest::newRow("1") << "1" << real << 2010.0;
    QTest::newRow("2") << "2" << real << 4010.0;
    QTest::newRow("2.5") << "2.5" << real << 5010.0;
    QTest::newRow("5") << "5" << real << 10010.0;
    QTest::newRow("6") << "6" << integer << 10010.0;
    QTest::newRow("-1") << "-1" << integer << 10010.0;
    QTest::newRow("fraction") << "0.0001" << real << 10.2;
    QTest::newRow("blanks") << " 3 " << real << 6010.0;
}

void TestCommand1Click::repeatCount()
{
    QFETCH(QString, speed);
    QFETCH(int, type);
    QFETCH(double, count);
    Form1 form;
    form.Combo2.setText(speed);
    const Variant n = stageRepeatCount(form.Combo2);
    QCOMPARE(static_cast<int>(n.type()), type);
    QCOMPARE(n.toDouble(), count);
}

void TestCommand1Click::shortRunDisablesScoring()
{
    Form1 form;
    FakePlatform platform;
    Form_Load(form);
    // What a previous long run and SCORE left behind.
    form.Command6.setEnabled(true);
    form.Label16.setEnabled(true);
    form.Label17.setEnabled(true);
    form.Text7.setText(QStringLiteral("6.754"));
    form.Label14.setWidth(2579.25f);
    form.Label15.setWidth(381.9f);
    form.Label18.setWidth(0);
    form.Label19.setCaption(QStringLiteral("206.00"));
    form.Label20.setCaption(QStringLiteral("30.50"));
    form.Combo4.setText(QStringLiteral("10"));
    form.Combo5.setText(QStringLiteral("回"));
    platform.setElapsed(0.99);

    Command1_Click(form, platform);

    QVERIFY(!form.Command6.enabled());
    QVERIFY(!form.Label16.enabled());
    QVERIFY(!form.Label17.enabled());
    QVERIFY(form.Text7.text().isEmpty());
    QCOMPARE(form.Label14.width(), 0.0f);
    QCOMPARE(form.Label15.width(), 0.0f);
    QCOMPARE(form.Label18.width(), 0.0f); // not touched by a short run
    QVERIFY(form.Label19.caption().isEmpty());
    QVERIFY(form.Label20.caption().isEmpty());
}

void TestCommand1Click::longRunEnablesScoringAndDrawsTheCurtainBack()
{
    Form1 form;
    FakePlatform platform;
    Form_Load(form);
    form.Text7.setText(QStringLiteral("6.754"));
    form.Label14.setWidth(2579.25f);
    form.Label15.setWidth(381.9f);
    form.Text2.setText(QStringLiteral("old"));
    form.Text5.setText(QStringLiteral("9"));
    form.Combo4.setText(QStringLiteral("10"));
    form.Combo5.setText(QStringLiteral("回"));
    platform.setElapsed(1.0);

    Command1_Click(form, platform);

    QVERIFY(form.Command6.enabled());
    QVERIFY(form.Label16.enabled());
    QVERIFY(form.Label17.enabled());
    QCOMPARE(form.Label18.width(), 0.0f);
    // The last score and its bars stay until SCORE is pressed again.
    QCOMPARE(form.Text7.text(), QStringLiteral("6.754"));
    QCOMPARE(form.Label14.width(), 2579.25f);
    QCOMPARE(form.Label15.width(), 381.9f);
    QCOMPARE(form.Text3.text(), QStringLiteral("1"));
    QCOMPARE(form.Text5.text(), QStringLiteral("0"));
    QVERIFY(!form.Combo3.enabled());
    QCOMPARE(form.Combo4.text(), QStringLiteral("10"));
    QCOMPARE(form.Text1.text(), QStringLiteral("20000000"));
}

void TestCommand1Click::curtainStagesFollowTheDisplaySpeed_data()
{
    QTest::addColumn<QString>("speed");
    QTest::addColumn<int>("perStage");

    QTest::newRow("empty") << "" << 10;
    QTest::newRow("0") << "0" << 10;
    QTest::newRow("1") << "1" << 2010;
    QTest::newRow("5") << "5" << 10010;
    QTest::newRow("fractional count") << "0.0001" << 10;
}

void TestCommand1Click::curtainStagesFollowTheDisplaySpeed()
{
    QFETCH(QString, speed);
    QFETCH(int, perStage);
    Form1 form;
    FakePlatform platform;
    Form_Load(form);
    form.Combo4.setText(QStringLiteral("10"));
    form.Combo5.setText(QStringLiteral("回"));
    form.Combo2.setText(speed);
    platform.setElapsed(1.5);
    PropertyRecorder recorder(form.observers);

    Command1_Click(form, platform);

    std::vector<float> expected { 4110 };
    for (const float stage : { 3288.0f, 2466.0f, 1644.0f, 822.0f })
        expected.insert(expected.end(), static_cast<std::size_t>(perStage), stage);
    expected.push_back(0);
    QVERIFY(recorder.widthsOf(QStringLiteral("Label18")) == expected);
}

void TestCommand1Click::assignmentsInOrder()
{
    Form1 form;
    FakePlatform platform;
    Form_Load(form);
    form.Combo4.setText(QStringLiteral("100"));
    form.Combo5.setText(QStringLiteral("回"));
    PropertyRecorder recorder(form.observers);

    Command1_Click(form, platform);

    const std::vector<QString> expected {
        u"Combo1.Text"_s,     u"Text3.Text"_s,   u"Text4.Text"_s,       u"Text8.Text"_s,
        u"Label19.Text"_s,    u"Label20.Text"_s, u"Command1.Text"_s,    u"Text2.Text"_s,
        u"Command1.Text"_s,   u"Text3.Text"_s,   u"Text8.Text"_s,       u"Text6.Text"_s,
        u"Text5.Text"_s,      u"Text4.Text"_s,   u"Command6.Enabled"_s, u"Label16.Enabled"_s,
        u"Label17.Enabled"_s, u"Text7.Text"_s,   u"Label14.Width"_s,    u"Label15.Width"_s,
    };
    QCOMPARE(recorder.assignments, expected);
}

void TestCommand1Click::clockReadsFrameTheWorkload()
{
    Form1 form;
    FakePlatform platform;
    Form_Load(form);
    form.Combo4.setText(QStringLiteral("3"));
    form.Combo5.setText(QStringLiteral("回"));
    std::vector<QString> stateAtReads;
    platform.onClockRead
            = [&] { stateAtReads.push_back(form.Command1.caption() + u'|' + form.Text2.text()); };

    Command1_Click(form, platform);

    // Started before the caption reads 計算中, stopped after the value and 実行 are shown.
    const std::vector<QString> expected { u"実行|"_s, u"実行|3.46666666666667"_s };
    QCOMPARE(stateAtReads, expected);
}

void TestCommand1Click::badCountChangesNothing_data()
{
    QTest::addColumn<QString>("count");
    QTest::addColumn<int>("error");

    const int mismatch = static_cast<int>(ErrorNumber::TypeMismatch);
    QTest::newRow("empty") << "" << mismatch;
    QTest::newRow("letters") << "abc" << mismatch;
    QTest::newRow("thousands separator") << "1,000" << mismatch;
    QTest::newRow("nan") << "nan" << mismatch;
    QTest::newRow("inf") << "inf" << mismatch;
    QTest::newRow("hexadecimal") << "&H10" << mismatch;
    QTest::newRow("full-width digits") << "２０００" << mismatch;
    QTest::newRow("beyond a double") << "1e400" << static_cast<int>(ErrorNumber::Overflow);
    QTest::newRow("product beyond a double") << "1e305" << static_cast<int>(ErrorNumber::Overflow);
}

void TestCommand1Click::badCountChangesNothing()
{
    QFETCH(QString, count);
    QFETCH(int, error);
    Form1 form;
    FakePlatform platform;
    Form_Load(form);
    form.Text2.setText(QStringLiteral("3.14159260358982"));
    form.Text3.setText(QStringLiteral("1"));
    form.Combo4.setText(count);
    PropertyRecorder recorder(form.observers);

    QCOMPARE(static_cast<int>(errorOf([&] { Command1_Click(form, platform); })), error);
    QVERIFY(recorder.assignments.empty());
    QCOMPARE(form.Combo1.text(), QStringLiteral("20000000"));
}

void TestCommand1Click::badDisplaySpeedStopsAfterTheResults()
{
    Form1 form;
    FakePlatform platform;
    Form_Load(form);
    form.Combo4.setText(QStringLiteral("100"));
    form.Combo5.setText(QStringLiteral("回"));
    form.Combo2.setText(QStringLiteral("fast"));
    platform.setElapsed(2.0);

    QCOMPARE(errorOf([&] { Command1_Click(form, platform); }), ErrorNumber::TypeMismatch);
    QCOMPARE(form.Text2.text(), QStringLiteral("3.13159290355855"));
    QCOMPARE(form.Text4.text(), QStringLiteral("1"));
    QCOMPARE(form.Text3.text(), QStringLiteral("2"));
    QVERIFY(form.Command6.enabled());
    QVERIFY(form.Label16.enabled());
    QVERIFY(form.Label17.enabled());
    QCOMPARE(form.Label18.width(), 4110.0f);
}

namespace {

void afterScoredRun(Form1 &form)
{
    Form_Load(form);
    test::showScoredRun(form);
}

} // namespace

void TestCommand1Click::failureAfterTheStartLeavesTheButtonReady_data()
{
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("resolved");

    // Finite products whose fifteen-digit text rounds past the largest
    // double: the loop's end, read back from that text, overflows.
    QTest::newRow("largest double 回")
            << u"1.7976931348623157e308"_s << u"回"_s << u"1.79769313486232E+308"_s;
    QTest::newRow("億回 to the same text")
            << u"1.797693134862315e300"_s << u"億回"_s << u"1.79769313486232E+308"_s;
}

void TestCommand1Click::failureAfterTheStartLeavesTheButtonReady()
{
    QFETCH(QString, count);
    QFETCH(QString, unit);
    Form1 form;
    FakePlatform platform;
    afterScoredRun(form);
    form.Combo4.setText(count);
    form.Combo5.setText(unit);

    QCOMPARE(errorOf([&] { Command1_Click(form, platform); }), ErrorNumber::Overflow);
    QCOMPARE(form.Command1.caption(), u"実行"_s);
    QTEST(form.Combo1.text(), "resolved");
    QCOMPARE(form.Text2.text(), u"3.14159260358982"_s);
    QVERIFY(form.Text3.text().isEmpty());
}

void TestCommand1Click::stoppedRunPutsTheFormBackAsBeforeThePress()
{
    Form1 form;
    FakePlatform platform;
    afterScoredRun(form);
    form.Combo4.setText(u"9000"_s);
    form.Combo5.setText(u"億回"_s);
    form.Text2.setSelStart(3);
    form.Text2.setSelLength(4);
    const QStringList before = test::formState(form);
    bool secondPressTaken = true;
    platform.onLongStep = [&](LoopProgress &progress) {
        // Not under a handler that has not ended.
        secondPressTaken = dispatchPress(platform, form, [&] { Command2_Click(form); });
        progress.requestStop();
    };

    QVERIFY(!dispatchPress(platform, form, [&] { Command1_Click(form, platform); }));

    QCOMPARE(test::formState(form), before);
    QVERIFY(!secondPressTaken);
    QVERIFY(platform.errors.empty());
    QCOMPARE(platform.stops, std::vector { ErrorNumber::Cancelled });
    QVERIFY(!form.pressRunning());
}

void TestCommand1Click::loopStartsFromACleanVectorState()
{
    if (!test::VectorStateWatch::possible())
        QSKIP(test::VectorStateWatch::kWhyNot);
    Form1 form;
    FakePlatform platform;
    Form_Load(form);
    form.Combo4.setText(u"1000"_s);
    form.Combo5.setText(u"回"_s);
    const test::VectorStateWatch watch;
    test::VectorStateWatch::dirty();

    Command1_Click(form, platform);

    QCOMPARE(watch.loopsReady(), 1);
    QCOMPARE(watch.loopsDirtied(), 1);
    QCOMPARE(watch.dirtyAtStart(), 0);
    QCOMPARE(watch.dirtyAtEnd(), 0);
    QCOMPARE(form.Text2.text(), u"3.14059265383979"_s);
}

QTEST_APPLESS_MAIN(TestCommand1Click)
#include "tst_command1click.moc"
