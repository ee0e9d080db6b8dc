#include "scoring/ReferenceMachineTable.h"

#include <QHash>
#include <QStringView>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <cstddef>

using kamorin::ReferenceMachine;
using kamorin::ReferenceMachineTable;

namespace {

constexpr qsizetype kTotalCount = 268;
constexpr qsizetype kListedCount = 262;

// Added up separately from the source table with exact decimal arithmetic, not from
// the table in the program, so a mistyped or dropped entry shows up here.
constexpr double kSumOfAllSeconds = 23607.90;
constexpr double kSumOfListedSeconds = 22957.62;
// Each entry's seconds times its 1-based place in the table; unlike the plain sums this
// one changes when two entries trade places, which would reorder the combo box list.
constexpr double kPositionWeightedSum = 1648391.59;

QString nameOf(const ReferenceMachine &machine)
{
    return QString::fromUtf16(machine.name.data(), qsizetype(machine.name.size()));
}

// Rows carry an optional code point check so that an editor or a copy and paste that
// "normalises" a look-alike character cannot quietly turn a case into a different one.
void addCodePointColumns()
{
    QTest::addColumn<int>("checkIndex");
    QTest::addColumn<int>("checkCodePoint");
}

void verifyCodePoint(const QString &text)
{
    QFETCH(int, checkIndex);
    QFETCH(int, checkCodePoint);
    if (checkIndex < 0)
        return;
    QVERIFY(checkIndex < text.size());
    QCOMPARE(int(text.at(checkIndex).unicode()), checkCodePoint);
}

} // namespace

class TestReferenceMachineTable : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void counts();
    void listIsPrefixOfTable();
    void listedPositions_data();
    void listedPositions();
    void everyListedNameIsFound();
    void sameNameNeverGivesTwoValues();
    void hiddenNames_data();
    void hiddenNames();
    void sums();
    void extremes();
    void lookupFinds_data();
    void lookupFinds();
    void lookupFails_data();
    void lookupFails();
};

void TestReferenceMachineTable::counts()
{
    QCOMPARE(qsizetype(ReferenceMachineTable::entries().size()), kTotalCount);
    QCOMPARE(ReferenceMachineTable::listedNames().size(), kListedCount);
}

void TestReferenceMachineTable::listIsPrefixOfTable()
{
    const QStringList listed = ReferenceMachineTable::listedNames();
    const auto entries = ReferenceMachineTable::entries();
    QCOMPARE(listed.size(), kListedCount);
    for (qsizetype i = 0; i < listed.size(); ++i)
        QCOMPARE(listed.at(i), nameOf(entries[std::size_t(i)]));
}

void TestReferenceMachineTable::listedPositions_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("seconds");
    addCodePointColumns();

    QTest::newRow("first, start-up text")
            << 1 << QStringLiteral("MMX-Pentium166") << 206.0 << -1 << 0;
    QTest::newRow("slowest") << 2 << QStringLiteral("i486 DX2 50") << 1826.0 << -1 << 0;
    QTest::newRow("K6-2+ without space") << 61 << QStringLiteral("K6-2+500") << 93.91 << -1 << 0;
    QTest::newRow("K6-2+ with space") << 62 << QStringLiteral("K6-2+ 500@550") << 75.56 << -1 << 0;
    QTest::newRow("Celeron300A no space")
            << 72 << QStringLiteral("Celeron300A") << 109.0 << -1 << 0;
    QTest::newRow("Celeron 300A space")
            << 73 << QStringLiteral("Celeron 300A@450") << 72.38 << 7 << int(u' ');
    QTest::newRow("ideographic space 500")
            << 106 << QStringLiteral("Mobile　PenIII500") << 71.75 << 6 << 0x3000;
    QTest::newRow("ideographic space 700")
            << 107 << QStringLiteral("Mobile　PenIII700") << 61.81 << 6 << 0x3000;
    QTest::newRow("roman two") << 109 << QStringLiteral("PentiumⅡ266") << 123.0 << 7 << 0x2161;
    QTest::newRow("three ASCII I")
            << 115 << QStringLiteral("PenIII(Kat)450") << 95.38 << 5 << int(u'I');
    QTest::newRow("roman three") << 116 << QStringLiteral("PenⅢ(Kat)450@622") << 53.0 << 3
                                 << 0x2162;
    QTest::newRow("last roman three")
            << 159 << QStringLiteral("PenⅢ(Cop)1000@1380") << 22.45 << 3 << 0x2162;
    QTest::newRow("PenIII-S ASCII")
            << 160 << QStringLiteral("PenIII-S1130@1504") << 23.06 << 5 << int(u'I');
    QTest::newRow("fastest") << 248 << QStringLiteral("AthlonXP2400+@2795") << 10.08 << -1 << 0;
    QTest::newRow("last listed") << 262 << QStringLiteral("AthlonMP2200+@2001") << 14.16 << -1 << 0;
}

void TestReferenceMachineTable::listedPositions()
{
    QFETCH(int, position);
    QFETCH(QString, name);
    QFETCH(double, seconds);
    verifyCodePoint(name);

    const QStringList listed = ReferenceMachineTable::listedNames();
    QVERIFY(position >= 1 && position <= listed.size());
    QCOMPARE(listed.at(position - 1), name);
    QCOMPARE(ReferenceMachineTable::entries()[std::size_t(position - 1)].seconds, seconds);
}

void TestReferenceMachineTable::everyListedNameIsFound()
{
    const auto entries = ReferenceMachineTable::entries();
    const QStringList listed = ReferenceMachineTable::listedNames();
    for (qsizetype i = 0; i < listed.size(); ++i) {
        const QString &name = listed.at(i);
        const auto first = std::find_if(entries.begin(), entries.end(),
                                        [&name](const auto &m) { return nameOf(m) == name; });
        QVERIFY2(first != entries.end(), qPrintable(name));
        const std::optional<double> found = ReferenceMachineTable::lookup(name);
        QVERIFY2(found.has_value(), qPrintable(name));
        QCOMPARE(*found, first->seconds);
    }
}

// Search order must not matter to a result: if a name is ever stored twice, both copies
// have to agree.
void TestReferenceMachineTable::sameNameNeverGivesTwoValues()
{
    QHash<QString, double> seen;
    for (const ReferenceMachine &machine : ReferenceMachineTable::entries()) {
        const QString name = nameOf(machine);
        const auto it = seen.constFind(name);
        if (it == seen.cend())
            seen.insert(name, machine.seconds);
        else
            QVERIFY2(*it == machine.seconds, qPrintable(name));
    }
}

void TestReferenceMachineTable::hiddenNames_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("seconds");
    addCodePointColumns();

    QTest::newRow("Celeron400@450") << 262 << QStringLiteral("Celeron400@450") << 76.0 << -1 << 0;
    QTest::newRow("PenIII Kat 450@560")
            << 263 << QStringLiteral("PenⅢ(Kat)450@560") << 59.0 << 3 << 0x2162;
    QTest::newRow("Athlon700@791") << 264 << QStringLiteral("Athlon700@791") << 37.0 << -1 << 0;
    QTest::newRow("AthlonMP1200@1413")
            << 265 << QStringLiteral("AthlonMP1200@1413") << 19.19 << -1 << 0;
    QTest::newRow("Pentium 100") << 266 << QStringLiteral("Pentium 100") << 429.95 << -1 << 0;
    QTest::newRow("Pentium4 2000@2200")
            << 267 << QStringLiteral("Pentium4 2000@2200") << 29.14 << -1 << 0;
}

void TestReferenceMachineTable::hiddenNames()
{
    QFETCH(int, index);
    QFETCH(QString, name);
    QFETCH(double, seconds);
    verifyCodePoint(name);

    QVERIFY(!ReferenceMachineTable::listedNames().contains(name));
    QCOMPARE(nameOf(ReferenceMachineTable::entries()[std::size_t(index)]), name);
    const std::optional<double> found = ReferenceMachineTable::lookup(name);
    QVERIFY(found.has_value());
    QCOMPARE(*found, seconds);
}

void TestReferenceMachineTable::sums()
{
    const auto entries = ReferenceMachineTable::entries();
    double all = 0;
    double listed = 0;
    double weighted = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        all += entries[i].seconds;
        if (i < std::size_t(kListedCount))
            listed += entries[i].seconds;
        weighted += double(i + 1) * entries[i].seconds;
    }
    QVERIFY2(std::abs(all - kSumOfAllSeconds) < 1e-6, qPrintable(QString::number(all, 'f', 6)));
    QVERIFY2(std::abs(listed - kSumOfListedSeconds) < 1e-6,
             qPrintable(QString::number(listed, 'f', 6)));
    QVERIFY2(std::abs(weighted - kPositionWeightedSum) < 1e-6,
             qPrintable(QString::number(weighted, 'f', 6)));
}

void TestReferenceMachineTable::extremes()
{
    const auto entries = ReferenceMachineTable::entries();
    const auto [lo, hi]
            = std::minmax_element(entries.begin(), entries.end(),
                                  [](const ReferenceMachine &a, const ReferenceMachine &b) {
                                      return a.seconds < b.seconds;
                                  });
    QCOMPARE(lo->seconds, 10.08);
    QCOMPARE(nameOf(*lo), QStringLiteral("AthlonXP2400+@2795"));
    QCOMPARE(hi->seconds, 1826.0);
    QCOMPARE(nameOf(*hi), QStringLiteral("i486 DX2 50"));
}

void TestReferenceMachineTable::lookupFinds_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("seconds");
    addCodePointColumns();

    QTest::newRow("start-up text") << QStringLiteral("MMX-Pentium166") << 206.0 << -1 << 0;
    QTest::newRow("slowest") << QStringLiteral("i486 DX2 50") << 1826.0 << -1 << 0;
    QTest::newRow("fastest") << QStringLiteral("AthlonXP2400+@2795") << 10.08 << -1 << 0;
    QTest::newRow("ideographic space")
            << QStringLiteral("Mobile　PenIII500") << 71.75 << 6 << 0x3000;
    QTest::newRow("three ASCII I") << QStringLiteral("PenIII(Kat)450") << 95.38 << 3 << int(u'I');
    QTest::newRow("typed, not listed") << QStringLiteral("Celeron400@450") << 76.0 << -1 << 0;
}

void TestReferenceMachineTable::lookupFinds()
{
    QFETCH(QString, name);
    QFETCH(double, seconds);
    verifyCodePoint(name);

    const std::optional<double> found = ReferenceMachineTable::lookup(name);
    QVERIFY(found.has_value());
    QCOMPARE(*found, seconds);
}

void TestReferenceMachineTable::lookupFails_data()
{
    QTest::addColumn<QString>("name");
    addCodePointColumns();

    QTest::newRow("empty") << QString() << -1 << 0;
    QTest::newRow("empty, not null") << QStringLiteral("") << -1 << 0;
    QTest::newRow("lower case") << QStringLiteral("mmx-pentium166") << -1 << 0;
    QTest::newRow("trailing space") << QStringLiteral("MMX-Pentium166 ") << 14 << int(u' ');
    QTest::newRow("leading space") << QStringLiteral(" MMX-Pentium166") << 0 << int(u' ');
    QTest::newRow("prefix only") << QStringLiteral("MMX-Pentium16") << -1 << 0;
    QTest::newRow("full-width letters") << QStringLiteral("ＭＭＸ-Pentium166") << 0 << 0xFF2D;
    QTest::newRow("ASCII instead of ideographic space")
            << QStringLiteral("Mobile PenIII500") << 6 << int(u' ');
    QTest::newRow("roman three instead of III") << QStringLiteral("PenⅢ(Kat)450") << 3 << 0x2162;
    QTest::newRow("III instead of roman three")
            << QStringLiteral("PenIII(Kat)450@622") << 3 << int(u'I');
    QTest::newRow("II instead of roman two") << QStringLiteral("PentiumII266") << 7 << int(u'I');
    QTest::newRow("space dropped") << QStringLiteral("Celeron300A@450") << -1 << 0;
    QTest::newRow("space added") << QStringLiteral("Celeron 300A") << -1 << 0;
}

void TestReferenceMachineTable::lookupFails()
{
    QFETCH(QString, name);
    verifyCodePoint(name);

    QVERIFY(!ReferenceMachineTable::lookup(name).has_value());
}

QTEST_APPLESS_MAIN(TestReferenceMachineTable)

#include "tst_referencemachinetable.moc"
