#include "benchmark/SystemInfo.h"

#include <QFile>
#include <QList>

#include <charconv>
#include <initializer_list>
#include <sys/utsname.h>

namespace kamorin {

std::optional<QByteArray> readSystemFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // Files under /proc and /sys report a size of 0 or 4096; read to the end.
    return file.readAll();
}

namespace {

// The first value of the first of `keys` that cpuinfo has: x86 says
// "model name"; Arm, POWER, MIPS and RISC-V machines name the processor
// under other keys, or only the board.
std::optional<QString> cpuModelFrom(const QByteArray &cpuinfo)
{
    const QList<QByteArray> lines = cpuinfo.split('\n');
    for (const char *key : { "model name", "Processor", "cpu model", "cpu", "uarch", "Hardware" }) {
        for (const QByteArray &line : lines) {
            const qsizetype colon = line.indexOf(':');
            if (colon < 0 || line.left(colon).trimmed() != key)
                continue;
            const QByteArray value = line.mid(colon + 1).trimmed();
            if (!value.isEmpty())
                return QString::fromUtf8(value);
        }
    }
    return std::nullopt;
}

std::optional<std::array<double, 3>> loadAverageFrom(const QByteArray &loadavg)
{
    const QList<QByteArray> fields = loadavg.simplified().split(' ');
    if (fields.size() < 3)
        return std::nullopt;
    std::array<double, 3> load {};
    for (std::size_t i = 0; i < load.size(); ++i) {
        const QByteArray &field = fields[static_cast<qsizetype>(i)];
        const char *end = field.constData() + field.size();
        const auto [ptr, ec] = std::from_chars(field.constData(), end, load[i]);
        if (ec != std::errc() || ptr != end)
            return std::nullopt;
    }
    return load;
}

} // namespace

SystemInfo readSystemInfo(const QString &root, int logicalCpus, int cpu)
{
    const QString base = root.endsWith(u'/') ? root : root + u'/';
    utsname names {};
    const bool haveNames = uname(&names) == 0;

    SystemInfo info;
    info.logicalCpus = logicalCpus;

    if (const auto cpuinfo = readSystemFile(base + QStringLiteral("proc/cpuinfo")))
        if (const auto model = cpuModelFrom(*cpuinfo))
            info.cpuModel = *model;
    if (info.cpuModel.isEmpty() && haveNames)
        info.cpuModel = QString::fromUtf8(names.machine);

    if (const auto release = readSystemFile(base + QStringLiteral("proc/sys/kernel/osrelease")))
        info.kernel = QString::fromUtf8(release->trimmed());
    if (info.kernel.isEmpty() && haveNames)
        info.kernel = QString::fromUtf8(names.release);

    if (cpu >= 0) {
        const QString path = base
                + QStringLiteral("sys/devices/system/cpu/cpu%1/cpufreq/scaling_governor").arg(cpu);
        if (const auto governor = readSystemFile(path)) {
            const QByteArray name = governor->trimmed();
            if (!name.isEmpty())
                info.governor = QString::fromUtf8(name);
        }
    }

    if (const auto loadavg = readSystemFile(base + QStringLiteral("proc/loadavg")))
        info.loadAverage = loadAverageFrom(*loadavg);
    return info;
}

} // namespace kamorin
