#include "output/StandardStreams.h"

#include "formats/TerminalText.h"

#include <QCoreApplication>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace kamorin {

namespace {

struct Words
{
    Q_DECLARE_TR_FUNCTIONS(StandardStreams)
};

} // namespace

std::optional<int> standardOutputColumns()
{
    if (!isatty(STDOUT_FILENO))
        return std::nullopt;
    bool number = false;
    const int columns = qEnvironmentVariableIntValue("COLUMNS", &number);
    if (number && columns > 0)
        return columns;
    winsize size {};
    if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0 || size.ws_col == 0)
        return std::nullopt;
    return size.ws_col;
}

bool writeAll(int fd, QByteArrayView bytes)
{
    const char *data = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, static_cast<std::size_t>(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        left -= written;
    }
    return true;
}

void endAsByBrokenPipe()
{
    signal(SIGPIPE, SIG_DFL);
    raise(SIGPIPE);
    _exit(128 + SIGPIPE);
}

QString systemMessage(int error)
{
    // The reasons a write most often meets, in the words of the program's
    // other messages; the C library knows only English without a Japanese
    // locale installed.
    switch (error) {
    case ENOSPC:
        return Words::tr("空き領域がありません");
    case EDQUOT:
        return Words::tr("ディスクの使用量の上限を超えました");
    case EACCES:
    case EPERM:
        return Words::tr("許可がありません");
    case EROFS:
        return Words::tr("読み出し専用のファイルシステムです");
    case ENOENT:
        return Words::tr("そのようなファイルやフォルダーはありません");
    case ENOTDIR:
        return Words::tr("途中にフォルダーでないものがあります");
    case EISDIR:
        return Words::tr("フォルダーです");
    case ELOOP:
        return Words::tr("シンボリックリンクをたどる回数が多すぎます");
    case ENXIO:
        return Words::tr("書き込める相手がいません（ソケットか、つながっていない装置です）");
    case EBADF:
        return Words::tr("開いていないファイル記述子です");
    case EFBIG:
        return Words::tr("ファイルが大きすぎます");
    case EIO:
        return Words::tr("入出力エラーです");
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}

void writeError(const QString &text)
{
    writeAll(STDERR_FILENO, text.toUtf8());
}

void writeOut(const QString &text)
{
    if (writeAll(STDOUT_FILENO, text.toUtf8()))
        return;
    const int error = errno;
    if (error == EPIPE)
        endAsByBrokenPipe();
    writeError(Words::tr("kamorin-cli: 標準出力に書き込めません: %1\n").arg(systemMessage(error)));
    throw OutputFailed {};
}

void writeErrors(const std::vector<RunError> &errors)
{
    for (const RunError &error : errors)
        writeError(QStringLiteral("kamorin-cli: ") + escapeControls(error.message) + u'\n');
}

void writeWarnings(const QStringList &warnings)
{
    for (const QString &warning : warnings)
        writeError(Words::tr("kamorin-cli: 警告: %1\n").arg(escapeControls(warning)));
}

namespace {

// A closed standard descriptor would be the number of the next file opened,
// Qt's own among them, and read or written as if it were the stream: it holds
// /dev/null instead, opened the other way, so that reading closed stdin or
// writing closed stdout still fails (EBADF) as it would have.
void holdIfClosed(int fd, int otherWay)
{
    if (fcntl(fd, F_GETFD) != -1 || errno != EBADF)
        return;
    const int placeholder = open("/dev/null", otherWay | O_CLOEXEC);
    if (placeholder >= 0 && placeholder != fd) {
        dup2(placeholder, fd);
        close(placeholder);
    }
}

} // namespace

void prepareStandardStreams()
{
    // In order: each placeholder takes the lowest number free.
    holdIfClosed(STDIN_FILENO, O_WRONLY);
    holdIfClosed(STDOUT_FILENO, O_RDONLY);
    signal(SIGPIPE, SIG_IGN);
}

} // namespace kamorin
