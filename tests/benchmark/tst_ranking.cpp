#include "benchmark/Ranking.h"

#include <QTest>

using namespace kamorin;

namespace {

// A small table with a tie in the middle.
constexpr ReferenceMachine kMachines[] = {
    { u"D", 30 },
    { u"B", 20 },
    { u"A", 10 },
    { u"C", 20 },
};

QString nameOr(const std::optional<QString> &name)
{
    return name ? *name : QStringLiteral("-");
}

} // namespace

class TestRanking : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void place_data();
    void place();
    void scoresAgainstThisMachine();
    void wholeTable();
};

void TestRanking::place_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("faster");
    QTest::addColumn<QString>("slower");
    // Every row's place and name, fastest first.
    QTest::addColumn<QString>("rows");

    QTest::newRow("faster than all") << 5.0 << 1 << "-"
                                     << "A"
                                     << "1★ 2A 3B 3C 5D";
    QTest::newRow("tied with the fastest") << 10.0 << 1 << "-"
                                           << "B"
                                           << "1★ 1A 3B 3C 5D";
    QTest::newRow("tied with two") << 20.0 << 2 << "A"
                                   << "D"
                                   << "1A 2★ 2B 2C 5D";
    QTest::newRow("between") << 25.0 << 4 << "C"
                             << "D"
                             << "1A 2B 2C 4★ 5D";
    QTest::newRow("tied with the slowest") << 30.0 << 4 << "C"
                                           << "-"
                                           << "1A 2B 2C 4★ 4D";
    QTest::newRow("slower than all") << 40.0 << 5 << "D"
                                     << "-"
                                     << "1A 2B 2C 4D 5★";
}

void TestRanking::place()
{
    QFETCH(double, seconds);
    const Ranking ranking = rankAmong(kMachines, seconds);
    QCOMPARE(ranking.of, 5);
    QCOMPARE(ranking.seconds, seconds);
    QTEST(ranking.position, "position");
    QTEST(nameOr(ranking.faster), "faster");
    QTEST(nameOr(ranking.slower), "slower");
    QStringList rows;
    for (const RankRow &row : ranking.rows)
        rows << QString::number(row.position) + (row.thisMachine ? QStringLiteral("★") : row.name);
    QTEST(rows.join(u' '), "rows");
}

void TestRanking::scoresAgainstThisMachine()
{
    const Ranking ranking = rankAmong(kMachines, 20);
    for (const RankRow &row : ranking.rows) {
        // Twice as fast as this machine is a score of 2.
        if (row.name == u"A")
            QCOMPARE(row.score, 2.0);
        if (row.name == u"D")
            QCOMPARE(row.score, 20.0 / 30);
        if (row.thisMachine) {
            QCOMPARE(row.name, thisMachineName());
            QCOMPARE(row.score, 1.0);
        }
    }
}

void TestRanking::wholeTable()
{
    const Ranking ranking = rankAmong(ReferenceMachineTable::entries(), 206);
    QCOMPARE(ranking.of, 269);
    QCOMPARE(ranking.rows.size(), std::size_t { 269 });
    for (std::size_t i = 1; i < ranking.rows.size(); ++i)
        QVERIFY(ranking.rows[i - 1].seconds <= ranking.rows[i].seconds);
    // MMX-Pentium166 took 206 seconds: a tie, and this machine stands first of the two.
    const auto self = std::find_if(ranking.rows.begin(), ranking.rows.end(),
                                   [](const RankRow &row) { return row.thisMachine; });
    QCOMPARE(std::next(self)->seconds, 206.0);
    QCOMPARE(std::next(self)->position, ranking.position);
}

QTEST_APPLESS_MAIN(TestRanking)
#include "tst_ranking.moc"
