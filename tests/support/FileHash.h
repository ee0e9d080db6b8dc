#pragma once

#include <QCryptographicHash>
#include <QFile>
#include <QString>

// What a file holds, to tell that a command left it as it was; empty for a
// file that cannot be read.
inline QByteArray fileHash(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}
