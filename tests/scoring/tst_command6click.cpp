#include "mainwindow/Form1.h"
#include "runtime/RuntimeError.h"
#include "scoring/Command6_Click.h"
#include "support/FakePlatform.h"
#include "support/PropertyRecorder.h"

#include <QTest>

using namespace kamorin;
using namespace Qt::StringLiterals;
using test::FakePlatform;
using test::PropertyRecorder;

namespace {

constexpr float kFullBar = 2579.25f; // 0.95 × the chart frame's 2715 twips

// The window as a finished run of `loops` passes in h:m:s.hh leaves it.
void afterRun(Form1 &form, const QString &loops, const QString &hours, const QString &minutes,
              const QString &seconds, const QString &hundredths)
{
    Form_Load(form);
    form.Combo1.setText(loops);
    form.Text6.setText(hours);
    form.Text5.setText(minutes);
    form.Text3.setText(seconds);
    form.Text8.setText(hundredths);
    form.Command6.setEnabled(true);
    form.Combo2.setText(QString()); // ten assignments a stage keeps the tests quick
}

std::optional<RuntimeError> errorOf(Form1 &form)
{
    FakePlatform platform;
    try {
        Command6_Click(form, platform);
    } catch (const RuntimeError &error) {
        return error;
    }
    return std::nullopt;
}

} // namespace

class TestCommand6Click : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void scoreAndBars_data();
    void scoreAndBars();
    void valueLabelsStandPastTheBars();
    void yourBarGrowsInFiveStages_data();
    void yourBarGrowsInFiveStages();
    void secondScoreStartsFromTheLastBar();
    void assignmentsInOrder();
    void typedTimesAreWhatIsScored();
    void unknownMachineIsNamed_data();
    void unknownMachineIsNamed();
    void badFieldsStopWithTheirError_data();
    void badFieldsStopWithTheirError();
    void negativeTimeCannotDrawABar();
};

void TestCommand6Click::scoreAndBars_data()
{
    QTest::addColumn<QString>("machine");
    QTest::addColumn<QString>("loops");
    QTest::addColumn<QStringList>("time");
    QTest::addColumn<QString>("score");
    QTest::addColumn<float>("yourBar");
    QTest::addColumn<float>("referenceBar");
    QTest::addColumn<QString>("referenceCaption");
    QTest::addColumn<QString>("yourCaption");

    const QStringList halfMinute { u"0"_s, u"0"_s, u"30"_s, u"50"_s };
    QTest::newRow("faster than the reference")
            << u"MMX-Pentium166"_s << u"20000000"_s << halfMinute << u"6.754"_s << kFullBar
            << static_cast<float>(2579.25 / (206 / 30.5)) << u"206.00"_s << u"30.50"_s;
    QTest::newRow("slower than the reference")
            << u"AthlonXP2400+@2795"_s << u"20000000"_s << halfMinute << u"0.330"_s
            << static_cast<float>(2579.25 * (10.08 / 30.5)) << kFullBar << u"10.08"_s << u"30.50"_s;
    QTest::newRow("exactly as fast")
            << u"MMX-Pentium166"_s << u"20000000"_s
            << QStringList { u"0"_s, u"3"_s, u"26"_s, u"00"_s } << u"1.000"_s << kFullBar
            << kFullBar << u"206.00"_s << u"206.00"_s;
    QTest::newRow("another loop count")
            << u"MMX-Pentium166"_s << u"10000000"_s << halfMinute << u"3.377"_s << kFullBar
            << static_cast<float>(2579.25 / (103 / 30.5)) << QString() << QString();
    QTest::newRow("the reference count written otherwise")
            << u"MMX-Pentium166"_s << u"20000000.0"_s << halfMinute << u"6.754"_s << kFullBar
            << static_cast<float>(2579.25 / (206 / 30.5)) << u"206.00"_s << u"30.50"_s;
    QTest::newRow("hours and minutes count")
            << u"i486 DX2 50"_s << u"20000000"_s << QStringList { u"1"_s, u"1"_s, u"1"_s, u"25"_s }
            << u"0.499"_s << static_cast<float>(2579.25 * (1826 / 3661.25)) << kFullBar
            << u"1826.00"_s << u"3661.25"_s;
    QTest::newRow("a machine only found by typing")
            << u"Celeron400@450"_s << u"20000000"_s << halfMinute << u"2.492"_s << kFullBar
            << static_cast<float>(2579.25 / (76 / 30.5)) << u"76.00"_s << u"30.50"_s;
}

void TestCommand6Click::scoreAndBars()
{
    QFETCH(QString, machine);
    QFETCH(QString, loops);
    QFETCH(QStringList, time);
    QFETCH(float, yourBar);
    QFETCH(float, referenceBar);
    Form1 form;
    afterRun(form, loops, time[0], time[1], time[2], time[3]);
    form.Combo3.setText(machine);

    FakePlatform platform;
    Command6_Click(form, platform);

    QTEST(form.Text7.text(), "score");
    QCOMPARE(form.Label14.width(), yourBar);
    QCOMPARE(form.Label15.width(), referenceBar);
    QTEST(form.Label19.caption(), "referenceCaption");
    QTEST(form.Label20.caption(), "yourCaption");
    QVERIFY(form.Combo3.enabled());
}

void TestCommand6Click::valueLabelsStandPastTheBars()
{
    Form1 form;
    afterRun(form, u"20000000"_s, u"0"_s, u"0"_s, u"30"_s, u"50"_s);
    FakePlatform platform;
    Command6_Click(form, platform);

    QCOMPARE(form.Label19.left(), 780 + form.Label15.width() + 25);
    QCOMPARE(form.Label20.left(), 795 + kFullBar + 25);
}

void TestCommand6Click::yourBarGrowsInFiveStages_data()
{
    QTest::addColumn<QString>("speed");
    QTest::addColumn<int>("perStage");
    QTest::newRow("empty") << QString() << 10;
    QTest::newRow("0") << u"0"_s << 10;
    QTest::newRow("1") << u"1"_s << 2010;
    QTest::newRow("2.5") << u"2.5"_s << 5010;
    QTest::newRow("above 5") << u"7"_s << 10010;
}

void TestCommand6Click::yourBarGrowsInFiveStages()
{
    QFETCH(QString, speed);
    QFETCH(int, perStage);
    Form1 form;
    afterRun(form, u"20000000"_s, u"0"_s, u"0"_s, u"30"_s, u"50"_s);
    form.Combo2.setText(speed);
    PropertyRecorder recorder(form.observers);
    FakePlatform platform;
    Command6_Click(form, platform);

    std::vector<float> expected;
    for (const double stage : { 515.85, 1031.7, 1547.55, 2063.4, 2579.25 })
        expected.insert(expected.end(), static_cast<std::size_t>(perStage),
                        static_cast<float>(stage));
    QVERIFY(recorder.widthsOf(u"Label14"_s) == expected);
    QCOMPARE(recorder.widthsOf(u"Label15"_s).size(), std::size_t { 1 });
}

void TestCommand6Click::secondScoreStartsFromTheLastBar()
{
    Form1 form;
    afterRun(form, u"20000000"_s, u"0"_s, u"0"_s, u"30"_s, u"50"_s);
    FakePlatform platform;
    Command6_Click(form, platform);
    QCOMPARE(form.Label14.width(), kFullBar);

    form.Combo3.setText(u"AthlonXP2400+@2795"_s);
    PropertyRecorder recorder(form.observers);
    Command6_Click(form, platform);
    // No reset to 0 before stage 1.
    QCOMPARE(recorder.widthsOf(u"Label14"_s).front(),
             static_cast<float>(2579.25 * (10.08 / 30.5) / 5));
    QCOMPARE(form.Text7.text(), u"0.330"_s);
}

void TestCommand6Click::assignmentsInOrder()
{
    Form1 form;
    afterRun(form, u"20000000"_s, u"0"_s, u"0"_s, u"30"_s, u"50"_s);
    form.Combo2.setText(u"0.0001"_s); // a fractional count: one assignment fewer than 10.2
    PropertyRecorder recorder(form.observers);
    FakePlatform platform;
    Command6_Click(form, platform);

    std::vector<QString> expected { u"Label19.Text"_s, u"Label20.Text"_s,  u"Combo3.Enabled"_s,
                                    u"Text7.Text"_s,   u"Label15.Width"_s, u"Label19.Left"_s,
                                    u"Label19.Text"_s };
    expected.insert(expected.end(), 50, u"Label14.Width"_s);
    for (const QString &tail :
         { u"Label20.Left"_s, u"Label20.Text"_s, u"Text7.Text"_s, u"Combo3.Enabled"_s })
        expected.push_back(tail);
    QCOMPARE(recorder.assignments, expected);
}

void TestCommand6Click::typedTimesAreWhatIsScored()
{
    Form1 form;
    afterRun(form, u"20000000"_s, u" 0 "_s, u"0"_s, u"1e1"_s, u"8"_s);
    FakePlatform platform;
    Command6_Click(form, platform);
    // 206 s against 10.08 s.
    QCOMPARE(form.Text7.text(), u"20.437"_s);
    QCOMPARE(form.Label20.caption(), u"10.08"_s);
}

void TestCommand6Click::unknownMachineIsNamed_data()
{
    QTest::addColumn<QString>("machine");
    QTest::newRow("unknown") << u"K6-2 999"_s;
    QTest::newRow("lower case") << u"mmx-pentium166"_s;
    QTest::newRow("trailing space") << u"MMX-Pentium166 "_s;
    QTest::newRow("ASCII space for the ideographic one") << u"Mobile PenIII500"_s;
    QTest::newRow("one numeral for three letters") << u"PenⅢ(Kat)450"_s;
    QTest::newRow("empty") << QString();
}

void TestCommand6Click::unknownMachineIsNamed()
{
    QFETCH(QString, machine);
    Form1 form;
    afterRun(form, u"20000000"_s, u"0"_s, u"0"_s, u"30"_s, u"50"_s);
    form.Combo3.setText(machine);
    form.Label14.setWidth(100);
    form.Label15.setWidth(200);
    form.Text7.setText(u"1.000"_s);
    form.Label19.setCaption(u"206.00"_s);

    const auto error = errorOf(form);
    QVERIFY(error);
    QCOMPARE(error->number(), ErrorNumber::UnknownReferenceMachine);
    QCOMPARE(error->report(), u"基準機「"_s + machine + u"」は登録されていません。"_s);
    QVERIFY(form.Label19.caption().isEmpty());
    QVERIFY(form.Text7.text().isEmpty());
    QVERIFY(form.Combo3.enabled());
    QCOMPARE(form.Label14.width(), 100.0f);
    QCOMPARE(form.Label15.width(), 200.0f);
}

void TestCommand6Click::badFieldsStopWithTheirError_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("error");

    const int mismatch = static_cast<int>(ErrorNumber::TypeMismatch);
    QTest::newRow("empty hours") << u"Text6"_s << QString() << mismatch;
    QTest::newRow("letters in minutes") << u"Text5"_s << u"x"_s << mismatch;
    QTest::newRow("empty hundredths") << u"Text8"_s << QString() << mismatch;
    QTest::newRow("empty loop count") << u"Combo1"_s << QString() << mismatch;
    QTest::newRow("bad display speed") << u"Combo2"_s << u"fast"_s << mismatch;
    QTest::newRow("no time at all")
            << u"Text3"_s << u"0"_s << static_cast<int>(ErrorNumber::DivisionByZero);
    QTest::newRow("hours beyond a double")
            << u"Text6"_s << u"1e306"_s << static_cast<int>(ErrorNumber::Overflow);
}

void TestCommand6Click::badFieldsStopWithTheirError()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    Form1 form;
    afterRun(form, u"20000000"_s, u"0"_s, u"0"_s, u"30"_s, u"0"_s);
    static_cast<TextControl &>(form.control(field.toStdString())).setText(text);
    form.Label14.setWidth(100);
    form.Label15.setWidth(200);

    const auto error = errorOf(form);
    QVERIFY(error);
    QTEST(static_cast<int>(error->number()), "error");
    QVERIFY(form.Label19.caption().isEmpty());
    QVERIFY(form.Label20.caption().isEmpty());
    QVERIFY(form.Text7.text().isEmpty());
    QVERIFY(form.Combo3.enabled());
    QCOMPARE(form.Label14.width(), 100.0f);
    QCOMPARE(form.Label15.width(), 200.0f);
}

void TestCommand6Click::negativeTimeCannotDrawABar()
{
    Form1 form;
    afterRun(form, u"20000000"_s, u"0"_s, u"0"_s, u"-40"_s, u"0"_s);
    form.Label14.setWidth(100);

    const auto error = errorOf(form);
    QVERIFY(error);
    QCOMPARE(error->number(), ErrorNumber::InvalidPropertyValue);
    QCOMPARE(form.Label14.width(), 100.0f);
    QVERIFY(form.Text7.text().isEmpty());
}

QTEST_APPLESS_MAIN(TestCommand6Click)
#include "tst_command6click.moc"
