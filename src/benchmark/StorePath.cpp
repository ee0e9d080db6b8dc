#include "benchmark/StorePath.h"

#include <QDir>

namespace kamorin {

QString resolveStorePath(const QString &explicitPath, const QProcessEnvironment &environment)
{
    if (!explicitPath.isEmpty())
        return explicitPath;
    const QString fromEnvironment = environment.value(QStringLiteral("KAMORIN_STORE"));
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    QString dataHome = environment.value(QStringLiteral("XDG_DATA_HOME"));
    // The XDG rules ignore a relative path: it would depend on where the
    // program happens to be started.
    if (dataHome.isEmpty() || QDir::isRelativePath(dataHome))
        dataHome = environment.value(QStringLiteral("HOME"), QDir::homePath())
                + QStringLiteral("/.local/share");
    return dataHome + QStringLiteral("/kamorin/results.sqlite");
}

} // namespace kamorin
