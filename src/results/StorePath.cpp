#include "results/StorePath.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace kamorin {

namespace {

struct Words
{
    Q_DECLARE_TR_FUNCTIONS(StorePath)
};

} // namespace

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

std::optional<QString> storePathRefusal(const QString &path)
{
    // SQLite would keep such a store in memory or read the text as a URI;
    // Qt would make a folder of its first part. Neither keeps a result.
    if (path.isEmpty() || path == QStringLiteral(":memory:")
        || path.startsWith(QStringLiteral("file:")))
        return Words::tr("結果の保存先「%1」は使えません: 保存先はファイルのパスで"
                         "指定してください（:memory: や file: で始まる URI は"
                         "保存先になりません）。")
                .arg(path);
    return std::nullopt;
}

bool holdsNoStoreYet(const QString &path)
{
    const QFileInfo file(path);
    return !file.exists() || (file.isFile() && file.size() == 0);
}

} // namespace kamorin
