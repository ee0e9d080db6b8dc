#pragma once

#include <QByteArray>
#include <QString>

namespace kamorin {

// The whole of `bytes` in the file at `path`, or the file as it was: written
// beside it and renamed over it once complete. A failure is told on stderr,
// naming the file, and thrown as OutputFailed (status 74).
void writeOutputFile(const QString &path, const QByteArray &bytes);

} // namespace kamorin
