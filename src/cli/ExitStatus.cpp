#include "cli/ExitStatus.h"

#include "formats/TerminalText.h"
#include "output/StandardStreams.h"

#include <exception>
#include <new>
#include <unistd.h>

namespace kamorin {

int statusOf(const ResultsError &error)
{
    switch (error.kind()) {
    case ResultsError::Kind::Document:
        return kDocumentStatus;
    case ResultsError::Kind::NoSuchResult:
        return kNoSuchResultStatus;
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

// Memory that ran out where an exception cannot pass (a noexcept function
// inside Qt, another thread) ends the program as it ends elsewhere, with 71
// rather than an abort; the words are ready, since nothing more can be had.
void endAsTerminated()
{
    if (const std::exception_ptr current = std::current_exception()) {
        try {
            std::rethrow_exception(current);
        } catch (const std::bad_alloc &) {
            static const char kMessage[] = "kamorin-cli: メモリが足りません。\n";
            [[maybe_unused]] const ssize_t written
                    = ::write(STDERR_FILENO, kMessage, sizeof kMessage - 1);
            _exit(kSystemErrorStatus);
        } catch (...) { }
    }
    std::abort();
}

} // namespace kamorin
