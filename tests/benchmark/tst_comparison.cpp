#include "benchmark/Comparison.h"

#include <QTest>

#include <cmath>
#include <vector>

using namespace kamorin;

using Seconds = std::vector<double>;
Q_DECLARE_METATYPE(Seconds)
Q_DECLARE_METATYPE(Verdict)

namespace {

// Where the runs cannot bound a 95 % interval.
constexpr double kNone = -1;

bool close(double actual, double expected)
{
    return std::abs(actual - expected) <= 1e-12 * std::max(1.0, std::abs(expected));
}

Seconds steps(double first, double step, int count)
{
    Seconds s;
    for (int i = 0; i < count; ++i)
        s.push_back(first + step * i);
    return s;
}

} // namespace

class TestComparison : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void againstIndependentValues_data();
    void againstIndependentValues();
    void failIfSlower_data();
    void failIfSlower();
};

// U, p and the interval were computed once with SciPy 1.10: mannwhitneyu
// (method "exact" without ties, "asymptotic" with its continuity and tie
// corrections beyond 20 runs), permutation_test over every split where times
// tie, and the Moses interval from the sorted log differences with its rank
// from a separately written count of the distribution of U; the estimate is
// the median of those log differences, taken with Python's statistics.median.
void TestComparison::againstIndependentValues_data()
{
    QTest::addColumn<Seconds>("a");
    QTest::addColumn<Seconds>("b");
    QTest::addColumn<double>("u");
    QTest::addColumn<double>("p");
    QTest::addColumn<bool>("exact");
    QTest::addColumn<double>("ciLow");
    QTest::addColumn<double>("ciHigh");
    QTest::addColumn<double>("estimate");
    QTest::addColumn<Verdict>("verdict");

    QTest::newRow("separated, B faster")
            << Seconds { 2.0, 2.1, 2.2, 2.3, 2.4 } << Seconds { 1.0, 1.1, 1.2, 1.3, 1.4 } << 25.0
            << 0.0079365079365079361 << true << 1.5384615384615383 << 2.2 << 1.8333333333333337
            << Verdict::Faster;
    QTest::newRow("overlapping, just not significant")
            << Seconds { 1.02, 1.05, 0.99, 1.10, 1.07, 1.01 }
            << Seconds { 0.98, 1.00, 1.03, 0.97, 0.96, 1.04, 0.95 } << 35.0 << 0.05128205128205128
            << true << 0.9902912621359223 << 1.105263157894737 << 1.0507729114038895
            << Verdict::NoDifference;
    QTest::newRow("ties across the two")
            << Seconds { 1.0, 1.1, 1.1, 1.2, 1.3 } << Seconds { 1.1, 1.2, 1.2, 1.4, 1.5, 1.5 }
            << 6.0 << 0.12121212121212122 << true << 0.7333333333333334 << 1.0833333333333335
            << 0.8666666666666667 << Verdict::NoDifference;
    QTest::newRow("B slower") << steps(1.00, 0.01, 8)
                              << Seconds { 1.04, 1.06, 1.08, 1.09, 1.10, 1.11, 1.12, 1.13 } << 5.0
                              << 0.0027972027972027972 << true << 0.9196428571428571
                              << 0.9727272727272727 << 0.9461872279154218 << Verdict::Slower;
    QTest::newRow("too few runs for a verdict")
            << Seconds { 1.0, 1.2, 1.1 } << Seconds { 0.9, 0.8, 1.0, 0.85 } << 11.5
            << 0.11428571428571428 << true << kNone << kNone << 1.2360330811826106
            << Verdict::NeedMoreRuns;
    QTest::newRow("all equal") << Seconds(5, 1.5) << Seconds(5, 1.5) << 12.5 << 1.0 << true << 1.0
                               << 1.0 << 1.0 << Verdict::NoDifference;
    QTest::newRow("twenty each, still exact")
            << steps(1.0, 0.01, 20) << steps(1.0555, 0.011, 20) << 96.0 << 0.0042667456847463609
            << true << 0.9094736842105263 << 0.9801324503311258 << 0.9439662867807463
            << Verdict::Slower;
    Seconds a, b;
    for (int i = 0; i < 25; ++i)
        a.push_back(std::round((1 + 0.02 * (i % 13)) * 100) / 100);
    for (int i = 0; i < 30; ++i)
        b.push_back(std::round((1.03 + 0.02 * (i % 11)) * 100) / 100);
    QTest::newRow("beyond twenty: normal, ties within")
            << a << b << 354.0 << 0.72873603259564534 << false << 0.9572649572649574
            << 1.0280373831775702 << 0.9913043478260869 << Verdict::NoDifference;
}

void TestComparison::againstIndependentValues()
{
    QFETCH(Seconds, a);
    QFETCH(Seconds, b);
    QFETCH(double, p);
    QFETCH(double, ciLow);
    QFETCH(double, ciHigh);
    QFETCH(double, estimate);

    const Comparison c = compareRuns(a, b);
    QVERIFY2(close(c.estimate, estimate), qPrintable(QString::number(c.estimate, 'g', 17)));
    QTEST(c.u, "u");
    QVERIFY2(close(c.pValue, p), qPrintable(QString::number(c.pValue, 'g', 17)));
    QTEST(c.exact, "exact");
    QCOMPARE(c.ciLow.has_value(), ciLow != kNone);
    if (c.ciLow) {
        QVERIFY2(close(*c.ciLow, ciLow), qPrintable(QString::number(*c.ciLow, 'g', 17)));
        QVERIFY2(close(*c.ciHigh, ciHigh), qPrintable(QString::number(*c.ciHigh, 'g', 17)));
        QVERIFY(*c.ciLow <= c.estimate && c.estimate <= *c.ciHigh);
    }
    QTEST(c.verdict, "verdict");
}

void TestComparison::failIfSlower_data()
{
    QTest::addColumn<Seconds>("a");
    QTest::addColumn<Seconds>("b");
    QTest::addColumn<double>("percent");
    QTest::addColumn<bool>("fails");

    // A's median is 1.035; B's 1.095 is 5.8 % slower, and so is the estimate.
    const Seconds a = steps(1.00, 0.01, 8);
    const Seconds slower { 1.04, 1.06, 1.08, 1.09, 1.10, 1.11, 1.12, 1.13 };
    QTest::newRow("slower by more than asked") << a << slower << 5.0 << true;
    QTest::newRow("slower, but by less") << a << slower << 6.0 << false;
    QTest::newRow("faster") << a << steps(0.90, 0.01, 8) << 0.0 << false;
    QTest::newRow("no significant difference") << a << steps(1.001, 0.01, 8) << 0.0 << false;
    // Two clusters each: B's median is below A's, yet B is slower by ranks
    // and by the estimate (0.675, 48 % slower).
    Seconds clusteredA = steps(1.00, 0.01, 10), clusteredB = steps(1.50, 0.01, 11);
    for (const double s : steps(2.00, 0.01, 11))
        clusteredA.push_back(s);
    for (const double s : steps(3.00, 0.01, 10))
        clusteredB.push_back(s);
    QTest::newRow("slower, medians leaning the other way")
            << clusteredA << clusteredB << 0.0 << true;
    QTest::newRow("slower in clusters, by less") << clusteredA << clusteredB << 50.0 << false;
}

void TestComparison::failIfSlower()
{
    QFETCH(Seconds, a);
    QFETCH(Seconds, b);
    QFETCH(double, percent);
    QTEST(slowerBeyond(compareRuns(a, b), percent), "fails");
}

QTEST_APPLESS_MAIN(TestComparison)
#include "tst_comparison.moc"
