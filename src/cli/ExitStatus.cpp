#include "cli/ExitStatus.h"

#include "cli/StandardStreams.h"
#include "formats/TerminalText.h"

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

} // namespace kamorin
