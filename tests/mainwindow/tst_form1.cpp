#include "mainwindow/ControlDesign.h"
#include "mainwindow/Form1.h"
#include "support/FakePlatform.h"

#include <QSet>
#include <QTest>

using namespace kamorin;

class TestForm1 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startState();
    void designTimeLists();
    void designTableIsConsistent();
    void stackingNamesEveryControlOnce();
    void exitUnloadsTheMainWindow();
};

void TestForm1::startState()
{
    Form1 form;
    Form_Load(form);

    QCOMPARE(form.Text1.text(), QStringLiteral("20000000"));
    QCOMPARE(form.Combo1.text(), QStringLiteral("20000000"));
    QCOMPARE(form.Combo4.text(), QStringLiteral("2000"));
    QCOMPARE(form.Combo5.text(), QStringLiteral("万回"));
    QCOMPARE(form.Combo2.text(), QStringLiteral("1"));
    QCOMPARE(form.Combo3.text(), QStringLiteral("MMX-Pentium166"));
    QCOMPARE(form.Label14.width(), 0.0f);
    QCOMPARE(form.Label15.width(), 0.0f);
    QCOMPARE(form.Label18.width(), 4110.0f);
    QVERIFY(!form.Command6.enabled());
    QVERIFY(!form.Combo3.enabled());
    QVERIFY(!form.Label16.enabled());
    QVERIFY(!form.Label17.enabled());
    QVERIFY(form.Command1.enabled());
    QCOMPARE(form.Command1.caption(), QStringLiteral("実行"));
    for (const TextBox *field : { &form.Text2, &form.Text3, &form.Text4, &form.Text5, &form.Text6,
                                  &form.Text7, &form.Text8 })
        QVERIFY2(field->text().isEmpty(), qPrintable(field->name()));
    QVERIFY(form.Label19.caption().isEmpty());
    QVERIFY(form.Label20.caption().isEmpty());
    QCOMPARE(form.Label6.caption(), QStringLiteral("3.14159265358979\r\n"));
    QCOMPARE(form.Label7.caption(), QStringLiteral("小数点以下"));
    QCOMPARE(form.Label9.caption(), QStringLiteral("桁まで一致しました。"));
}

void TestForm1::designTimeLists()
{
    Form1 form;
    QCOMPARE(form.Combo4.list(),
             QStringList({ QStringLiteral("1"), QStringLiteral("10"), QStringLiteral("100"),
                           QStringLiteral("1000"), QStringLiteral("2000"), QStringLiteral("3000"),
                           QStringLiteral("4000"), QStringLiteral("6000"), QStringLiteral("7000"),
                           QStringLiteral("8000"), QStringLiteral("9000"),
                           QStringLiteral("5000") }));
    QCOMPARE(form.Combo5.list(),
             QStringList({ QStringLiteral("回"), QStringLiteral("百回"), QStringLiteral("千回"),
                           QStringLiteral("万回"), QStringLiteral("億回") }));
    QCOMPARE(form.Combo2.list().size(), 6);
    QCOMPARE(form.Combo2.list().first(), QStringLiteral("0"));
    QCOMPARE(form.Combo2.list().last(), QStringLiteral("5"));
    QCOMPARE(form.Combo3.list().size(), 262);
    QCOMPARE(form.Combo3.list().first(), QStringLiteral("MMX-Pentium166"));
    QVERIFY(form.Combo1.list().isEmpty());
}

void TestForm1::designTableIsConsistent()
{
    Form1 form;
    const auto design = mainWindowDesign();
    QCOMPARE(design.size(), std::size_t { 37 });
    QCOMPARE(form.controls().size(), design.size());

    QSet<int> tabIndices;
    for (const ControlDesign &d : design) {
        tabIndices.insert(d.tabIndex);
        QVERIFY2(d.left >= 0 && d.top >= 0 && d.left + d.width <= kClientWidthTwips
                         && d.top + d.height <= kClientHeightTwips,
                 d.name.data());
        QCOMPARE(&form.control(d.name).design(), &d);
    }
    QCOMPARE(tabIndices.size(), 37);
    QCOMPARE(*std::min_element(tabIndices.begin(), tabIndices.end()), 0);
    QCOMPARE(*std::max_element(tabIndices.begin(), tabIndices.end()), 36);

    // The curtain covers the whole chart band; the bars and their frame lie inside it.
    const ControlDesign &curtain = designOf("Label18");
    for (const char *chart :
         { "Label13", "Label8", "Label14", "Label15", "Label16", "Label17", "Label19" }) {
        const ControlDesign &d = designOf(chart);
        QVERIFY2(d.left >= curtain.left && d.top >= curtain.top
                         && d.top + d.height <= curtain.top + curtain.height,
                 chart);
    }
    // The hidden holders of the loop count lie wholly beneath the count and unit boxes.
    const ControlDesign &count = designOf("Combo4");
    const ControlDesign &unit = designOf("Combo5");
    for (const char *holder : { "Combo1", "Text1" }) {
        const ControlDesign &d = designOf(holder);
        QVERIFY(d.left >= count.left && d.left + d.width <= unit.left + unit.width);
        QVERIFY(d.top >= count.top && d.top + d.height <= count.top + count.height);
    }
}

void TestForm1::stackingNamesEveryControlOnce()
{
    QSet<QString> names;
    for (const std::string_view name : mainWindowStackingFromTop())
        names.insert(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    QCOMPARE(names.size(), 37);
    for (const ControlDesign &d : mainWindowDesign())
        QVERIFY(names.contains(
                QString::fromLatin1(d.name.data(), static_cast<qsizetype>(d.name.size()))));
}

void TestForm1::exitUnloadsTheMainWindow()
{
    Form1 form;
    test::FakePlatform platform;
    exit_Click(form, platform);
    QCOMPARE(platform.unloaded.size(), std::size_t { 1 });
    QCOMPARE(platform.unloaded.front(), &form);
}

QTEST_APPLESS_MAIN(TestForm1)
#include "tst_form1.moc"
