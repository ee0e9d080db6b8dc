#include "runtime/Conversion.h"
#include "runtime/Format.h"
#include "runtime/RuntimeError.h"
#include "runtime/Variant.h"
#include "support/Operands.h"

#include <QtTest>

#include <bit>
#include <cstdint>
#include <limits>
#include <stdexcept>

using namespace kamorin;
using namespace kamorin::test;

namespace {

constexpr int kInvalidArgument = 5;
constexpr int kOverflow = 6;
constexpr int kTypeMismatch = 13;

// One value of a table row; a text keeps its text here, so the Variant made from it
// refers to the fetched row.

} // namespace

class TestConversion : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void toLong_data()
    {
        QTest::addColumn<Operand>("value");
        QTest::addColumn<qint32>("expected");
        QTest::addColumn<int>("error");
        QTest::newRow("0.5 to even") << f64(0.5) << 0 << 0;
        QTest::newRow("1.5 to even") << f64(1.5) << 2 << 0;
        QTest::newRow("2.5 to even") << f64(2.5) << 2 << 0;
        QTest::newRow("-0.5 to even") << f64(-0.5) << 0 << 0;
        QTest::newRow("-1.5 to even") << f64(-1.5) << -2 << 0;
        QTest::newRow("2.6 nearest") << f64(2.6) << 3 << 0;
        QTest::newRow("single half") << f32(2.5f) << 2 << 0;
        QTest::newRow("integer") << i16(-32768) << -32768 << 0;
        QTest::newRow("long") << i32(-2147483647 - 1) << -2147483647 - 1 << 0;
        QTest::newRow("below max") << f64(2147483647.4) << 2147483647 << 0;
        QTest::newRow("half past max") << f64(2147483647.5) << 0 << kOverflow;
        QTest::newRow("half below min") << f64(-2147483648.5) << -2147483647 - 1 << 0;
        QTest::newRow("past min") << f64(-2147483648.6) << 0 << kOverflow;
        QTest::newRow("min - 1") << f64(-2147483649.0) << 0 << kOverflow;
        QTest::newRow("far out") << f64(1e300) << 0 << kOverflow;
        QTest::newRow("text half") << txt(u"2.5") << 2 << 0;
        QTest::newRow("padded text") << txt(u"  -3.5 ") << -4 << 0;
        QTest::newRow("text .5") << txt(u".5") << 0 << 0;
        QTest::newRow("text .6") << txt(u".6") << 1 << 0;
        QTest::newRow("text 75") << txt(u"75") << 75 << 0;
        QTest::newRow("text no number") << txt(u"abc") << 0 << kTypeMismatch;
        QTest::newRow("text beyond double") << txt(u"1e400") << 0 << kOverflow;
        QTest::newRow("empty") << none() << 0 << 0;
    }

    void toLong()
    {
        QFETCH(Operand, value);
        QFETCH(qint32, expected);
        QFETCH(int, error);
        std::int32_t result = 0;
        QCOMPARE(errorOf([&] { result = kamorin::toLong(value.variant()); }), error);
        if (error == 0)
            QCOMPARE(result, expected);
    }

    void toSingle_data()
    {
        QTest::addColumn<Operand>("value");
        QTest::addColumn<float>("expected");
        QTest::addColumn<int>("error");
        QTest::newRow("nearest single") << f64(0.1) << 0.1f << 0;
        QTest::newRow("long rounds") << i32(16777217) << 16777216.0f << 0;
        QTest::newRow("largest") << f64(double(std::numeric_limits<float>::max()))
                                 << std::numeric_limits<float>::max() << 0;
        QTest::newRow("text") << txt(u"2.5") << 2.5f << 0;
        QTest::newRow("empty") << none() << 0.0f << 0;
        QTest::newRow("beyond range") << f64(1e39) << 0.0f << kOverflow;
        QTest::newRow("beyond range negative") << f64(-1e39) << 0.0f << kOverflow;
        QTest::newRow("text no number") << txt(u"x") << 0.0f << kTypeMismatch;
    }

    void toSingle()
    {
        QFETCH(Operand, value);
        QFETCH(float, expected);
        QFETCH(int, error);
        float result = 0;
        QCOMPARE(errorOf([&] { result = kamorin::toSingle(value.variant()); }), error);
        if (error == 0)
            QCOMPARE(std::bit_cast<std::uint32_t>(result), std::bit_cast<std::uint32_t>(expected));
    }

    void convertTo_data()
    {
        QTest::addColumn<Operand>("value");
        QTest::addColumn<VarType>("type");
        QTest::addColumn<Operand>("expected");
        QTest::addColumn<int>("error");
        QTest::newRow("double to integer") << f64(32767.4) << VarType::Integer << i16(32767) << 0;
        QTest::newRow("integer half to even")
                << f64(-32768.5) << VarType::Integer << i16(-32768) << 0;
        QTest::newRow("rounds past integer")
                << f64(32767.5) << VarType::Integer << none() << kOverflow;
        QTest::newRow("long to integer") << i32(40000) << VarType::Integer << none() << kOverflow;
        QTest::newRow("text to integer") << txt(u"12") << VarType::Integer << i16(12) << 0;
        QTest::newRow("empty to integer") << none() << VarType::Integer << i16(0) << 0;
        QTest::newRow("single to long") << f32(1.5f) << VarType::Long << i32(2) << 0;
        QTest::newRow("integer to single") << i16(3) << VarType::Single << f32(3) << 0;
        QTest::newRow("double to single") << f64(1e39) << VarType::Single << none() << kOverflow;
        QTest::newRow("integer to double") << i16(5) << VarType::Double << f64(5) << 0;
        QTest::newRow("text to double") << txt(u"10.2") << VarType::Double << f64(10.2) << 0;
        QTest::newRow("bad text to double")
                << txt(u"abc") << VarType::Double << none() << kTypeMismatch;
    }

    void convertTo()
    {
        QFETCH(Operand, value);
        QFETCH(VarType, type);
        QFETCH(Operand, expected);
        QFETCH(int, error);
        Variant result;
        QCOMPARE(errorOf([&] { result = kamorin::convertTo(value.variant(), type); }), error);
        if (error == 0)
            QVERIFY(result.sameAs(expected.variant()));
    }

    void rightPart_data()
    {
        QTest::addColumn<Operand>("value");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("error");
        QTest::newRow("hundredths") << f32(3.4375f * 100) << 2 << QStringLiteral("75") << 0;
        QTest::newRow("whole single") << f32(12.5f * 100) << 2 << QStringLiteral("50") << 0;
        QTest::newRow("trailing zeros") << f32(2.0f * 100) << 2 << QStringLiteral("00") << 0;
        QTest::newRow("point included") << f32(34.5f) << 2 << QStringLiteral(".5") << 0;
        QTest::newRow("shorter text") << f64(3.14) << 10 << QStringLiteral("3.14") << 0;
        QTest::newRow("sign kept") << i16(-5) << 2 << QStringLiteral("-5") << 0;
        QTest::newRow("zero count") << i32(123) << 0 << QString() << 0;
        QTest::newRow("empty value") << none() << 2 << QString() << 0;
        QTest::newRow("text") << txt(u"億回") << 1 << QStringLiteral("回") << 0;
        QTest::newRow("exponent form") << f64(1e20) << 3 << QStringLiteral("+20") << 0;
        QTest::newRow("negative count") << i16(5) << -1 << QString() << kInvalidArgument;
    }

    void rightPart()
    {
        QFETCH(Operand, value);
        QFETCH(int, count);
        QFETCH(QString, expected);
        QFETCH(int, error);
        QString result;
        QCOMPARE(errorOf([&] { result = kamorin::rightPart(value.variant(), count); }), error);
        if (error == 0)
            QCOMPARE(result, expected);
    }

    void format_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, const char16_t *pattern, double value,
                            const char16_t *expected) {
            QTest::newRow(name) << QString::fromUtf16(pattern) << value
                                << QString::fromUtf16(expected);
        };
        row("00 zero", u"00", 0, u"00");
        row("00 padded", u"00", 7, u"07");
        row("00 two digits", u"00", 50, u"50");
        row("00 more digits", u"00", 123, u"123");
        row("00 negative", u"00", -5, u"-05");
        row("00 half up", u"00", 0.5, u"01");
        row("00 half away, not to even", u"00", 2.5, u"03");
        row("00 negative half", u"00", -0.5, u"-01");
        row("00 below half", u"00", 0.4, u"00");
        row("00 carry", u"00", 99.5, u"100");
        row("2dp whole", u"##0.00", 206, u"206.00");
        row("2dp padded", u"##0.00", 30.5, u"30.50");
        row("2dp zero", u"##0.00", 0, u"0.00");
        row("2dp exact half", u"##0.00", 0.125, u"0.13");
        row("2dp exact half 3/8", u"##0.00", 0.375, u"0.38");
        row("2dp negative half", u"##0.00", -0.125, u"-0.13");
        row("2dp binary below half", u"##0.00", 2.675, u"2.67");
        row("2dp 1.005 below half", u"##0.00", 1.005, u"1.00");
        row("2dp binary above half", u"##0.00", 999.995, u"1000.00");
        row("2dp beyond ##0", u"##0.00", 1234.5, u"1234.50");
        row("2dp tiny", u"##0.00", 0.001, u"0.00");
        row("2dp carry", u"##0.00", 9.999, u"10.00");
        row("3dp", u"##0.000", 6.754098360655738, u"6.754");
        row("3dp trailing zero", u"##0.000", 0.3304918032786885, u"0.330");
        row("3dp half above", u"##0.000", 0.0005, u"0.001");
        row("3dp whole", u"##0.000", 1, u"1.000");
        // The longest whole part and the longest fraction a double has.
        row("2dp largest double", u"##0.00", std::numeric_limits<double>::max(),
            u"1797693134862315708145274237317043567980705675258449965989174768031572607800285387605"
            u"8955863276687817154045895351438246423432132688946418276846754670353751698604991057655"
            u"1282076245490090389328944075868508455133942304583236903222948165808559332123348274797"
            u"826204144723168738177180919299881250404026184124858368.00");
        row("3dp smallest subnormal", u"##0.000", std::numeric_limits<double>::denorm_min(),
            u"0.000");
    }

    void format()
    {
        QFETCH(QString, pattern);
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(FormatPattern::parse(pattern).apply(value), expected);
    }

    void formatRefusesWhatIsNotFinite()
    {
        const FormatPattern pattern = FormatPattern::parse(u"##0.00");
        for (const double value :
             { std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN() })
            QCOMPARE(errorOf([&] { pattern.apply(value); }), kOverflow);
    }

    void formatRejectsPattern_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::newRow("grouping") << QStringLiteral("#,##0");
        QTest::newRow("percent") << QStringLiteral("0%");
        QTest::newRow("two points") << QStringLiteral("0.0.0");
        QTest::newRow("blank") << QStringLiteral("0 0");
        QTest::newRow("exponent") << QStringLiteral("0E+00");
        QTest::newRow("words") << QStringLiteral("Fixed");
        QTest::newRow("more decimals than any double")
                << QStringLiteral("0.") + QString(1075, u'0');
    }

    void formatRejectsPattern()
    {
        QFETCH(QString, pattern);
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, FormatPattern::parse(pattern));
    }
};

QTEST_APPLESS_MAIN(TestConversion)
#include "tst_conversion.moc"
