#include "output/OutputFile.h"

#include "output/StandardStreams.h"
#include "output/StopLeftovers.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kamorin {

namespace {

// Written out in pieces of this size, so that a long export is neither held
// whole nor written a result at a time.
constexpr qsizetype kPieceBytes = 64 * 1024;

// A new file beside `target` ("report.html.k3X9qa"), made with the mode a
// new file takes under the umask; -1 with errno when none can be made.
int newFileBeside(const QString &target, QByteArray &name)
{
    static constexpr char kLetters[]
            = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = QFile::encodeName(target) + '.';
        for (int i = 0; i < 6; ++i)
            name += kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters) - 1)];
        const int fd = ::open(name.constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

} // namespace

OutputFile::OutputFile(const QString &path, const QString &storePath)
    : m_path(path), m_target(openOutputTarget(path, storePath))
{
    m_pending.reserve(kPieceBytes);
    if (m_target.way == OutputTarget::Way::InPlace) {
        m_fd = m_target.fd;
        return;
    }
    m_fd = newFileBeside(m_target.replaced, m_temporary);
    if (m_fd < 0) {
        m_temporary.clear();
        cannotWrite(m_path, systemMessage(errno));
    }
    removeIfStopped(m_temporary);
    // The file replaced keeps its mode: a private file stays private.
    if (m_target.mode && ::fchmod(m_fd, *m_target.mode) != 0) {
        const int error = errno;
        discard();
        cannotWrite(m_path, systemMessage(error));
    }
}

OutputFile::~OutputFile()
{
    discard();
}

void OutputFile::discard()
{
    if (m_target.way == OutputTarget::Way::Replace) {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_temporary.isEmpty()) {
            ::unlink(m_temporary.constData());
            noLongerRemoveIfStopped(m_temporary);
        }
    } else if (m_target.ownsFd && m_fd >= 0) {
        ::close(m_fd);
    }
    m_fd = -1;
    m_temporary.clear();
}

void OutputFile::fail(int error)
{
    discard();
    cannotWrite(m_path, systemMessage(error));
}

void OutputFile::write(QByteArrayView bytes)
{
    m_pending += bytes;
    if (m_pending.size() >= kPieceBytes)
        flush();
}

void OutputFile::flush()
{
    if (writeAll(m_fd, m_pending)) {
        m_pending.clear();
        return;
    }
    // A FIFO's reader that went away, as stdout's.
    if (errno == EPIPE)
        endAsByBrokenPipe();
    fail(errno);
}

void OutputFile::commit()
{
    flush();
    if (m_target.way == OutputTarget::Way::InPlace) {
        const int fd = m_fd;
        m_fd = -1;
        if (m_target.ownsFd && ::close(fd) != 0 && errno != EINTR)
            fail(errno);
        return;
    }
    // On the disk before it takes the target's name, so that a crash leaves
    // the old file or the new one, never an empty one.
    if (::fsync(m_fd) != 0)
        fail(errno);
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0 && errno != EINTR)
        fail(errno);
    // rename() replaces the name itself and follows no link: what was
    // checked is what is replaced.
    if (::rename(m_temporary.constData(), QFile::encodeName(m_target.replaced).constData()) != 0)
        fail(errno);
    noLongerRemoveIfStopped(m_temporary);
    m_temporary.clear();
    const int folder = ::open(QFile::encodeName(QFileInfo(m_target.replaced).path()).constData(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
}

void writeOutputFile(const QString &path, const QString &storePath, const QByteArray &bytes)
{
    OutputFile file(path, storePath);
    file.write(bytes);
    file.commit();
}

} // namespace kamorin
