#include "runtime/Arithmetic.h"
#include "runtime/EventDispatch.h"
#include "runtime/Platform.h"
#include "runtime/RuntimeError.h"
#include "runtime/Variant.h"
#include "support/Operands.h"

#include <QtTest>

#include <bit>
#include <cstdint>
#include <limits>
#include <vector>

using namespace kamorin;
using namespace kamorin::test;

namespace {

// Tag and exact value, so a failing comparison shows both.
QString describe(Variant v)
{
    static const char *const names[] = { "Empty", "Integer", "Long", "Single", "Double", "String" };
    QString value;
    switch (v.type()) {
    case VarType::Empty:
        break;
    case VarType::Integer:
        value = QString::number(v.integerValue());
        break;
    case VarType::Long:
        value = QString::number(v.longValue());
        break;
    case VarType::Single:
        value = QString::number(v.singleValue(), 'g', 9);
        break;
    case VarType::Double:
        value = QString::number(v.doubleValue(), 'g', 17);
        break;
    case VarType::String:
        value = v.textValue();
        break;
    }
    return QString::fromLatin1(names[static_cast<int>(v.type())]) + u' ' + value;
}

// Whether the number a Variant carries for computing in double is the value its
// tag holds: a result made with one and not the other would compute wrongly in
// the next operation.
bool numberAgrees(Variant v)
{
    switch (v.type()) {
    case VarType::Empty:
        return std::bit_cast<std::uint64_t>(v.doubleValue()) == 0;
    case VarType::Integer:
        return v.doubleValue() == v.integerValue();
    case VarType::Long:
        return v.doubleValue() == v.longValue();
    case VarType::Single:
        return v.doubleValue() == v.singleValue();
    case VarType::Double:
    case VarType::String:
        return true;
    }
    return false;
}

Variant calculate(Variant a, char op, Variant b)
{
    switch (op) {
    case '+':
        return a + b;
    case '-':
        return a - b;
    case '*':
        return a * b;
    case '/':
        return a / b;
    default:
        return power(a, b);
    }
}

class RecordingPlatform : public Platform
{
public:
    double clockSeconds() override { return 0; }
    void clearClipboard() override { }
    void setClipboardText(const QString &) override { }
    void showForm(Form &) override { }
    void unloadForm(Form &) override { }
    void showError(const RuntimeError &error) override { reported.push_back(error.number()); }

    std::vector<ErrorNumber> reported;
};

constexpr int kOverflow = 6;
constexpr int kDivisionByZero = 11;
constexpr int kInvalidArgument = 5;
constexpr int kTypeMismatch = 13;

} // namespace

class TestArithmetic : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void operations_data()
    {
        QTest::addColumn<Operand>("a");
        QTest::addColumn<char>("op");
        QTest::addColumn<Operand>("b");
        QTest::addColumn<Operand>("expected");
        QTest::addColumn<int>("error");
        const auto row = [](const char *name, Operand a, char op, Operand b, Operand expected) {
            QTest::newRow(name) << a << op << b << expected << 0;
        };
        const auto fails = [](const char *name, Operand a, char op, Operand b, int error) {
            QTest::newRow(name) << a << op << b << none() << error;
        };
        row("int+int stays int", i16(1), '+', i16(2), i16(3));
        row("int+int widens to long", i16(32767), '+', i16(1), i32(32768));
        row("int-int widens to long", i16(-32768), '-', i16(1), i32(-32769));
        row("int*int widens to long", i16(200), '*', i16(200), i32(40000));
        row("-32768*-1 widens", i16(-32768), '*', i16(-1), i32(32768));
        row("curtain product stays int", i16(4110), '*', i16(4), i16(16440));
        row("long result never narrows", i32(40000), '-', i32(39999), i32(1));
        row("long+int widens to double", i32(2147483647), '+', i16(1), f64(2147483648.0));
        row("long-int widens to double", i32(-2147483647 - 1), '-', i16(1), f64(-2147483649.0));
        row("long*long widens to double", i32(65536), '*', i32(65536), f64(4294967296.0));
        row("empty+empty", none(), '+', none(), i16(0));
        row("empty+int", none(), '+', i16(5), i16(5));
        row("empty-long", none(), '-', i32(5), i32(-5));
        row("empty*double", none(), '*', f64(2.5), f64(0));
        row("single+single", f32(1.5f), '+', f32(2.25f), f32(3.75f));
        row("single*int", f32(1.5f), '*', i16(2), f32(3));
        row("single+int rounds as single", f32(16777216.0f), '+', i16(1), f32(16777216.0f));
        row("single+long is double", f32(0.1f), '+', i32(1), f64(double(0.1f) + 1));
        row("single+double is double", f32(0.5f), '+', f64(0.25), f64(0.75));
        row("long*single is double", i32(3), '*', f32(0.1f), f64(3 * double(0.1f)));
        row("empty-double", none(), '-', f64(0.25), f64(-0.25));
        row("long-double", i32(-2147483647 - 1), '-', f64(0.5), f64(-2147483648.5));
        row("double+double", f64(0.1), '+', f64(0.2), f64(0.1 + 0.2));
        row("double+int", f64(1.5), '+', i16(2), f64(3.5));
        row("int-double", i16(1), '-', f64(0.25), f64(0.75));
        row("texts add as numbers", txt(u"3"), '+', txt(u"4"), f64(7));
        row("text*int", txt(u" 2.5 "), '*', i16(2), f64(5));
        row("long-text", i32(7), '-', txt(u"10"), f64(-3));
        row("count text*long factor", txt(u"2000"), '*', i32(100000000), f64(200000000000.0));
        row("count text*int factor", txt(u"1.5"), '*', i16(100), f64(150));
        fails("text no number", i16(1), '+', txt(u"abc"), kTypeMismatch);
        fails("empty text", txt(u""), '*', i16(1), kTypeMismatch);
        fails("text beyond double", txt(u"1e400"), '*', i16(1), kOverflow);
        fails("double overflow", f64(1e308), '*', i16(10), kOverflow);
        fails("double overflow negative", f64(-1e308), '-', f64(1e308), kOverflow);
        fails("single overflow *", f32(3e38f), '*', i16(10), kOverflow);
        fails("single overflow +", f32(3e38f), '+', f32(3e38f), kOverflow);

        row("int/int is single", i16(16440), '/', i16(5), f32(3288));
        row("int/int third rounds as single", i16(1), '/', i16(3), f32(1.0f / 3));
        row("int/long is double", i16(1), '/', i32(3), f64(1.0 / 3));
        row("long/long", i32(10), '/', i32(4), f64(2.5));
        row("single/single", f32(1), '/', f32(3), f32(1.0f / 3));
        row("single/int", f32(1), '/', i16(4), f32(0.25f));
        row("int/single", i16(1), '/', f32(4), f32(0.25f));
        row("single/long is double", f32(1), '/', i32(3), f64(1.0 / 3));
        row("single/double is double", f32(1), '/', f64(3), f64(1.0 / 3));
        row("empty/double", none(), '/', f64(4), f64(0));
        row("long/single is double", i32(1), '/', f32(0.1f), f64(1 / double(0.1f)));
        row("empty/int", none(), '/', i16(5), f32(0));
        row("empty/single", none(), '/', f32(2), f32(0));
        row("text/text", txt(u"7"), '/', txt(u"2"), f64(3.5));
        fails("int/0", i16(1), '/', i16(0), kDivisionByZero);
        fails("long/0", i32(1), '/', i32(0), kDivisionByZero);
        fails("single/0", f32(1), '/', f32(0), kDivisionByZero);
        fails("double/0", f64(1), '/', f64(0), kDivisionByZero);
        fails("double/-0", f64(1), '/', f64(-0.0), kDivisionByZero);
        fails("0/0", i16(0), '/', i16(0), kDivisionByZero);
        fails("int/empty", i16(1), '/', none(), kDivisionByZero);
        fails("empty/empty", none(), '/', none(), kDivisionByZero);
        fails("int/text 0", i16(1), '/', txt(u"0"), kDivisionByZero);
        fails("double quotient overflow", f64(1e308), '/', f64(1e-10), kOverflow);
        fails("single quotient overflow", f32(1e30f), '/', f32(1e-30f), kOverflow);

        row("int^int is double", i16(2), '^', i16(10), f64(1024));
        row("-1^odd", i16(-1), '^', i16(3), f64(-1));
        row("-1^even long", i16(-1), '^', i32(4), f64(1));
        row("-1^double", i16(-1), '^', f64(7), f64(-1));
        row("10^14 exact", i16(10), '^', i16(14), f64(1e14));
        row("single^single is double", f32(4), '^', f32(0.5f), f64(2));
        row("long^single", i32(65536), '^', f32(0.5f), f64(256));
        row("empty^int", none(), '^', i16(0), f64(1));
        row("0^0", i16(0), '^', i16(0), f64(1));
        row("negative exponent", i16(4), '^', f64(-0.5), f64(0.5));
        row("text base", txt(u"2"), '^', i16(3), f64(8));
        fails("0^-1", i16(0), '^', i16(-1), kInvalidArgument);
        fails("empty^-1", none(), '^', i16(-1), kInvalidArgument);
        fails("negative^fraction", i16(-8), '^', f64(0.5), kInvalidArgument);
        fails("power overflow", i16(10), '^', i16(400), kOverflow);
    }

    void operations()
    {
        QFETCH(Operand, a);
        QFETCH(char, op);
        QFETCH(Operand, b);
        QFETCH(Operand, expected);
        QFETCH(int, error);
        Variant result;
        QCOMPARE(errorOf([&] { result = calculate(a.variant(), op, b.variant()); }), error);
        if (error == 0) {
            QCOMPARE(describe(result), describe(expected.variant()));
            QVERIFY(numberAgrees(result));
        }
    }

    void comparisons_data()
    {
        QTest::addColumn<Operand>("a");
        QTest::addColumn<Operand>("b");
        QTest::addColumn<int>("order"); // sign of a - b
        QTest::addColumn<int>("error");
        QTest::newRow("int = double") << i16(1) << f64(1) << 0 << 0;
        QTest::newRow("double < int") << f64(0.5) << i16(1) << -1 << 0;
        QTest::newRow("double > double") << f64(2) << f64(1.5) << 1 << 0;
        QTest::newRow("int < long") << i16(1) << i32(2) << -1 << 0;
        QTest::newRow("long < double past 2^31") << i32(2147483647) << f64(2147483648.0) << -1 << 0;
        QTest::newRow("single 0.1 > double 0.1") << f32(0.1f) << f64(0.1) << 1 << 0;
        QTest::newRow("single 0.5 < long 1") << f32(0.5f) << i32(1) << -1 << 0;
        QTest::newRow("empty < single") << none() << f32(1e-45f) << -1 << 0;
        QTest::newRow("int < long, both negative") << i16(-32768) << i32(-32767) << -1 << 0;
        QTest::newRow("empty = 0") << none() << i16(0) << 0 << 0;
        QTest::newRow("empty > -0.5") << none() << f64(-0.5) << 1 << 0;
        QTest::newRow("-0 = 0") << f64(-0.0) << i16(0) << 0 << 0;
        QTest::newRow("text vs number is numeric") << txt(u"10") << i16(9) << 1 << 0;
        QTest::newRow("padded text = double") << txt(u" 1 ") << f64(1) << 0 << 0;
        QTest::newRow("texts are not numbers") << txt(u"10") << txt(u"9") << -1 << 0;
        QTest::newRow("1.0 vs 1 as texts") << txt(u"1.0") << txt(u"1") << 1 << 0;
        QTest::newRow("case matters") << txt(u"A") << txt(u"a") << -1 << 0;
        QTest::newRow("same unit text") << txt(u"億回") << txt(u"億回") << 0 << 0;
        QTest::newRow("different unit text") << txt(u"万回") << txt(u"億回") << -1 << 0;
        QTest::newRow("text no number") << txt(u"abc") << i16(1) << 0 << kTypeMismatch;
    }

    void comparisons()
    {
        QFETCH(Operand, a);
        QFETCH(Operand, b);
        QFETCH(int, order);
        QFETCH(int, error);
        const Variant x = a.variant();
        const Variant y = b.variant();
        QCOMPARE(errorOf([&] { equalTo(x, y); }), error);
        if (error != 0)
            return;
        QCOMPARE(equalTo(x, y), order == 0);
        QCOMPARE(lessThan(x, y), order < 0);
        QCOMPARE(greaterThan(x, y), order > 0);
        QCOMPARE(equalTo(y, x), order == 0);
        QCOMPARE(lessThan(y, x), order > 0);
        QCOMPARE(greaterThan(y, x), order < 0);
    }

    void wholePart_data()
    {
        QTest::addColumn<Operand>("value");
        QTest::addColumn<Operand>("expected");
        QTest::newRow("single") << f32(2.7f) << f32(2);
        QTest::newRow("negative single") << f32(-86390.2f) << f32(-86391);
        QTest::newRow("double below zero") << f64(-0.5) << f64(-1);
        QTest::newRow("whole double") << f64(3288) << f64(3288);
        QTest::newRow("large double") << f64(314159265358979.3) << f64(314159265358979);
        QTest::newRow("integer") << i16(-7) << i16(-7);
        QTest::newRow("long") << i32(40000) << i32(40000);
        QTest::newRow("empty") << none() << i16(0);
        QTest::newRow("text") << txt(u"3.7") << f64(3);
        QTest::newRow("negative text") << txt(u"-3.2") << f64(-4);
    }

    void wholePart()
    {
        QFETCH(Operand, value);
        QFETCH(Operand, expected);
        QCOMPARE(describe(kamorin::wholePart(value.variant())), describe(expected.variant()));
    }

    void checkedIntegers_data()
    {
        QTest::addColumn<char>("op");
        QTest::addColumn<qint32>("a");
        QTest::addColumn<qint32>("b");
        QTest::addColumn<qint32>("expected");
        QTest::addColumn<bool>("overflow");
        const qint32 min = std::numeric_limits<qint32>::min();
        const qint32 max = std::numeric_limits<qint32>::max();
        QTest::newRow("max+0") << '+' << max << 0 << max << false;
        QTest::newRow("max+1") << '+' << max << 1 << 0 << true;
        QTest::newRow("min+-1") << '+' << min << -1 << 0 << true;
        QTest::newRow("min+max") << '+' << min << max << -1 << false;
        QTest::newRow("hours") << '*' << -24 << 3600 << -86400 << false;
        QTest::newRow("46340^2") << '*' << 46340 << 46340 << 2147395600 << false;
        QTest::newRow("46341^2") << '*' << 46341 << 46341 << 0 << true;
        QTest::newRow("reaches min") << '*' << 65536 << -32768 << min << false;
        QTest::newRow("min*-1") << '*' << min << -1 << 0 << true;
    }

    void checkedIntegers()
    {
        QFETCH(char, op);
        QFETCH(qint32, a);
        QFETCH(qint32, b);
        QFETCH(qint32, expected);
        QFETCH(bool, overflow);
        std::int32_t result = 0;
        const int error
                = errorOf([&] { result = op == '+' ? checkedAdd(a, b) : checkedMultiply(a, b); });
        QCOMPARE(error, overflow ? kOverflow : 0);
        if (!overflow)
            QCOMPARE(result, expected);
    }

    void errorMessages_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("message");
        QTest::newRow("5") << 5 << QStringLiteral("プロシージャの呼び出し、または引数が不正です。");
        QTest::newRow("6") << 6 << QStringLiteral("オーバーフローしました。");
        QTest::newRow("11") << 11 << QStringLiteral("0 で除算しました。");
        QTest::newRow("13") << 13 << QStringLiteral("型が一致しません。");
        QTest::newRow("380") << 380 << QStringLiteral("プロパティの値が不正です。");
    }

    void errorMessages()
    {
        QFETCH(int, number);
        QFETCH(QString, message);
        const RuntimeError error(static_cast<ErrorNumber>(number));
        QCOMPARE(error.message(), message);
        const QString report = QStringLiteral("実行時エラー '%1': %2").arg(number).arg(message);
        QCOMPARE(error.report(), report);
        QCOMPARE(QByteArray(error.what()), report.toUtf8());
    }

    void reportOfTypeMismatch()
    {
        QCOMPARE(RuntimeError(ErrorNumber::TypeMismatch).report(),
                 QStringLiteral("実行時エラー '13': 型が一致しません。"));
    }

    void dispatch_data()
    {
        QTest::addColumn<int>("raised");
        QTest::addColumn<bool>("ranToEnd");
        QTest::newRow("handler ends") << 0 << true;
        QTest::newRow("type mismatch") << kTypeMismatch << false;
        QTest::newRow("overflow") << kOverflow << false;
    }

    void dispatch()
    {
        QFETCH(int, raised);
        QFETCH(bool, ranToEnd);
        RecordingPlatform platform;
        bool reachedEnd = false;
        const bool result = kamorin::dispatch(platform, [&] {
            if (raised != 0)
                throw RuntimeError(static_cast<ErrorNumber>(raised));
            reachedEnd = true;
        });
        QCOMPARE(result, ranToEnd);
        QCOMPARE(reachedEnd, ranToEnd);
        if (ranToEnd)
            QVERIFY(platform.reported.empty());
        else
            QCOMPARE(platform.reported, std::vector { static_cast<ErrorNumber>(raised) });
    }

    void payloadsRoundTrip()
    {
        for (const std::int16_t v : { 0, 1, -1, 32767, -32768 }) {
            QCOMPARE(Variant::integer(v).integerValue(), v);
            QVERIFY(numberAgrees(Variant::integer(v)));
        }
        for (const std::int32_t v : { 0, -1, 2147483647, -2147483647 - 1 }) {
            QCOMPARE(Variant::longInteger(v).longValue(), v);
            QVERIFY(numberAgrees(Variant::longInteger(v)));
        }
        for (const float v : { 0.0f, -0.0f, 3.4375f, -1e-45f, std::numeric_limits<float>::max(),
                               std::numeric_limits<float>::signaling_NaN() }) {
            QCOMPARE(std::bit_cast<std::uint32_t>(Variant::single(v).singleValue()),
                     std::bit_cast<std::uint32_t>(v));
        }
        QVERIFY(numberAgrees(Variant::single(-1e-45f)));
        for (const double v : { 0.0, -0.0, 0.1, -2.5, std::numeric_limits<double>::denorm_min(),
                                std::numeric_limits<double>::max() })
            QCOMPARE(std::bit_cast<std::uint64_t>(Variant::real(v).doubleValue()),
                     std::bit_cast<std::uint64_t>(v));
        const QString t = QStringLiteral("2000");
        QCOMPARE(&Variant::text(t).textValue(), &t);
        QVERIFY(Variant().isEmpty());
        QVERIFY(numberAgrees(Variant()));
        QCOMPARE(Variant().toDouble(), 0.0);
    }

    void sameAs_data()
    {
        QTest::addColumn<Operand>("a");
        QTest::addColumn<Operand>("b");
        QTest::addColumn<bool>("same");
        QTest::newRow("equal integers") << i16(-1) << i16(-1) << true;
        QTest::newRow("integer vs long") << i16(1) << i32(1) << false;
        QTest::newRow("single vs double") << f32(1) << f64(1) << false;
        QTest::newRow("0 vs -0") << f64(0) << f64(-0.0) << false;
        QTest::newRow("single 0 vs -0") << f32(0) << f32(-0.0f) << false;
        QTest::newRow("empty vs integer 0") << none() << i16(0) << false;
        QTest::newRow("empty vs empty") << none() << none() << true;
        QTest::newRow("equal texts") << txt(u"億回") << txt(u"億回") << true;
        QTest::newRow("different texts") << txt(u"1") << txt(u"1.0") << false;
    }

    void sameAs()
    {
        QFETCH(Operand, a);
        QFETCH(Operand, b);
        QFETCH(bool, same);
        QCOMPARE(a.variant().sameAs(b.variant()), same);
        QCOMPARE(b.variant().sameAs(a.variant()), same);
    }
};

QTEST_APPLESS_MAIN(TestArithmetic)
#include "tst_arithmetic.moc"
