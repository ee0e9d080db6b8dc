#include "cli/OutputFile.h"

#include "cli/StandardStreams.h"
#include "cli/TerminalText.h"

#include <QSaveFile>

namespace kamorin {

void writeOutputFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return;
    writeError(QStringLiteral("kamorin-cli: 「%1」に書き込めません: %2\n")
                       .arg(escapeControls(path), file.errorString()));
    throw OutputFailed {};
}

} // namespace kamorin
