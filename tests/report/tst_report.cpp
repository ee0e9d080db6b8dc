#include "mainwindow/Form1.h"
#include "report/Command2_Click.h"
#include "report/Command4_Click.h"
#include "support/FakePlatform.h"
#include "support/PropertyRecorder.h"
#include "support/ScoredRun.h"

#include <QTest>

using namespace kamorin;
using namespace Qt::StringLiterals;
using test::FakePlatform;
using test::PropertyRecorder;

namespace {

// The window after a default run of 30.5 s, scored against the start-up machine.
void afterScoredRun(Form1 &form)
{
    Form_Load(form);
    test::showScoredRun(form);
}

QString copied(Form1 &form)
{
    FakePlatform platform;
    Command4_Click(form, platform);
    return platform.clipboard;
}

} // namespace

class TestReport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reportText_data();
    void reportText();
    void clipboardIsClearedThenSet();
    void copyRewritesTheHiddenCountCopy();
    void copySelectsTheLeadingParts();
    void clearReturnsToTheStartState();
    void clearTwiceIsClearOnce();
    void clearAssignsInOrder();
};

void TestReport::reportText_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("report");

    const QString head = u"★Kamorin(Ver1.2.7) 結果★\r\n"_s;
    QTest::newRow("scored default run") << QString() << QString()
                                        << head
                    + u"ループ回数 2000万回  計算値 3.14159260358982\r\n"
                      u"小数点以下7桁まで一致しました。\r\n"
                      u"計算時間 0時間0分30秒50 SCORE 6.754（基準機：MMX-Pentium166）"_s;
    QTest::newRow("no agreeing digit") << u"Text4"_s << QString()
                                       << head
                    + u"ループ回数 2000万回  計算値 3.14159260358982\r\n"
                      u"小数点以下桁まで一致しました。\r\n"
                      u"計算時間 0時間0分30秒50 SCORE 6.754（基準機：MMX-Pentium166）"_s;
    QTest::newRow("long score cut to ten") << u"Text7"_s << u"12345.678901"_s
                                           << head
                    + u"ループ回数 2000万回  計算値 3.14159260358982\r\n"
                      u"小数点以下7桁まで一致しました。\r\n"
                      u"計算時間 0時間0分30秒50 SCORE 12345.6789（基準機：MMX-Pentium166）"_s;
    QTest::newRow("long value cut to twenty") << u"Text2"_s << u"3.1415926535897932384626"_s
                                              << head
                    + u"ループ回数 2000万回  計算値 3.141592653589793238\r\n"
                      u"小数点以下7桁まで一致しました。\r\n"
                      u"計算時間 0時間0分30秒50 SCORE 6.754（基準機：MMX-Pentium166）"_s;
    QTest::newRow("long seconds cut to five") << u"Text3"_s << u"1234567"_s
                                              << head
                    + u"ループ回数 2000万回  計算値 3.14159260358982\r\n"
                      u"小数点以下7桁まで一致しました。\r\n"
                      u"計算時間 0時間0分12345秒50 SCORE 6.754（基準機：MMX-Pentium166）"_s;
    // Counted in UTF-16 code units: five mathematical digits are ten units.
    QTest::newRow("cut by code units") << u"Text7"_s << u"𝟙𝟚𝟛𝟜𝟝𝟞"_s
                                       << head
                    + u"ループ回数 2000万回  計算値 3.14159260358982\r\n"
                      u"小数点以下7桁まで一致しました。\r\n"
                      u"計算時間 0時間0分30秒50 SCORE 𝟙𝟚𝟛𝟜𝟝（基準機：MMX-Pentium166）"_s;
    // A cut never leaves half of a surrogate pair: it moves past the pair.
    QTest::newRow("emoji seconds") << u"Text3"_s << u"😀😀😀"_s
                                   << head
                    + u"ループ回数 2000万回  計算値 3.14159260358982\r\n"
                      u"小数点以下7桁まで一致しました。\r\n"
                      u"計算時間 0時間0分😀😀😀秒50 SCORE 6.754（基準機：MMX-Pentium166）"_s;
    QTest::newRow("pair at the value's cut") << u"Text2"_s << u"1234567890123456789😀9"_s
                                             << head
                    + u"ループ回数 2000万回  計算値 1234567890123456789😀\r\n"
                      u"小数点以下7桁まで一致しました。\r\n"
                      u"計算時間 0時間0分30秒50 SCORE 6.754（基準機：MMX-Pentium166）"_s;
    QTest::newRow("pair at the hours' cut") << u"Text6"_s << u"1234😀9"_s
                                            << head
                    + u"ループ回数 2000万回  計算値 3.14159260358982\r\n"
                      u"小数点以下7桁まで一致しました。\r\n"
                      u"計算時間 1234😀時間0分30秒50 SCORE 6.754（基準機：MMX-Pentium166）"_s;
    QTest::newRow("pair at the minutes' cut") << u"Text5"_s << u"😀😀😀"_s
                                              << head
                    + u"ループ回数 2000万回  計算値 3.14159260358982\r\n"
                      u"小数点以下7桁まで一致しました。\r\n"
                      u"計算時間 0時間😀😀😀分30秒50 SCORE 6.754（基準機：MMX-Pentium166）"_s;
    QTest::newRow("pair at the hundredths' cut") << u"Text8"_s << u"1234😀"_s
                                                 << head
                    + u"ループ回数 2000万回  計算値 3.14159260358982\r\n"
                      u"小数点以下7桁まで一致しました。\r\n"
                      u"計算時間 0時間0分30秒1234😀 SCORE 6.754（基準機：MMX-Pentium166）"_s;
    QTest::newRow("pair at the score's cut") << u"Text7"_s << u"123456789😀"_s
                                             << head
                    + u"ループ回数 2000万回  計算値 3.14159260358982\r\n"
                      u"小数点以下7桁まで一致しました。\r\n"
                      u"計算時間 0時間0分30秒50 SCORE 123456789😀（基準機：MMX-Pentium166）"_s;
    QTest::newRow("typed machine") << u"Combo3"_s << u"Celeron400@450"_s
                                   << head
                    + u"ループ回数 2000万回  計算値 3.14159260358982\r\n"
                      u"小数点以下7桁まで一致しました。\r\n"
                      u"計算時間 0時間0分30秒50 SCORE 6.754（基準機：Celeron400@450）"_s;
}

void TestReport::reportText()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    Form1 form;
    afterScoredRun(form);
    if (!field.isEmpty())
        static_cast<TextControl &>(form.control(field.toStdString())).setText(text);

    QTEST(copied(form), "report");
}

void TestReport::clipboardIsClearedThenSet()
{
    Form1 form;
    afterScoredRun(form);
    FakePlatform platform;
    platform.clipboard = u"something else"_s;
    Command4_Click(form, platform);
    const std::vector<QString> expected { u"clear"_s, u"set"_s };
    QCOMPARE(platform.clipboardLog, expected);
    QVERIFY(!platform.clipboard.endsWith(u"\r\n"_s));
    QCOMPARE(platform.clipboard.count(u"\r\n"_s), 3);
}

void TestReport::copyRewritesTheHiddenCountCopy()
{
    Form1 form;
    afterScoredRun(form);
    Command2_Click(form);
    QVERIFY(form.Text1.text().isEmpty());
    form.Combo1.setText(u"150"_s);

    QCOMPARE(copied(form),
             u"★Kamorin(Ver1.2.7) 結果★\r\nループ回数 2000万回  計算値 \r\n"
             u"小数点以下桁まで一致しました。\r\n"
             u"計算時間 時間分秒 SCORE （基準機：MMX-Pentium166）"_s);
    QCOMPARE(form.Text1.text(), u"150"_s);
}

void TestReport::copySelectsTheLeadingParts()
{
    Form1 form;
    afterScoredRun(form);
    form.Text7.setText(u"12345.678901"_s);
    PropertyRecorder recorder(form.observers);
    copied(form);

    QCOMPARE(form.Text2.selStart(), 0);
    QCOMPARE(form.Text2.selLength(), 16);
    QCOMPARE(form.Text7.selLength(), 10);
    QCOMPARE(form.Text1.selText(), u"20000000"_s);
    // Start then length for each box, in this order.
    std::vector<QString> expected { u"Text1.Text"_s };
    for (const QString &box :
         { u"Text1"_s, u"Text2"_s, u"Text6"_s, u"Text5"_s, u"Text8"_s, u"Text3"_s, u"Text7"_s })
        expected.insert(expected.end(), 2, box + u".Selection"_s);
    QCOMPARE(recorder.assignments, expected);
}

void TestReport::clearReturnsToTheStartState()
{
    Form1 form;
    afterScoredRun(form);
    form.Combo4.setText(u"9000"_s);
    form.Combo3.setText(u"Celeron400@450"_s);
    Command2_Click(form);

    for (const TextBox *field : { &form.Text1, &form.Text2, &form.Text3, &form.Text4, &form.Text5,
                                  &form.Text6, &form.Text7, &form.Text8 })
        QVERIFY2(field->text().isEmpty(), qPrintable(field->name()));
    QCOMPARE(form.Label14.width(), 0.0f);
    QCOMPARE(form.Label15.width(), 0.0f);
    QCOMPARE(form.Label18.width(), 4110.0f);
    QVERIFY(!form.Command6.enabled());
    QVERIFY(!form.Combo3.enabled());
    QVERIFY(form.Label19.caption().isEmpty());
    QVERIFY(form.Label20.caption().isEmpty());
    // Inputs, the chosen machine, the legends and the run button stay as they were.
    QCOMPARE(form.Combo4.text(), u"9000"_s);
    QCOMPARE(form.Combo5.text(), u"万回"_s);
    QCOMPARE(form.Combo1.text(), u"20000000"_s);
    QCOMPARE(form.Combo2.text(), u"1"_s);
    QCOMPARE(form.Combo3.text(), u"Celeron400@450"_s);
    QVERIFY(form.Label16.enabled());
    QVERIFY(form.Label17.enabled());
    QCOMPARE(form.Command1.caption(), u"実行"_s);
}

void TestReport::clearTwiceIsClearOnce()
{
    Form1 once;
    afterScoredRun(once);
    Command2_Click(once);
    Form1 twice;
    afterScoredRun(twice);
    Command2_Click(twice);
    Command2_Click(twice);

    QCOMPARE(copied(twice), copied(once));
    QCOMPARE(twice.Label18.width(), once.Label18.width());
    QCOMPARE(twice.Command6.enabled(), once.Command6.enabled());
    QCOMPARE(twice.Combo3.enabled(), once.Combo3.enabled());
}

void TestReport::clearAssignsInOrder()
{
    Form1 form;
    afterScoredRun(form);
    PropertyRecorder recorder(form.observers);
    Command2_Click(form);

    const std::vector<QString> expected {
        u"Text1.Text"_s,     u"Text2.Text"_s,   u"Text3.Text"_s,       u"Text4.Text"_s,
        u"Text5.Text"_s,     u"Text6.Text"_s,   u"Text8.Text"_s,       u"Label14.Width"_s,
        u"Label15.Width"_s,  u"Text7.Text"_s,   u"Command6.Enabled"_s, u"Label18.Width"_s,
        u"Combo3.Enabled"_s, u"Label19.Text"_s, u"Label20.Text"_s,
    };
    QCOMPARE(recorder.assignments, expected);
}

QTEST_APPLESS_MAIN(TestReport)
#include "tst_report.moc"
