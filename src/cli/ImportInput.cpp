#include "cli/ImportInput.h"

#include "output/StandardStreams.h"
#include "results/ResultsError.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace kamorin {

namespace {

struct Words
{
    Q_DECLARE_TR_FUNCTIONS(ImportInputWords)
};

} // namespace

ImportInput::ImportInput(const QString &file) : m_name(file == u"-" ? Words::tr("標準入力") : file)
{
    if (file == u"-") {
        m_fd = STDIN_FILENO;
        return;
    }
    m_fd = ::open(QFile::encodeName(file).constData(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0)
        fail(errno);
}

ImportInput::~ImportInput()
{
    if (m_fd != STDIN_FILENO)
        ::close(m_fd);
}

void ImportInput::fail(int error) const
{
    throw ResultsError(Words::tr("「%1」は取り込めません: %2。").arg(m_name, systemMessage(error)),
                       ResultsError::Kind::Document);
}

qsizetype ImportInput::read(char *buffer, qsizetype size)
{
    for (;;) {
        const ssize_t got = ::read(m_fd, buffer, static_cast<std::size_t>(size));
        if (got >= 0)
            return got;
        if (errno == EAGAIN) {
            // stdin may have been left non-blocking by whoever shares it.
            pollfd waiting { m_fd, POLLIN, 0 };
            ::poll(&waiting, 1, -1);
        } else if (errno != EINTR) {
            fail(errno);
        }
    }
}

} // namespace kamorin
