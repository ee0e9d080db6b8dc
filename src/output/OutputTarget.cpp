#include "output/OutputTarget.h"

#include "formats/TerminalText.h"
#include "output/StandardStreams.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kamorin {

namespace {

struct Words
{
    Q_DECLARE_TR_FUNCTIONS(OutputTargetWords)
};

// As many links as the kernel follows in one path.
constexpr int kMaxLinks = 40;

QByteArray nativeName(const QString &path)
{
    return QFile::encodeName(path);
}

bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The descriptor a name stands for when it names one of this process's own.
std::optional<int> descriptorNamed(const QString &path)
{
    if (path == QStringLiteral("-") || path == QStringLiteral("/dev/stdout"))
        return STDOUT_FILENO;
    if (path == QStringLiteral("/dev/stderr"))
        return STDERR_FILENO;
    for (const QString &folder : { QStringLiteral("/dev/fd/"), QStringLiteral("/proc/self/fd/") }) {
        if (!path.startsWith(folder))
            continue;
        const QStringView number = QStringView(path).sliced(folder.size());
        if (number.isEmpty() || number.size() > 9
            || !std::all_of(number.begin(), number.end(), [](QChar c) { return c.isDigit(); }))
            return std::nullopt;
        return number.toInt();
    }
    return std::nullopt;
}

// The kernel's protected-symlinks rule: in a sticky folder that anyone may
// write to, a link is followed only when the follower or the folder's owner
// owns it. It is kept whatever the system's setting: a link someone else
// left there is how a file of ours elsewhere would be replaced.
// The kernel's protected-fifos rule is the same, and kept for a FIFO or a
// device below.
bool ownedHere(const QString &folderPath, const struct stat &file)
{
    struct stat folder
    { };
    if (::stat(nativeName(folderPath).constData(), &folder) != 0)
        return true;
    constexpr mode_t kOpenSticky = S_ISVTX | S_IWOTH;
    if ((folder.st_mode & kOpenSticky) != kOpenSticky)
        return true;
    return file.st_uid == ::geteuid() || file.st_uid == folder.st_uid;
}

// A path with every link in it followed, one at a time, as the kernel would.
struct Followed
{
    QString path;
    // Of the last step, itself not a link; none when nothing is there.
    std::optional<struct stat> found;
    // The link the rule above refuses to follow.
    std::optional<QString> refusedLink;
    // Why the path cannot be followed (other than that nothing is at its end).
    int error = 0;
};

QStringList stepsOf(const QString &path)
{
    QStringList steps = path.split(u'/', Qt::SkipEmptyParts);
    steps.removeAll(QStringLiteral("."));
    return steps;
}

// Every step, folders too: a link in place of a folder in a sticky folder
// would move the file as surely as a link in its place.
Followed follow(const QString &path)
{
    // Each step of `done` is a real folder, so ".." after it is the kernel's
    // to take back without a link in the way.
    QString done = path.startsWith(u'/') ? QString() : QStringLiteral(".");
    QStringList steps = stepsOf(path);
    int links = 0;
    struct stat last
    { };
    if (::lstat(nativeName(done.isEmpty() ? QStringLiteral("/") : done).constData(), &last) != 0)
        return { path, std::nullopt, std::nullopt, errno };
    while (!steps.isEmpty()) {
        const QString step = steps.takeFirst();
        const QString next = done == QStringLiteral(".") ? step : done + u'/' + step;
        struct stat st
        { };
        if (::lstat(nativeName(next).constData(), &st) != 0) {
            const int error = errno;
            if (error == ENOENT && steps.isEmpty())
                return { next, std::nullopt, std::nullopt, 0 };
            return { next, std::nullopt, std::nullopt, error };
        }
        if (S_ISLNK(st.st_mode)) {
            const QString folder = done.isEmpty() ? QStringLiteral("/") : done;
            if (!ownedHere(folder, st))
                return { next, std::nullopt, next, 0 };
            std::vector<char> target(PATH_MAX);
            const ssize_t size
                    = ::readlink(nativeName(next).constData(), target.data(), target.size());
            if (size < 0 || std::size_t(size) >= target.size())
                return { next, std::nullopt, std::nullopt, size < 0 ? errno : ENAMETOOLONG };
            if (++links > kMaxLinks)
                return { next, std::nullopt, std::nullopt, ELOOP };
            const QString to = QFile::decodeName(QByteArray(target.data(), size));
            if (to.startsWith(u'/'))
                done.clear();
            steps = stepsOf(to) + steps;
            continue;
        }
        if (!steps.isEmpty() && !S_ISDIR(st.st_mode))
            return { next, std::nullopt, std::nullopt, ENOTDIR };
        done = next;
        last = st;
    }
    return { done.isEmpty() ? QStringLiteral("/") : done, last, std::nullopt, 0 };
}

QString storeRefusal(const QString &path, const QString &storePath)
{
    const QString what
            = path == QStringLiteral("-") ? Words::tr("標準出力") : Words::tr("「%1」").arg(path);
    return Words::tr("%1は結果の保存先「%2」そのものです。保存した結果が消えるため、"
                     "そこには書き出しません。")
            .arg(what, storePath);
}

// SQLite's files beside the store, by the store's name as given and as its
// links lead: the next change removes or rolls back what is there.
bool isSideFileOfStore(const QString &targetPath, const QString &storePath)
{
    const QString target = QDir::cleanPath(QFileInfo(targetPath).absoluteFilePath());
    for (const QString &store : { storePath, follow(storePath).path }) {
        const QString name = QDir::cleanPath(QFileInfo(store).absoluteFilePath());
        for (const char *side : { "-journal", "-wal", "-shm" }) {
            if (target == name + QLatin1StringView(side))
                return true;
        }
    }
    return false;
}

std::optional<struct stat> storeFile(const QString &storePath)
{
    struct stat st
    { };
    if (::stat(nativeName(storePath).constData(), &st) != 0)
        return std::nullopt;
    return st;
}

bool descriptorIsStore(int fd, const QString &storePath)
{
    struct stat st
    { };
    const std::optional<struct stat> store = storeFile(storePath);
    return store && ::fstat(fd, &st) == 0 && sameFile(st, *store);
}

// `name` opened with `flags`, and what it is; a failure is told for `path`.
int openedAs(const QString &path, const QByteArray &name, int flags, struct stat &st)
{
    const int fd = ::open(name.constData(), flags);
    if (fd >= 0 && ::fstat(fd, &st) == 0)
        return fd;
    const int error = errno;
    if (fd >= 0)
        ::close(fd);
    cannotWrite(path, systemMessage(error));
}

} // namespace

void cannotWrite(const QString &path, const QString &why)
{
    const QString what = path == QStringLiteral("-")
            ? Words::tr("標準出力")
            : Words::tr("「%1」").arg(escapeControls(path));
    writeError(Words::tr("kamorin-cli: %1に書き込めません: %2\n").arg(what, escapeControls(why)));
    throw OutputFailed {};
}

std::optional<QString> storeAsOutput(const QString &path, const QString &storePath)
{
    if (const std::optional<int> fd = descriptorNamed(path)) {
        if (descriptorIsStore(*fd, storePath))
            return storeRefusal(path, storePath);
        return std::nullopt;
    }
    const Followed target = follow(path);
    if (!storePath.isEmpty() && isSideFileOfStore(target.path, storePath))
        return Words::tr("「%1」は結果の保存先「%2」の横に SQLite が置く作業ファイルの名前です。"
                         "保存先を変えるたびに消されるため、そこには書き出しません。")
                .arg(path, storePath);
    if (const std::optional<struct stat> store = storeFile(storePath)) {
        if (target.found && sameFile(*target.found, *store))
            return storeRefusal(path, storePath);
        return std::nullopt;
    }
    // Neither is there yet: a run that saves makes the store, and its page
    // must not then be renamed over it.
    const Followed store = follow(storePath);
    if (!target.found && !target.refusedLink && !store.found
        && QDir::cleanPath(QFileInfo(target.path).absoluteFilePath())
                == QDir::cleanPath(QFileInfo(store.path).absoluteFilePath()))
        return storeRefusal(path, storePath);
    return std::nullopt;
}

OutputTarget openOutputTarget(const QString &path, const QString &storePath)
{
    // Checked once more as the target is opened: the store may have come to
    // have that name since the command began.
    if (const std::optional<QString> refusal = storeAsOutput(path, storePath))
        cannotWrite(path, *refusal);
    if (const std::optional<int> fd = descriptorNamed(path)) {
        if (path == QStringLiteral("-"))
            return { OutputTarget::Way::InPlace, STDOUT_FILENO, false, {}, {} };
        const int copy = ::fcntl(*fd, F_DUPFD_CLOEXEC, 3);
        if (copy < 0)
            cannotWrite(path, systemMessage(errno));
        return { OutputTarget::Way::InPlace, copy, true, {}, {} };
    }
    const Followed target = follow(path);
    if (target.refusedLink)
        cannotWrite(path,
                    (*target.refusedLink == path
                             ? QString()
                             : Words::tr("その先の「%1」は").arg(*target.refusedLink))
                            + Words::tr("誰でも書き込めるスティッキーなフォルダーにある、"
                                        "ほかのユーザーのシンボリックリンクです。"
                                        "リンクの先には手を付けません"));
    if (target.error != 0)
        cannotWrite(path, systemMessage(target.error));
    if (!target.found)
        return { OutputTarget::Way::Replace, -1, false, target.path, std::nullopt };
    // What it is, decided on the opened file: O_PATH opens without reading,
    // writing or waiting for a FIFO's reader.
    const QByteArray name = nativeName(target.path);
    struct stat st
    { };
    ::close(openedAs(path, name, O_PATH | O_NOFOLLOW | O_CLOEXEC, st));
    if (S_ISREG(st.st_mode))
        return { OutputTarget::Way::Replace, -1,        false,    target.path,
                 st.st_mode & 07777,         st.st_uid, st.st_gid };
    if (S_ISDIR(st.st_mode))
        cannotWrite(path, systemMessage(EISDIR));
    if (S_ISLNK(st.st_mode))
        cannotWrite(path, Words::tr("開く間にシンボリックリンクに置き換えられました"));
    // The kernel's protected-fifos rule, kept for devices too and whatever
    // the system's setting: it does not hold for an open without O_CREAT, and
    // a FIFO someone else left in the shared folder would take the whole
    // output, or hold the command for as long as nobody reads it.
    if (!ownedHere(QFileInfo(target.path).path(), st))
        cannotWrite(path,
                    Words::tr("誰でも書き込めるスティッキーなフォルダーにある、"
                              "ほかのユーザーの%1です。そこには書き出しません")
                            .arg(S_ISFIFO(st.st_mode) ? Words::tr("FIFO") : Words::tr("デバイス")));
    // No O_CREAT, no O_TRUNC: a device or a FIFO is written as it is.
    struct stat opened
    { };
    const int fd = openedAs(path, name, O_WRONLY | O_NOCTTY | O_NOFOLLOW | O_CLOEXEC, opened);
    if (!sameFile(opened, st)) {
        ::close(fd);
        cannotWrite(path, Words::tr("開く間に別のファイルに置き換えられました"));
    }
    return { OutputTarget::Way::InPlace, fd, true, {}, {} };
}

void checkOutputFolder(const QString &path)
{
    const QFileInfo target(path);
    if (descriptorNamed(path) || (target.exists() && !target.isFile()))
        return;
    const QString folder = target.absolutePath();
    if (!QFileInfo(folder).isDir())
        cannotWrite(path, Words::tr("フォルダー「%1」がありません").arg(folder));
    if (::access(nativeName(folder).constData(), W_OK | X_OK) != 0)
        cannotWrite(path, systemMessage(errno));
}

bool namesStandardOutput(const QString &path)
{
    return descriptorNamed(path) == STDOUT_FILENO;
}

} // namespace kamorin
