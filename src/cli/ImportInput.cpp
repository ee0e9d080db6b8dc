#include "cli/ImportInput.h"

#include "benchmark/ResultsError.h"
#include "cli/StandardStreams.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace kamorin {

namespace {

// How long a wait lasts before the stop is looked at again.
constexpr int kWaitMilliseconds = 100;

} // namespace

ImportInput::ImportInput(const QString &file, std::function<bool()> stopRequested)
    : m_name(file == u"-" ? QStringLiteral("標準入力") : file),
      m_stopRequested(std::move(stopRequested))
{
    if (file == u"-") {
        m_fd = STDIN_FILENO;
        return;
    }
    // Without O_NONBLOCK, opening a FIFO waits for a writer where no signal
    // can end the wait; the reads then wait in poll() instead.
    m_fd = ::open(QFile::encodeName(file).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0)
        fail(errno);
    const int flags = fcntl(m_fd, F_GETFL);
    if (flags < 0 || fcntl(m_fd, F_SETFL, flags & ~O_NONBLOCK) < 0) {
        const int error = errno;
        ::close(m_fd);
        fail(error);
    }
}

ImportInput::~ImportInput()
{
    if (m_fd != STDIN_FILENO)
        ::close(m_fd);
}

void ImportInput::fail(int error) const
{
    throw ResultsError(
            QStringLiteral("「%1」は取り込めません: %2。").arg(m_name, systemMessage(error)),
            ResultsError::Kind::Document);
}

qsizetype ImportInput::read(char *buffer, qsizetype size)
{
    for (;;) {
        if (m_stopRequested())
            throw ImportStopped {};
        // A FIFO whose writer has not come yet is neither readable nor hung
        // up: the wait goes on until a writer comes and goes, or a stop.
        pollfd waiting { m_fd, POLLIN, 0 };
        const int ready = ::poll(&waiting, 1, kWaitMilliseconds);
        if (ready == 0 || (ready < 0 && errno == EINTR))
            continue;
        if (ready < 0)
            fail(errno);
        const ssize_t got = ::read(m_fd, buffer, std::size_t(size));
        if (got >= 0)
            return got;
        // stdin may have been left non-blocking by whoever shares it.
        if (errno != EINTR && errno != EAGAIN)
            fail(errno);
    }
}

} // namespace kamorin
