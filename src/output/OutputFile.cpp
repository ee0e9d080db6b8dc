#include "output/OutputFile.h"

#include "output/StandardStreams.h"
#include "output/StopLeftovers.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace kamorin {

namespace {

// Written out in pieces of this size, so that a long export is neither held
// whole nor written a result at a time.
constexpr qsizetype kPieceBytes = 64 * 1024;

// The access list of a file, as the kernel keeps it.
constexpr char kAccessList[] = "system.posix_acl_access";

// A new file beside `target` ("report.html.k3X9qa"), made with `mode` under
// the umask; -1 with errno when none can be made.
int newFileBeside(const QString &target, mode_t mode, QByteArray &name)
{
    static constexpr char kLetters[]
            = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = QFile::encodeName(target) + '.';
        for (int i = 0; i < 6; ++i)
            name += kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters) - 1)];
        const int fd = ::open(name.constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// The access list of the file at `path`, empty when it has none (or the file
// system keeps none); none with errno when it cannot be read.
std::optional<QByteArray> accessListOf(const QByteArray &path)
{
    for (;;) {
        const ssize_t size = ::lgetxattr(path.constData(), kAccessList, nullptr, 0);
        if (size < 0)
            return errno == ENODATA || errno == ENOTSUP ? std::optional(QByteArray())
                                                        : std::nullopt;
        QByteArray list(size, Qt::Uninitialized);
        const ssize_t read = ::lgetxattr(path.constData(), kAccessList, list.data(), size);
        if (read >= 0) {
            list.truncate(read);
            return list;
        }
        // It grew in between: asked again.
        if (errno != ERANGE)
            return std::nullopt;
    }
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
    // Never more open than the file it replaces, from the open() on: a reader
    // who opens the new file while it is being written keeps what they got.
    m_fd = newFileBeside(m_target.replaced, m_target.mode ? *m_target.mode & 0600 : 0666,
                         m_temporary);
    if (m_fd < 0) {
        m_temporary.clear();
        cannotWrite(m_path, systemMessage(errno));
    }
    removeIfStopped(m_temporary);
    if (m_target.mode)
        keepAccess();
}

void OutputFile::keepAccess()
{
    struct stat made
    { };
    if (::fstat(m_fd, &made) != 0)
        fail(errno);
    mode_t mode = *m_target.mode;
    // Root replacing a user's file gives it back to its owner, who could no
    // longer read it as root's. Anyone else keeps the group where they are
    // in it; where they are not, the group's bits would be some other
    // group's, so they are dropped.
    if (made.st_uid != m_target.owner || made.st_gid != m_target.group) {
        if (::geteuid() == 0) {
            if (::fchown(m_fd, m_target.owner, m_target.group) != 0)
                fail(errno);
        } else if (made.st_gid != m_target.group && ::fchown(m_fd, -1, m_target.group) != 0) {
            mode &= ~mode_t(S_IRWXG | S_ISGID);
        }
    }
    // After the owner, which clears the set-id bits.
    if (::fchmod(m_fd, mode) != 0)
        fail(errno);
    // The access list as the old file had it, or none: a default list the
    // folder gives new files would otherwise open it to whom it names.
    const std::optional<QByteArray> list = accessListOf(QFile::encodeName(m_target.replaced));
    if (!list)
        fail(errno);
    if (!list->isEmpty()) {
        if (::fsetxattr(m_fd, kAccessList, list->constData(), list->size(), 0) != 0)
            fail(errno);
    } else if (::fremovexattr(m_fd, kAccessList) != 0 && errno != ENODATA && errno != ENOTSUP) {
        fail(errno);
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
