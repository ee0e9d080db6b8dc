#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

namespace {

struct Result
{
    int status;
    QString out;
    QString err;
};

Result runCli(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(KAMORIN_CLI), arguments);
    process.waitForFinished(120000);
    return { process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
             QString::fromUtf8(process.readAllStandardError()) };
}

} // namespace

class TestKamorinCli : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void jsonResults_data();
    void jsonResults();
    void defaultRunInJapanese();
    void runtimeErrors_data();
    void runtimeErrors();
    void badOptions_data();
    void badOptions();
    void helpAndVersion();
};

void TestKamorinCli::jsonResults_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("loops");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("digits");

    QTest::newRow("100 回") << QStringList { QStringLiteral("--count=100"),
                                             QStringLiteral("--unit=回") }
                            << "100"
                            << "3.13159290355855"
                            << "1";
    QTest::newRow("10 千回") << QStringList { QStringLiteral("--count"), QStringLiteral("10"),
                                              QStringLiteral("--unit"), QStringLiteral("千回") }
                             << "10000"
                             << "3.14149265359003"
                             << "3";
    QTest::newRow("unknown unit") << QStringList { QStringLiteral("--count=7"),
                                                   QStringLiteral("--unit=x") }
                                  << "7"
                                  << "3.28373848373848"
                                  << "";
    QTest::newRow("negative") << QStringList { QStringLiteral("--count"), QStringLiteral("-5"),
                                               QStringLiteral("--unit=回") }
                              << "-5"
                              << "0"
                              << "";
}

void TestKamorinCli::jsonResults()
{
    QFETCH(QStringList, arguments);
    const Result r = runCli(arguments << QStringLiteral("--json"));
    QCOMPARE(r.status, 0);
    QVERIFY(r.err.isEmpty());

    QJsonParseError error {};
    const QJsonObject json = QJsonDocument::fromJson(r.out.toUtf8(), &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QTEST(json.value(QStringLiteral("loops")).toString(), "loops");
    QTEST(json.value(QStringLiteral("value")).toString(), "value");
    QTEST(json.value(QStringLiteral("digits")).toString(), "digits");
    QCOMPARE(json.value(QStringLiteral("hours")).toString(), QStringLiteral("0"));
    QCOMPARE(json.value(QStringLiteral("minutes")).toString(), QStringLiteral("0"));
    QCOMPARE(json.value(QStringLiteral("seconds")).toString(), QStringLiteral("0"));
    QCOMPARE(json.value(QStringLiteral("hundredths")).toString().size(), 2);
    QCOMPARE(json.value(QStringLiteral("score_enabled")), QJsonValue(false));
}

void TestKamorinCli::defaultRunInJapanese()
{
    const Result r = runCli({});
    QCOMPARE(r.status, 0);
    QVERIFY2(r.out.contains(QStringLiteral("3.14159260358982")), qPrintable(r.out));
    QVERIFY(r.out.contains(QStringLiteral("小数点以下 7 桁まで一致しました。")));
    QVERIFY(r.out.contains(QStringLiteral("20000000")));
}

void TestKamorinCli::runtimeErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");

    const QString mismatch = QStringLiteral("kamorin-cli: 実行時エラー '13': 型が一致しません。\n");
    QTest::newRow("empty count") << QStringList { QStringLiteral("--count=") } << mismatch;
    QTest::newRow("letters") << QStringList { QStringLiteral("--count=abc") } << mismatch;
    QTest::newRow("thousands separator")
            << QStringList { QStringLiteral("--count=1,000") } << mismatch;
    QTest::newRow("nan") << QStringList { QStringLiteral("--count=nan") } << mismatch;
    QTest::newRow("overflow") << QStringList {
        QStringLiteral("--count=1e400")
    } << QStringLiteral("kamorin-cli: 実行時エラー '6': オーバーフローしました。\n");
}

void TestKamorinCli::runtimeErrors()
{
    QFETCH(QStringList, arguments);
    const Result r = runCli(arguments << QStringLiteral("--json"));
    QCOMPARE(r.status, 2);
    QTEST(r.err, "message");
    QVERIFY(r.out.isEmpty());
}

void TestKamorinCli::badOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("unknown") << QStringList { QStringLiteral("--fast") };
    QTest::newRow("missing value") << QStringList { QStringLiteral("--unit") };
}

void TestKamorinCli::badOptions()
{
    QFETCH(QStringList, arguments);
    const Result r = runCli(arguments);
    QCOMPARE(r.status, 64);
    QVERIFY(r.err.contains(QStringLiteral("使い方: kamorin-cli")));
    QVERIFY(r.out.isEmpty());
}

void TestKamorinCli::helpAndVersion()
{
    const Result help = runCli({ QStringLiteral("--help") });
    QCOMPARE(help.status, 0);
    QVERIFY(help.out.startsWith(QStringLiteral("使い方: kamorin-cli")));

    const Result version = runCli({ QStringLiteral("--version") });
    QCOMPARE(version.status, 0);
    QCOMPARE(version.out, QStringLiteral("kamorin-cli 1.2.7\n"));
}

QTEST_GUILESS_MAIN(TestKamorinCli)
#include "tst_kamorincli.moc"
