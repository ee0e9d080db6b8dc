#pragma once

#include "output/OutputTarget.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace kamorin {

// An output of --export or --report on its way to the target `path` names,
// by the rule of OutputTarget.h; nothing is ever written to the results
// store at `storePath`. A target that is replaced is the whole output or the
// file as it was: the output goes into a new file beside it, which commit()
// renames over it. A refusal or a failure is told on stderr, naming the
// path, and thrown as OutputFailed (status 74).
class OutputFile
{
public:
    OutputFile(const QString &path, const QString &storePath);
    // Without commit(), as after a failure, the new file is removed and the
    // target stays as it was.
    ~OutputFile();
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    void write(QByteArrayView bytes);
    // Everything written on the disk, and the target replaced by it.
    void commit();

private:
    // The replaced file's owner, group, mode and access list on the new one.
    void keepAccess();
    void flush();
    [[noreturn]] void fail(int error);
    void discard();

    QString m_path;
    OutputTarget m_target;
    // The new file beside the target, while it is ours to remove.
    QByteArray m_temporary;
    int m_fd = -1;
    QByteArray m_pending;
};

// The whole of `bytes` at `path`, as OutputFile writes it.
void writeOutputFile(const QString &path, const QString &storePath, const QByteArray &bytes);

} // namespace kamorin
