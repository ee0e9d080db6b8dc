#include "runtime/Arithmetic.h"
#include "runtime/CountedLoop.h"
#include "runtime/NumberText.h"
#include "runtime/RuntimeError.h"
#include "runtime/Variant.h"
#include "support/Operands.h"

#include <QList>
#include <QtTest>

#include <cstdint>

using namespace kamorin;
using namespace kamorin::test;

namespace {

// One loop bound; a text keeps its text here, so the Variant made from it refers to
// the fetched row.

// Far more passes than any row expects: a loop that fails to stop ends the test here.
constexpr int kPassLimit = 100;

} // namespace

class TestCountedLoop : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void passes_data()
    {
        QTest::addColumn<Operand>("start");
        QTest::addColumn<Operand>("end");
        QTest::addColumn<Operand>("step");
        QTest::addColumn<VarType>("tag");
        QTest::addColumn<QList<double>>("counters");
        // An integer counter here: clang 14 turns a double one ending at 2^31 - 1 into an
        // endless 32-bit loop.
        const auto upTo = [](qint64 first, qint64 last) {
            QList<double> values;
            for (qint64 v = first; v <= last; ++v)
                values.append(double(v));
            return values;
        };
        QTest::newRow("digit positions")
                << i16(1) << i16(14) << i16(1) << VarType::Integer << upTo(1, 14);
        QTest::newRow("fractional end")
                << i16(1) << f64(10.2) << i16(1) << VarType::Double << upTo(1, 10);
        QTest::newRow("text end") << i16(1) << txt(u"3") << i16(1) << VarType::Double << upTo(1, 3);
        QTest::newRow("text end with blanks")
                << i16(1) << txt(u" 2.5 ") << i16(1) << VarType::Double << upTo(1, 2);
        QTest::newRow("end below start")
                << i16(1) << i16(0) << i16(1) << VarType::Integer << QList<double>();
        QTest::newRow("negative end")
                << i16(1) << txt(u"-5") << i16(1) << VarType::Double << QList<double>();
        QTest::newRow("counting down")
                << i16(3) << i16(1) << i16(-1) << VarType::Integer << QList<double> { 3, 2, 1 };
        QTest::newRow("down, end above")
                << i16(1) << i16(3) << i16(-1) << VarType::Integer << QList<double>();
        QTest::newRow("half steps")
                << i16(1) << i16(2) << f64(0.5) << VarType::Double << QList<double> { 1, 1.5, 2 };
        QTest::newRow("single step")
                << i16(1) << i16(2) << f32(0.5f) << VarType::Single << QList<double> { 1, 1.5, 2 };
        QTest::newRow("long end") << i16(1) << i32(3) << i16(1) << VarType::Long << upTo(1, 3);
        QTest::newRow("integer end at 32767")
                << i16(32766) << i16(32767) << i16(1) << VarType::Integer << upTo(32766, 32767);
        QTest::newRow("long end at 2^31-1") << i32(2147483645) << i32(2147483647) << i32(1)
                                            << VarType::Long << upTo(2147483645, 2147483647);
        QTest::newRow("across 2^31") << i32(2147483640) << f64(2147483650.0) << i16(1)
                                     << VarType::Double << upTo(2147483640, 2147483650);
        QTest::newRow("across 2^32") << f64(4294967290.0) << f64(4294967300.0) << i16(1)
                                     << VarType::Double << upTo(4294967290, 4294967300);
    }

    void passes()
    {
        QFETCH(Operand, start);
        QFETCH(Operand, end);
        QFETCH(Operand, step);
        QFETCH(VarType, tag);
        QFETCH(QList<double>, counters);
        QList<double> seen;
        for (CountedLoop loop(start.variant(), end.variant(), step.variant()); loop.running();
             loop.next()) {
            QCOMPARE(loop.counter().type(), tag);
            seen.append(loop.counter().toDouble());
            QVERIFY(seen.size() <= kPassLimit);
        }
        QCOMPARE(seen, counters);
    }

    void endAndStepAreReadOnce()
    {
        QString end = QStringLiteral("3");
        QString step = QStringLiteral("1");
        int passes = 0;
        for (CountedLoop loop(Variant::integer(1), Variant::text(end), Variant::text(step));
             loop.running() && passes < kPassLimit; loop.next()) {
            end = QStringLiteral("100");
            step = QStringLiteral("0.25");
            ++passes;
        }
        QCOMPARE(passes, 3);
    }

    void endThatIsNoNumber()
    {
        const QString end = QStringLiteral("abc");
        try {
            CountedLoop loop(Variant::integer(1), Variant::text(end), Variant::integer(1));
            QFAIL("a loop to a text that is no number started");
        } catch (const RuntimeError &e) {
            QCOMPARE(e.number(), ErrorNumber::TypeMismatch);
        }
    }

    // The benchmark's series: the loop counter feeds all eight tagged operations.
    void leibnizSeries_data()
    {
        QTest::addColumn<QString>("count");
        QTest::addColumn<QString>("reached");
        QTest::newRow("1") << QStringLiteral("1") << QStringLiteral("4");
        QTest::newRow("100") << QStringLiteral("100") << QStringLiteral("3.13159290355855");
        QTest::newRow("1000") << QStringLiteral("1000") << QStringLiteral("3.14059265383979");
        QTest::newRow("10000") << QStringLiteral("10000") << QStringLiteral("3.14149265359003");
        QTest::newRow("0") << QStringLiteral("0") << QStringLiteral("0");
    }

    void leibnizSeries()
    {
        QFETCH(QString, count);
        QFETCH(QString, reached);
        Variant s = Variant::integer(0);
        Variant p = Variant::integer(0);
        for (CountedLoop i(Variant::integer(1), Variant::text(count), Variant::integer(1));
             i.running(); i.next()) {
            const Variant a = Variant::integer(2) * i.counter();
            const Variant b = a - Variant::integer(1);
            const Variant c = Variant::integer(1) / b;
            const Variant d = i.counter() - Variant::integer(1);
            const Variant e = power(Variant::integer(-1), d);
            s = s + c * e;
            p = s * Variant::integer(4);
        }
        QCOMPARE(textOf(p), reached);
    }
};

QTEST_APPLESS_MAIN(TestCountedLoop)
#include "tst_countedloop.moc"
