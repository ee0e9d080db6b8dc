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

} // namespace

class TestSystemInfo : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fromAFakeRoot_data();
    void fromAFakeRoot();
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
    QVERIFY(root.isValid());
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        const QString path = root.filePath(QString::fromUtf8(it.key()));
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(it.value());
    }

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

QTEST_APPLESS_MAIN(TestSystemInfo)
#include "tst_systeminfo.moc"
