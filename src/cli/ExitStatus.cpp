#include "cli/ExitStatus.h"

#include "formats/TerminalText.h"
#include "output/StandardStreams.h"

#include <QCoreApplication>

#include <exception>
#include <new>
#include <string>
#include <unistd.h>

namespace kamorin {

int statusOf(const ResultsError &error)
{
    switch (error.kind()) {
    case ResultsError::Kind::Document:
        return kDocumentStatus;
    case ResultsError::Kind::NoSuchResult:
        return kNoSuchResultStatus;
    // A longer id names the result: a usage error, where 66 would tell a
    // script that the result is not there.
    case ResultsError::Kind::Ambiguous:
        return kUsageStatus;
    case ResultsError::Kind::Store:
        break;
    }
    return kStoreStatus;
}

int failed(const ResultsError &error)
{
    writeError(QStringLiteral("kamorin-cli: ") + escapeControls(error.message()) + u'\n');
    return statusOf(error);
}

namespace {

struct Words
{
    Q_DECLARE_TR_FUNCTIONS(ExitStatus)
};

// Until the language is installed, the program's own; made before main(),
// never when they are needed.
std::string lastWords = "kamorin-cli: メモリが足りません。\n";

} // namespace

void prepareLastWords()
{
    lastWords = Words::tr("kamorin-cli: メモリが足りません。\n").toStdString();
}

// Memory that ran out where an exception cannot pass (a noexcept function
// inside Qt, another thread) ends the program as it ends elsewhere, with 71
// rather than an abort; the words are ready, since nothing more can be had.
void endAsTerminated()
{
    if (const std::exception_ptr current = std::current_exception()) {
        try {
            std::rethrow_exception(current);
        } catch (const std::bad_alloc &) {
            [[maybe_unused]] const ssize_t written
                    = ::write(STDERR_FILENO, lastWords.data(), lastWords.size());
            _exit(kSystemErrorStatus);
        } catch (...) { }
    }
    std::abort();
}

} // namespace kamorin
