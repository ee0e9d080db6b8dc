#include "benchmark/Steadiness.h"
#include "benchmark/SystemInfo.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/utsname.h>

using namespace kamorin;

namespace {

using Files = QMap<QByteArray, QByteArray>;

QString unameField(bool release)
{
    utsname names {};
    uname(&names);
    return QString::fromUtf8(release ? names.release : names.machine);
}

bool writeRoot(const QTemporaryDir &root, const Files &files)
{
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        const QString path = root.filePath(QString::fromUtf8(it.key()));
        QFile file(path);
        if (!QDir().mkpath(QFileInfo(path).path()) || !file.open(QIODevice::WriteOnly))
            return false;
        file.write(it.value());
    }
    return true;
}

// /proc/stat with `steal` clock ticks and `running` runnable threads.
QByteArray stat(int steal, int running)
{
    return QStringLiteral("cpu  100 0 50 900 3 0 1 %1 0 0\ncpu0 50 0 25 450 1 0 0 0 0 0\n"
                          "ctxt 12345\nprocs_running %2\nprocs_blocked 0\n")
            .arg(steal)
            .arg(running)
            .toUtf8();
}

QString described(const Warning &warning)
{
    if (const auto *w = std::get_if<FrequencyChanged>(&warning))
        return QStringLiteral("cpu %1: %2 -> %3 MHz")
                .arg(w->cpu)
                .arg(w->beforeMhz)
                .arg(w->afterMhz);
    if (const auto *w = std::get_if<TimeStolen>(&warning))
        return QStringLiteral("stolen %1").arg(w->share);
    if (const auto *w = std::get_if<CrowdedCpus>(&warning))
        return QStringLiteral("%1 runnable on %2").arg(w->runnable).arg(w->logicalCpus);
    return QStringLiteral("other");
}

} // namespace

class TestSystemInfo : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fromAFakeRoot_data();
    void fromAFakeRoot();
    void steadiness_data();
    void steadiness();
    void othersRunnable_data();
    void othersRunnable();
};

void TestSystemInfo::fromAFakeRoot_data()
{
    QTest::addColumn<Files>("files");
    QTest::addColumn<int>("cpu");
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("kernel");
    QTest::addColumn<QString>("governor");
    QTest::addColumn<QString>("load");

    const QByteArray x86 = "processor\t: 0\nvendor_id\t: GenuineIntel\ncpu family\t: 6\n"
                           "model\t\t: 158\nmodel name\t: Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz\n"
                           "cpu MHz\t\t: 3192.000\n\nprocessor\t: 1\n"
                           "model name\t: Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz\n";
    const QByteArray cpu1 = "sys/devices/system/cpu/cpu1/cpufreq/scaling_governor";
    QTest::newRow("x86, CPU 1 saving power")
            << Files { { "proc/cpuinfo", x86 },
                       { "proc/loadavg", "0.52 0.31 0.20 1/234 5678\n" },
                       { "proc/sys/kernel/osrelease", "6.1.0-18-amd64\n" },
                       { cpu1, "powersave\n" },
                       { "sys/devices/system/cpu/cpu0/cpufreq/scaling_governor", "performance\n" } }
            << 1 << "Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz"
            << "6.1.0-18-amd64"
            << "powersave"
            << "0.52 0.31 0.2";
    QTest::newRow("another CPU's governor is not this one's")
            << Files { { "proc/cpuinfo", x86 }, { cpu1, "powersave\n" } } << 0
            << "Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz" << unameField(true) << "-"
            << "-";
    QTest::newRow("Arm board")
            << Files { { "proc/cpuinfo",
                         "processor\t: 0\nBogoMIPS\t: 108.00\n\nHardware\t: BCM2835\n"
                         "Revision\t: c03111\n" },
                       { "proc/sys/kernel/osrelease", "6.6.31+rpt-rpi-v8" } }
            << 0 << "BCM2835"
            << "6.6.31+rpt-rpi-v8"
            << "-"
            << "-";
    QTest::newRow("POWER")
            << Files { { "proc/cpuinfo",
                         "processor\t: 0\ncpu\t\t: POWER9 (raw), altivec supported\n" } }
            << 0 << "POWER9 (raw), altivec supported" << unameField(true) << "-"
            << "-";
    QTest::newRow("cpuinfo naming no processor: the machine type")
            << Files { { "proc/cpuinfo", "processor\t: 0\nBogoMIPS\t: 50.00\n" },
                       { "proc/loadavg", "garbage\n" } }
            << 0 << unameField(false) << unameField(true) << "-"
            << "-";
    QTest::newRow("empty model name skipped")
            << Files { { "proc/cpuinfo", "model name\t:\nHardware\t: Board\n" },
                       { "proc/loadavg", "1.5 2\n" } }
            << 0 << "Board" << unameField(true) << "-"
            << "-";
    QTest::newRow("nothing readable")
            << Files {} << 3 << unameField(false) << unameField(true) << "-"
            << "-";
}

void TestSystemInfo::fromAFakeRoot()
{
    QFETCH(Files, files);
    QFETCH(int, cpu);
    QTemporaryDir root;
    QVERIFY(root.isValid() && writeRoot(root, files));

    const SystemInfo info = readSystemInfo(root.path(), 12, cpu);
    QCOMPARE(info.logicalCpus, 12);
    QTEST(info.cpuModel, "model");
    QTEST(info.kernel, "kernel");
    QTEST(info.governor.value_or(QStringLiteral("-")), "governor");
    QString load = QStringLiteral("-");
    if (info.loadAverage)
        load = QStringLiteral("%1 %2 %3")
                       .arg((*info.loadAverage)[0])
                       .arg((*info.loadAverage)[1])
                       .arg((*info.loadAverage)[2]);
    QTEST(load, "load");
}

void TestSystemInfo::steadiness_data()
{
    QTest::addColumn<Files>("before");
    QTest::addColumn<Files>("after");
    QTest::addColumn<QStringList>("warnings");
    const QByteArray freq = "sys/devices/system/cpu/cpu1/cpufreq/scaling_cur_freq";
    const QByteArray otherFreq = "sys/devices/system/cpu/cpu0/cpufreq/scaling_cur_freq";
    // Two CPUs for 10 s: 20 CPU seconds, so 1 % is 0.2 s, 20 ticks at 100 a second.
    QTest::newRow("steady") << Files { { "proc/stat", stat(10, 1) }, { freq, "3400000\n" } }
                            << Files { { "proc/stat", stat(30, 2) }, { freq, "3300000\n" } }
                            << QStringList {};
    QTest::newRow("frequency dropped")
            << Files { { freq, "3400000\n" } } << Files { { freq, "2800000\n" } }
            << QStringList { QStringLiteral("cpu 1: 3400 -> 2800 MHz") };
    QTest::newRow("another CPU's frequency is not this one's")
            << Files { { otherFreq, "3400000\n" } } << Files { { otherFreq, "800000\n" } }
            << QStringList {};
    QTest::newRow("stolen just above 1 %")
            << Files { { "proc/stat", stat(10, 1) } } << Files { { "proc/stat", stat(31, 1) } }
            << QStringList { QStringLiteral("stolen 0.0105") };
    QTest::newRow("crowded after the runs")
            << Files { { "proc/stat", stat(0, 2) } } << Files { { "proc/stat", stat(0, 3) } }
            << QStringList { QStringLiteral("3 runnable on 2") };
    QTest::newRow("nothing readable")
            << Files {} << Files { { freq, "garbage" } } << QStringList {};
}

void TestSystemInfo::steadiness()
{
    QFETCH(Files, before);
    QFETCH(Files, after);
    QTemporaryDir beforeRoot;
    QTemporaryDir afterRoot;
    QVERIFY(writeRoot(beforeRoot, before) && writeRoot(afterRoot, after));
    MachineSample first = sampleMachine(beforeRoot.path(), 1);
    MachineSample second = sampleMachine(afterRoot.path(), 1);
    first.seconds = 100;
    second.seconds = 110;

    QStringList warnings;
    for (const Warning &warning : steadinessWarnings(first, second, 2, 1))
        warnings << described(warning);
    QTEST(warnings, "warnings");
}

void TestSystemInfo::othersRunnable_data()
{
    QTest::addColumn<Files>("files");
    // Below 0: none.
    QTest::addColumn<int>("others");
    const auto task = [](const QByteArray &tid, const QByteArray &line) {
        return std::pair(QByteArray("proc/self/task/") + tid + "/stat", line);
    };
    const QByteArray reading = "4242 (kamorin-cli) R 1 4242 4242 0 -1 4194304 120 0 0 0\n";
    const QByteArray sleeping = "4243 (QThread) S 1 4242 4242 0 -1 4194368 3 0 0 0\n";
    QTest::newRow("idle: only the reading thread")
            << Files { { "proc/stat", stat(0, 1) }, task("4242", reading), task("4243", sleeping) }
            << 0;
    QTest::newRow("a build beside us")
            << Files { { "proc/stat", stat(0, 7) }, task("4242", reading), task("4243", sleeping) }
            << 6;
    QTest::newRow("our own runnable threads are not others'")
            << Files { { "proc/stat", stat(0, 3) },
                       task("4242", reading),
                       task("4244", "4244 (worker) R 1 4242 4242 0 -1 0 0 0 0 0\n") }
            << 1;
    QTest::newRow("a name holding parentheses and a state")
            << Files { { "proc/stat", stat(0, 2) },
                       task("4242", "4242 (a) R (b) S 1 4242 4242 0\n") }
            << 2;
    QTest::newRow("a thread woke between the readings: never below none")
            << Files { { "proc/stat", stat(0, 1) },
                       task("4242", reading),
                       task("4244", "4244 (worker) R 1 4242 0\n") }
            << 0;
    QTest::newRow("no procs_running")
            << Files { { "proc/stat", "cpu  1 2 3 4\n" }, task("4242", reading) } << -1;
    QTest::newRow("no task of our own") << Files { { "proc/stat", stat(0, 4) } } << -1;
}

void TestSystemInfo::othersRunnable()
{
    QFETCH(Files, files);
    QTemporaryDir root;
    QVERIFY(root.isValid() && writeRoot(root, files));
    QTEST(readOthersRunnable(root.path()).value_or(-1), "others");
}

QTEST_APPLESS_MAIN(TestSystemInfo)
#include "tst_systeminfo.moc"
