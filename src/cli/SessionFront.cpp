#include "cli/SessionFront.h"

#include "formats/WarningText.h"
#include "output/StandardStreams.h"
#include "runtime/RuntimeError.h"

#include <unistd.h>

namespace kamorin {

void SessionFront::runsBegin()
{
    m_watcher.stopRunsOnSignal();
    if (m_options.progress && isatty(STDERR_FILENO) && qgetenv("TERM") != "dumb")
        m_progress.emplace(m_registry);
}

void SessionFront::machineChecked(const std::vector<Warning> &warnings)
{
    if (!outputFormEntry(m_options.form).carriesNotices)
        writeWarnings(warningTextsTold(Told::BeforeRuns, warnings));
}

void SessionFront::runsOver()
{
    m_progress.reset();
    m_watcher.endProcessOnSignal();
}

SessionPlan planOf(const RunOptions &options)
{
    const bool keep = options.save || options.page.has_value();
    return { options.series,
             options.autoCount,
             options.minimumSeconds,
             options.cpu,
             options.threads,
             options.forceThreads,
             options.rank,
             keep,
             options.save,
             options.rank || options.page.has_value(),
             !outputFormEntry(options.form).forMachines };
}

int stopped(int signalNumber)
{
    writeError(QStringLiteral("kamorin-cli: ") + RuntimeError(ErrorNumber::Cancelled).report()
               + u'\n');
    return 128 + signalNumber;
}

} // namespace kamorin
