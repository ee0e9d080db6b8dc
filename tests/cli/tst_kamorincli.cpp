#include "formats/TerminalText.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <QThread>

#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/resource.h>

namespace {

struct Result
{
    int status;
    QString out;
    QString err;
};

// The kamorin-cli built beside this test, or the one KAMORIN_CLI names: the
// ThreadSanitizer stage runs this test, built without it, against an
// instrumented kamorin-cli.
QString cliProgram()
{
    return qEnvironmentVariable("KAMORIN_CLI", QStringLiteral(KAMORIN_CLI));
}

// A kamorin-cli built with AddressSanitizer, as this test is, or the
// ThreadSanitizer one that KAMORIN_CLI names.
bool sanitizedCli()
{
#if defined(__SANITIZE_ADDRESS__)
    return true;
#else
    return qEnvironmentVariableIsSet("KAMORIN_CLI");
#endif
}

Result runCli(const QStringList &arguments)
{
    QProcess process;
    process.start(cliProgram(), arguments);
    process.waitForFinished(120000);
    return { process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
             QString::fromUtf8(process.readAllStandardError()) };
}

// The fields of the window, apart from the measurements.
QJsonObject windowOf(const QJsonObject &json)
{
    return json.value(QStringLiteral("window")).toObject();
}

int allowedCpuCount()
{
    cpu_set_t set;
    CPU_ZERO(&set);
    sched_getaffinity(0, sizeof set, &set);
    return CPU_COUNT(&set);
}

} // namespace

class TestKamorinCli : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void jsonResults_data();
    void jsonResults();
    void failures_data();
    void failures();
    void badOptions_data();
    void badOptions();
    void helpAndVersion();

    void userTextEscapedOnStderr();
    void badBenchmarkOptions_data();
    void badBenchmarkOptions();
    void stopSignals_data();
    void stopSignals();
    void progressLineOnATerminal_data();
    void progressLineOnATerminal();
    void outputFailures_data();
    void outputFailures();
    void stopWhileBlockedWriting();
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
}

void TestKamorinCli::jsonResults()
{
    QFETCH(QStringList, arguments);
    const Result r = runCli(arguments << QStringLiteral("--json"));
    QCOMPARE(r.status, 0);
    QVERIFY2(r.err.isEmpty() || r.err.contains(QStringLiteral("回 として数えます")),
             qPrintable(r.err));

    QJsonParseError error {};
    const QJsonObject all = QJsonDocument::fromJson(r.out.toUtf8(), &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(all.value(QStringLiteral("error")), QJsonValue(QJsonValue::Null));
    QCOMPARE(all.value(QStringLiteral("program")).toObject().value(QStringLiteral("version")),
             QJsonValue(QStringLiteral("1.2.7")));
    QVERIFY(QDateTime::fromString(all.value(QStringLiteral("started")).toString(),
                                  Qt::ISODateWithMs)
                    .isValid());
    const QJsonObject settings = all.value(QStringLiteral("settings")).toObject();
    QVERIFY(settings.value(QStringLiteral("passes")).isDouble());
    const QJsonObject json = windowOf(all);
    QTEST(json.value(QStringLiteral("loops")).toString(), "loops");
    QTEST(json.value(QStringLiteral("value")).toString(), "value");
    QTEST(json.value(QStringLiteral("digits")).toString(), "digits");
    QCOMPARE(json.value(QStringLiteral("hours")).toString(), QStringLiteral("0"));
    QCOMPARE(json.value(QStringLiteral("minutes")).toString(), QStringLiteral("0"));
    QCOMPARE(json.value(QStringLiteral("seconds")).toString(), QStringLiteral("0"));
    QCOMPARE(json.value(QStringLiteral("hundredths")).toString().size(), 2);
    QCOMPARE(json.value(QStringLiteral("score_enabled")), QJsonValue(false));
}

void TestKamorinCli::failures_data()
{
    QTest::addColumn<QStringList>("arguments");
    // A limit on the address space in KiB, 0 for none.
    QTest::addColumn<int>("memoryLimit");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");

    const auto count = [](const char *text) {
        return QStringList { QStringLiteral("--count=") + QString::fromUtf8(text) };
    };
    const QString mismatch = QStringLiteral("実行時エラー '13': 型が一致しません。");
    QTest::newRow("letters") << count("abc") << 0 << 2
                             << QStringLiteral("--count \"abc\": ") + mismatch;
    // A hundred thread stacks do not fit in 600 MB.
    QTest::newRow("threads that cannot be made")
            << QStringList { QStringLiteral("--count=100"), QStringLiteral("--unit=回"),
                             QStringLiteral("--threads=100"), QStringLiteral("--force-threads") }
            << 600000 << 71 << "スレッドを作れません: ";
}

void TestKamorinCli::failures()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, memoryLimit);
    QFETCH(int, status);
    QFETCH(QString, message);
    if (memoryLimit > 0 && sanitizedCli())
        QSKIP("A sanitizer's shadow memory alone exceeds the limit");
    QProcess process;
    if (memoryLimit > 0) {
        process.setChildProcessModifier([memoryLimit] {
            const rlimit limit { rlim_t(memoryLimit) * 1024, rlim_t(memoryLimit) * 1024 };
            setrlimit(RLIMIT_AS, &limit);
        });
    }
    process.start(cliProgram(), arguments << QStringLiteral("--json"));
    QVERIFY(process.waitForFinished(120000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), status);
    const QString err = QString::fromUtf8(process.readAllStandardError());
    QVERIFY2(err.startsWith(QStringLiteral("kamorin-cli: ") + message), qPrintable(err));
    QVERIFY(process.readAllStandardOutput().isEmpty());
}

void TestKamorinCli::badOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("unknown") << QStringList { QStringLiteral("--fast") };
    // Once a run of single passes, which looked like a result.
    QTest::newRow("unit none of the units")
            << QStringList { QStringLiteral("--count=1"), QStringLiteral("--unit=1K") };
}

void TestKamorinCli::badOptions()
{
    QFETCH(QStringList, arguments);
    const Result r = runCli(arguments);
    QCOMPARE(r.status, 64);
    QVERIFY(r.err.endsWith(QStringLiteral("使い方は kamorin-cli --help で表示されます。\n")));
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

void TestKamorinCli::userTextEscapedOnStderr()
{
    const Result r = runCli({ QStringLiteral("--count\x1b]0;title\x07") });
    QCOMPARE(r.status, 64);
    QVERIFY(!r.err.contains(u'\x1b'));
    QVERIFY(!r.err.contains(u'\x07'));
    QVERIFY(r.err.contains(QStringLiteral("--count\\x1B]0;title\\x07")));

    const Result machine = runCli({ QStringLiteral("--machine=a\x1b[31mb\u009b") });
    QCOMPARE(machine.status, 64);
    QVERIFY(!machine.err.contains(u'\x1b'));
    QVERIFY(!machine.err.contains(u'\u009b'));
    QVERIFY(machine.err.contains(QStringLiteral("a\\x1B[31mb\\x9B")));
}

void TestKamorinCli::badBenchmarkOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    const int cpus = allowedCpuCount();
    QTest::newRow("CPU that is not there")
            << QStringList { QStringLiteral("--cpu=%1").arg(cpus + 64) }
            << QStringLiteral("論理 CPU %1 はありません").arg(cpus + 64);
}

void TestKamorinCli::badBenchmarkOptions()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    // A count that would run for hours: nothing may run.
    QElapsedTimer timer;
    timer.start();
    const Result r
            = runCli(arguments << QStringLiteral("--count=1000") << QStringLiteral("--unit=億回"));
    QCOMPARE(r.status, 64);
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QVERIFY(r.out.isEmpty());
    QVERIFY(timer.elapsed() < 30000);
}

void TestKamorinCli::stopSignals_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("signalNumber");
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("ignored");
    QTest::newRow("SIGINT") << QStringList() << SIGINT << 130 << false;
    QTest::newRow("SIGTERM, JSON, repeated runs")
            << QStringList { QStringLiteral("--json"), QStringLiteral("--runs=3") } << SIGTERM
            << 143 << false;
    // As in a background job: the signal ignored at start stays so, and only
    // SIGTERM, sent after it, ends the run.
    QTest::newRow("SIGINT ignored at start") << QStringList() << SIGINT << 143 << true;
}

void TestKamorinCli::stopSignals()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, signalNumber);
    QFETCH(bool, ignored);
    // Hours of work: the test ends only if the signal ends the run.
    QProcess process;
    if (ignored)
        process.setChildProcessModifier([] { signal(SIGINT, SIG_IGN); });
    process.start(cliProgram(),
                  arguments << QStringLiteral("--count=1000") << QStringLiteral("--unit=億回"));
    QVERIFY(process.waitForStarted());
    // Long enough to be past the start, into the runs.
    QVERIFY(!process.waitForFinished(400));
    ::kill(static_cast<pid_t>(process.processId()), signalNumber);
    if (ignored) {
        QVERIFY2(!process.waitForFinished(400), "an ignored signal ended the run");
        ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
    }
    QElapsedTimer timer;
    timer.start();
    QVERIFY(process.waitForFinished(10000));
    QVERIFY2(timer.elapsed() < 5000, "the run went on long after the signal");
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QTEST(process.exitCode(), "status");
    const QString err = QString::fromUtf8(process.readAllStandardError());
    QVERIFY2(err.endsWith(QStringLiteral("kamorin-cli: 計算を中止しました。\n")), qPrintable(err));
    QCOMPARE(err.count(QStringLiteral("中止")), 1);
    // A pipe gets no progress line.
    QVERIFY(!err.contains(u'\r'));
    QVERIFY(process.readAllStandardOutput().isEmpty());
}

void TestKamorinCli::progressLineOnATerminal_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<QString>("environment");
    QTest::addColumn<QString>("option");
    QTest::addColumn<bool>("shown");
    QTest::newRow("40 columns, never wrapped") << 40 << ""
                                               << "" << true;
    QTest::newRow("TERM=dumb") << 200 << "TERM=dumb"
                               << "" << false;
    QTest::newRow("--no-progress") << 200 << ""
                                   << "--no-progress" << false;
}

void TestKamorinCli::progressLineOnATerminal()
{
    QFETCH(int, columns);
    QFETCH(QString, environment);
    QFETCH(QString, option);
    QFETCH(bool, shown);
    const QString script = QStandardPaths::findExecutable(QStringLiteral("script"));
    if (script.isEmpty())
        QSKIP("script (util-linux) is not installed");
    QProcess process;
    process.start(script,
                  { QStringLiteral("-qfec"),
                    QStringLiteral("stty cols %1; %2 '%3' --count 2000 --unit 万回 --speed 0 %4")
                            .arg(columns)
                            .arg(environment, cliProgram(), option),
                    QStringLiteral("/dev/null") });
    QVERIFY(process.waitForFinished(120000));
    QCOMPARE(process.exitCode(), 0);
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    // Each frame starts with a carriage return and ends by wiping the rest of the line.
    const QRegularExpression frame(QStringLiteral("\r([^\r\n\x1b]+)\x1b\\[K"));
    int frames = 0;
    for (const auto &match : frame.globalMatch(out)) {
        ++frames;
        QVERIFY2(kamorin::displayColumns(match.captured(1)) < columns,
                 qPrintable(match.captured(1)));
    }
    if (!shown) {
        QCOMPARE(frames, 0);
        return;
    }
    QVERIFY2(frames >= 2, qPrintable(out));
    // Wiped before the summary, or before the warnings of how steady the machine was.
    const QRegularExpression wiped(
            QStringLiteral("\r\x1b\\[K(kamorin-cli: [^\n]*\r?\n)*ループ回数"));
    QVERIFY2(out.contains(wiped), qPrintable(out));
}

void TestKamorinCli::outputFailures_data()
{
    QTest::addColumn<QString>("shell");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    QTest::newRow("full disk") << "\"$0\" --count=100 --unit=回 --json >/dev/full" << 74
                               << "標準出力に書き込めません: ";
    QTest::newRow("stdout closed")
            << "\"$0\" --count=100 --unit=回 --csv >&-" << 74 << "標準出力に書き込めません: ";
    // Refused before the run: nothing on stdout.
    QTest::newRow("the page's folder missing")
            << "out=$(\"$0\" --count=100 --unit=回 --report /nonexistent/p.html); s=$?; "
               "[ -z \"$out\" ] || s=99; exit $s"
            << 74
            << "「/nonexistent/p.html」に書き込めません: フォルダー「/nonexistent」がありません";
    // The reader is gone before the output: ended as by SIGPIPE, quietly. It
    // starts late, since the list fits a pipe's buffer and a reader still
    // there would take all of it.
    QTest::newRow("reader gone")
            << "{ sleep 0.2; \"$0\" --list-machines; } | true; exit ${PIPESTATUS[0]}"
            << 128 + SIGPIPE << "";
}

void TestKamorinCli::outputFailures()
{
    QFETCH(QString, shell);
    QFETCH(QString, message);
    QProcess process;
    process.start(QStringLiteral("bash"),
                  { QStringLiteral("-c"), QStringLiteral("sleep 0.2 | { %1; }").arg(shell),
                    cliProgram() });
    QVERIFY(process.waitForFinished(60000));
    QTEST(process.exitCode(), "status");
    const QString err = QString::fromUtf8(process.readAllStandardError());
    if (message.isEmpty())
        QVERIFY2(err.isEmpty(), qPrintable(err));
    else
        QVERIFY2(err.contains(QStringLiteral("kamorin-cli: ") + message), qPrintable(err));
}

// A reader that stops reading must not keep a stopped program alive.
void TestKamorinCli::stopWhileBlockedWriting()
{
    QProcess process;
    // A pipe of one page: the rank table cannot fit, so the write blocks.
    process.setChildProcessModifier([] { fcntl(STDOUT_FILENO, F_SETPIPE_SZ, 4096); });
    process.start(cliProgram(),
                  { QStringLiteral("--count=100"), QStringLiteral("--unit=回"),
                    QStringLiteral("--rank") });
    QVERIFY(process.waitForStarted());
    // Its first page read: the runs are over and the write of the rest
    // blocks, however long a loaded machine took to get there. Qt reads no
    // more until it is waited on.
    QVERIFY(process.waitForReadyRead(60000));
    QThread::msleep(300);
    QCOMPARE(process.state(), QProcess::Running);
    ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
    // Time for the signal to end it while the write is still blocked: the
    // wait below reads, which would let the write go on.
    QThread::msleep(300);
    QVERIFY(process.waitForFinished(5000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 143);
}

QTEST_GUILESS_MAIN(TestKamorinCli)
#include "tst_kamorincli.moc"
