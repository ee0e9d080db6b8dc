#include "runtime/NumberText.h"
#include "runtime/RuntimeError.h"
#include "runtime/Variant.h"

#include <QtTest>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

using namespace kamorin;

namespace {

constexpr int kOverflow = 6;
constexpr int kTypeMismatch = 13;

QString exact(double v)
{
    return QString::number(v, 'g', 17);
}

// Doubles of every magnitude and digit pattern: varied mantissas over the whole
// exponent range, then random finite bit patterns from a fixed seed.
std::vector<double> sampleDoubles()
{
    std::vector<double> values { 0.1, 0.2, 0.3, 1.0 / 3, 2.0 / 3, 0.1 + 0.2, 3.14159265358979 };
    const double mantissas[]
            = { 1, 1.5, 3.14159265358979, 9.99999999999999, 1.2345678901234567, 7.000000000000001 };
    for (int e = -320; e <= 300; e += 9) {
        for (const double m : mantissas)
            values.push_back(m * std::pow(10.0, e));
    }
    std::mt19937_64 random(20240229);
    while (values.size() < 700) {
        const double v = std::bit_cast<double>(random());
        if (std::isfinite(v))
            values.push_back(v);
    }
    return values;
}

} // namespace

class TestNumberText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void textToNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("blanks, sign, exponent") << QStringLiteral("  -12.5e1 ") << -125.0;
        QTest::newRow("tabs") << QStringLiteral("\t3\t") << 3.0;
        QTest::newRow("leading point") << QStringLiteral(".5") << 0.5;
        QTest::newRow("trailing point") << QStringLiteral("5.") << 5.0;
        QTest::newRow("plus sign") << QStringLiteral("+7") << 7.0;
        QTest::newRow("leading zeros") << QStringLiteral("00012") << 12.0;
        QTest::newRow("capital E") << QStringLiteral("1E3") << 1000.0;
        QTest::newRow("signed exponent") << QStringLiteral("2.5e-3") << 0.0025;
        QTest::newRow("long exponent") << QStringLiteral("1e000000000000000000001") << 10.0;
        QTest::newRow("nearest double") << QStringLiteral("0.1") << 0.1;
        QTest::newRow("many digits") << QStringLiteral("123456789012345678901234567890")
                                     << 123456789012345678901234567890.0;
        QTest::newRow("largest") << QStringLiteral("1.7976931348623157e308")
                                 << std::numeric_limits<double>::max();
        QTest::newRow("smallest") << QStringLiteral("4.94065645841247E-324")
                                  << std::numeric_limits<double>::denorm_min();
        QTest::newRow("underflow is 0") << QStringLiteral("1e-400") << 0.0;
        QTest::newRow("underflow, long mantissa") << QStringLiteral("100000e-405") << 0.0;
        QTest::newRow("underflow, positive exponent")
                << QString(QStringLiteral("0.") + QString(400, u'0') + QStringLiteral("1e5"))
                << 0.0;
        QTest::newRow("zero, huge exponent") << QStringLiteral("0e99999") << 0.0;
        QTest::newRow("count") << QStringLiteral("2000") << 2000.0;
    }

    void textToNumber()
    {
        QFETCH(QString, text);
        QFETCH(double, expected);
        double value = 0;
        try {
            value = kamorin::textToNumber(text);
        } catch (const RuntimeError &e) {
            QFAIL(qPrintable(e.report()));
        }
        QCOMPARE(exact(value), exact(expected));
    }

    void textToNumberRejects_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("error");
        for (const char16_t *text :
             { u"",      u" ",      u"abc", u"nan", u"inf",  u"Infinity", u"1,000",  u"&H10",
               u"0x10",  u"１２３", u"1e",  u"1e+", u".",    u"+",        u"-",      u"1 2",
               u"1.2.3", u"--1",    u"1d3", u"e5",  u"1 e5", u"1e5.5",    u"\u22121" }) {
            const QString t = QString::fromUtf16(text);
            QTest::addRow("mismatch \"%s\"", qPrintable(t)) << t << kTypeMismatch;
        }
        for (const char16_t *text : { u"1e400", u"-1e400", u"1.8e308", u"10e308", u"0.01e311" }) {
            const QString t = QString::fromUtf16(text);
            QTest::addRow("overflow %s", qPrintable(t)) << t << kOverflow;
        }
        QTest::newRow("overflow, 310 digits") << QString(u'1' + QString(309, u'0')) << kOverflow;
    }

    void textToNumberRejects()
    {
        QFETCH(QString, text);
        QFETCH(int, error);
        try {
            const double value = kamorin::textToNumber(text);
            QFAIL(qPrintable(QStringLiteral("accepted as ") + exact(value)));
        } catch (const RuntimeError &e) {
            QCOMPARE(static_cast<int>(e.number()), error);
        }
    }

    void doubleToText_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        const auto row = [](const char *name, double value, const char16_t *text) {
            QTest::newRow(name) << value << QString::fromUtf16(text);
        };
        row("zero", 0, u"0");
        row("negative zero", -0.0, u"0");
        row("whole", 100, u"100");
        row("negative", -2.5, u"-2.5");
        row("tenth", 0.1, u"0.1");
        row("sum of tenths", 0.1 + 0.2, u"0.3");
        row("third", 1.0 / 3, u"0.333333333333333");
        row("two thirds", 2.0 / 3, u"0.666666666666667");
        row("pi reached", 3.14159260358982, u"3.14159260358982");
        row("count", 200000000000.0, u"200000000000");
        row("15 digits", 999999999999999.0, u"999999999999999");
        row("rounded to 15 digits", 123456789012345.6, u"123456789012346");
        row("rounds up to 1E+15", 999999999999999.9, u"1E+15");
        row("1E+15", 1e15, u"1E+15");
        row("1E+20", 1e20, u"1E+20");
        row("exponent mantissa", 123456789012345678.0, u"1.23456789012346E+17");
        row("three-digit exponent", 1e100, u"1E+100");
        row("largest", std::numeric_limits<double>::max(), u"1.79769313486232E+308");
        row("0.00001", 0.00001, u"0.00001");
        row("rounds up to 0.00001", 9.999999999999999e-6, u"0.00001");
        row("plain small", 0.000012345, u"0.000012345");
        row("1E-06", 0.000001, u"1E-06");
        row("1.5E-07", 1.5e-7, u"1.5E-07");
        row("negative small", -1.5e-7, u"-1.5E-07");
        row("1E-100", 1e-100, u"1E-100");
        row("smallest", std::numeric_limits<double>::denorm_min(), u"4.94065645841247E-324");
    }

    void doubleToText()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(kamorin::doubleToText(value), text);
    }

    void singleToText_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("fraction digits") << 3.4375f * 100 << QStringLiteral("343.75");
        QTest::newRow("whole") << 12.5f * 100 << QStringLiteral("1250");
        QTest::newRow("trailing zeros") << 2.0f * 100 << QStringLiteral("200");
        QTest::newRow("third") << 1.0f / 3 << QStringLiteral("0.3333333");
        QTest::newRow("tenth") << 0.1f << QStringLiteral("0.1");
        QTest::newRow("negative") << -86390.2f << QStringLiteral("-86390.2");
        QTest::newRow("7 digits") << 9999999.0f << QStringLiteral("9999999");
        QTest::newRow("1E+07") << 1e7f << QStringLiteral("1E+07");
        QTest::newRow("2^24") << 16777216.0f << QStringLiteral("1.677722E+07");
        QTest::newRow("largest") << std::numeric_limits<float>::max()
                                 << QStringLiteral("3.402823E+38");
        QTest::newRow("0.00001") << 1e-5f << QStringLiteral("0.00001");
        QTest::newRow("1E-06") << 1e-6f << QStringLiteral("1E-06");
        QTest::newRow("negative zero") << -0.0f << QStringLiteral("0");
    }

    void singleToText()
    {
        QFETCH(float, value);
        QFETCH(QString, text);
        QCOMPARE(kamorin::singleToText(value), text);
    }

    void integerToText_data()
    {
        QTest::addColumn<qint32>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0 << QStringLiteral("0");
        QTest::newRow("-32768") << -32768 << QStringLiteral("-32768");
        QTest::newRow("max") << 2147483647 << QStringLiteral("2147483647");
        QTest::newRow("min") << -2147483647 - 1 << QStringLiteral("-2147483648");
    }

    void integerToText()
    {
        QFETCH(qint32, value);
        QFETCH(QString, text);
        QCOMPARE(kamorin::integerToText(value), text);
    }

    void textOfEachTag()
    {
        const QString padded = QStringLiteral(" 1 ");
        QCOMPARE(textOf(Variant()), QString());
        QCOMPARE(textOf(Variant::integer(-32768)), QStringLiteral("-32768"));
        QCOMPARE(textOf(Variant::longInteger(100000000)), QStringLiteral("100000000"));
        QCOMPARE(textOf(Variant::single(3.4375f * 100)), QStringLiteral("343.75"));
        QCOMPARE(textOf(Variant::single(0.1f)), QStringLiteral("0.1"));
        QCOMPARE(textOf(Variant::real(0.1)), QStringLiteral("0.1"));
        QCOMPARE(textOf(Variant::text(padded)), padded);
    }

    // A number shown and then read back shows the same text again.
    void textReadsBackToTheSameText()
    {
        int checked = 0;
        for (const double x : sampleDoubles()) {
            for (const double v : { x, -x }) {
                const QString shown = kamorin::doubleToText(v);
                QString again;
                try {
                    again = kamorin::doubleToText(kamorin::textToNumber(shown));
                } catch (const RuntimeError &e) {
                    again = e.report();
                }
                if (again != shown)
                    QFAIL(qPrintable(QStringLiteral("%1: %2 -> %3").arg(exact(v), shown, again)));
                ++checked;
            }
        }
        QCOMPARE(checked, 1400);
    }
};

QTEST_APPLESS_MAIN(TestNumberText)
#include "tst_numbertext.moc"
