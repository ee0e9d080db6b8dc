#include "measure/LeibnizSeries.h"
#include "runtime/LoopProgress.h"
#include "runtime/NumberText.h"
#include "runtime/RuntimeError.h"
#include "runtime/Variant.h"
#include "support/Operands.h"

#include <QtTest>

#include <chrono>
#include <thread>

using namespace kamorin;
using namespace kamorin::test;
using namespace Qt::StringLiterals;

class TestLeibnizSeries : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // What a watcher reads after the run, whatever tag the end gives the counter.
    void progressCountsPasses_data()
    {
        QTest::addColumn<Operand>("end");
        QTest::addColumn<double>("passes");
        QTest::newRow("text end, as the run command gives it") << txt(u"1000") << 1000.0;
        QTest::newRow("16-bit end") << i16(1000) << 1000.0;
        QTest::newRow("16-bit end at its limit") << i16(32767) << 32767.0;
        QTest::newRow("32-bit end") << i32(40000) << 40000.0;
        QTest::newRow("single end") << f32(2.5f) << 2.0;
        QTest::newRow("double end") << f64(10.2) << 10.0;
        QTest::newRow("one pass") << i16(1) << 1.0;
        QTest::newRow("no pass") << i16(0) << 0.0;
        QTest::newRow("negative end") << txt(u"-5") << 0.0;
        QTest::newRow("empty end") << none() << 0.0;
    }

    void progressCountsPasses()
    {
        QFETCH(Operand, end);
        QFETCH(double, passes);
        LoopProgress progress;
        sumLeibnizSeries(end.variant(), progress);
        QCOMPARE(progress.totalPasses(), passes);
        QCOMPARE(progress.passesDone(), passes);
        QCOMPARE(progress.fractionDone(), passes > 0 ? 1.0 : 0.0);
    }

    // The value reached depends only on the number of passes for a Double
    // counter; the run command's text end gives one.
    void valueReached_data()
    {
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("value");
        QTest::newRow("no pass") << u"0"_s << u"0"_s;
        QTest::newRow("one pass") << u"1"_s << u"4"_s;
        QTest::newRow("100") << u"100"_s << u"3.13159290355855"_s;
        QTest::newRow("10000") << u"10000"_s << u"3.14149265359003"_s;
    }

    void valueReached()
    {
        QFETCH(QString, end);
        QFETCH(QString, value);
        LoopProgress progress;
        QCOMPARE(textOf(sumLeibnizSeries(Variant::text(end), progress)), value);
    }

    // The stop is asked for after a pass, so a stop requested before the run
    // still lets exactly one pass happen, and the run then ends with the
    // cancelled error rather than a value.
    void stopBeforeTheRunEndsItAfterOnePass_data()
    {
        QTest::addColumn<Operand>("end");
        QTest::newRow("text end") << txt(u"20000000");
        QTest::newRow("16-bit end") << i16(32767);
    }

    void stopBeforeTheRunEndsItAfterOnePass()
    {
        QFETCH(Operand, end);
        LoopProgress progress;
        progress.requestStop();
        const int error = errorOf([&] { sumLeibnizSeries(end.variant(), progress); });
        QCOMPARE(error, static_cast<int>(ErrorNumber::Cancelled));
        QCOMPARE(progress.passesDone(), 1.0);
        QCOMPARE(progress.totalPasses(), end.variant().toDouble());
        QVERIFY(progress.stopRequested());
    }

    void stopFromAnotherThreadEndsTheRun()
    {
        LoopProgress progress;
        // Far more passes than the stop needs to arrive: the run would take hours.
        const QString end = u"1e12"_s;
        int error = 0;
        std::thread loop(
                [&] { error = errorOf([&] { sumLeibnizSeries(Variant::text(end), progress); }); });
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (progress.passesDone() < 1000 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::yield();
        progress.requestStop();
        loop.join();
        QCOMPARE(error, static_cast<int>(ErrorNumber::Cancelled));
        QVERIFY(progress.passesDone() >= 1000);
        QVERIFY(progress.passesDone() < progress.totalPasses());
    }
};

QTEST_APPLESS_MAIN(TestLeibnizSeries)
#include "tst_leibnizseries.moc"
