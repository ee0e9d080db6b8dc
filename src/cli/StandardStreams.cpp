#include "cli/StandardStreams.h"

#include "cli/TerminalText.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

namespace kamorin {

namespace {

// The whole text, through every short write and interruption; errno on failure.
bool writeAll(int fd, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    const char *data = bytes.constData();
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

} // namespace

QString systemMessage(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

void writeError(const QString &text)
{
    writeAll(STDERR_FILENO, text);
}

void writeOut(const QString &text)
{
    if (writeAll(STDOUT_FILENO, text))
        return;
    const int error = errno;
    if (error == EPIPE) {
        signal(SIGPIPE, SIG_DFL);
        raise(SIGPIPE);
        _exit(128 + SIGPIPE);
    }
    writeError(QStringLiteral("kamorin-cli: 標準出力に書き込めません: ") + systemMessage(error)
               + u'\n');
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
        writeError(QStringLiteral("kamorin-cli: 警告: ") + escapeControls(warning) + u'\n');
}

void prepareStandardStreams()
{
    if (fcntl(STDOUT_FILENO, F_GETFD) == -1 && errno == EBADF) {
        const int placeholder = open("/dev/null", O_RDONLY | O_CLOEXEC);
        if (placeholder >= 0 && placeholder != STDOUT_FILENO) {
            dup2(placeholder, STDOUT_FILENO);
            close(placeholder);
        }
    }
    signal(SIGPIPE, SIG_IGN);
}

} // namespace kamorin
