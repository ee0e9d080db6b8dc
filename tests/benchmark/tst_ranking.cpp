#include "benchmark/HeadlessPlatform.h"
#include "benchmark/Ranking.h"
#include "benchmark/Score.h"
#include "mainwindow/Form1.h"
#include "scoring/Command6_Click.h"

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

QString nameOr(const Ranking &ranking, std::optional<std::size_t> row)
{
    return row ? ranking.rows[*row].name : QStringLiteral("-");
}

} // namespace

class TestRanking : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void place_data();
    void place();
    void scoresAreScoreTexts_data();
    void scoresAreScoreTexts();
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
    QTEST(nameOr(ranking, ranking.faster), "faster");
    QTEST(nameOr(ranking, ranking.slower), "slower");
    QStringList rows;
    for (const RankRow &row : ranking.rows)
        rows << QString::number(row.position) + (row.thisMachine ? QStringLiteral("★") : row.name);
    QTEST(rows.join(u' '), "rows");
}

void TestRanking::scoresAreScoreTexts_data()
{
    QTest::addColumn<QString>("machine");
    const auto machines = ReferenceMachineTable::entries();
    for (const std::size_t i : { std::size_t { 0 }, std::size_t { 17 }, machines.size() - 1 }) {
        const QString name = QString::fromUtf16(machines[i].name.data(),
                                                static_cast<qsizetype>(machines[i].name.size()));
        QTest::newRow(qPrintable(name)) << name;
    }
    QTest::newRow("MMX-Pentium166") << QStringLiteral("MMX-Pentium166");
}

// A series has one score, the median run's: the headline and the machine's
// row of the rank read the same text, and it is what SCORE writes when the
// window's fields hold that time uncut.
void TestRanking::scoresAreScoreTexts()
{
    QFETCH(QString, machine);
    std::vector<RecordedRun> runs(3);
    const double seconds[] = { 1.6, 1.42, 1.37 };
    for (std::size_t i = 0; i < runs.size(); ++i) {
        runs[i].loops = QStringLiteral("30000000");
        runs[i].passes = 3e7;
        runs[i].seconds = seconds[i];
        runs[i].score = 1;
    }
    const std::optional<SeriesScore> score = seriesScore(runs, machine);
    QVERIFY(score);
    QCOMPARE(score->runs, 3);

    Ranking ranking = rankAmong(ReferenceMachineTable::entries(), 0.9);
    scoreRows(ranking, 3e7, 1.42);
    const auto row = std::find_if(ranking.rows.begin(), ranking.rows.end(),
                                  [&](const RankRow &r) { return r.name == machine; });
    QVERIFY(row != ranking.rows.end());
    QCOMPARE(row->score, std::optional(scoreFigure(score->value)));

    Form1 form;
    Form_Load(form);
    form.Combo1.setText(QStringLiteral("30000000"));
    form.Text6.setText(QStringLiteral("0"));
    form.Text5.setText(QStringLiteral("0"));
    form.Text3.setText(QStringLiteral("1"));
    form.Text8.setText(QStringLiteral("42"));
    form.Combo2.setText(QStringLiteral("0"));
    form.Combo3.setText(machine);
    HeadlessPlatform platform;
    Command6_Click(form, platform);
    QCOMPARE(form.Text7.text(), scoreFigure(score->value));

    // A run too short to score leaves the series without one.
    runs[0].score.reset();
    QVERIFY(!seriesScore(runs, machine));
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
