#include "benchmark/HeadlessPlatform.h"

#include "benchmark/RunRegistry.h"
#include "runtime/Clock.h"
#include "runtime/LoopProgress.h"
#include "runtime/RuntimeError.h"

#include <utility>

namespace kamorin {

double HeadlessPlatform::clockSeconds()
{
    const double now = monotonicSeconds();
    m_previous = m_readings == 0 ? now : m_last;
    m_last = now;
    ++m_readings;
    return now;
}

void HeadlessPlatform::clearClipboard()
{
    m_clipboard.clear();
}

void HeadlessPlatform::setClipboardText(const QString &text)
{
    m_clipboard = text;
}

void HeadlessPlatform::showForm(Form &) { }

void HeadlessPlatform::unloadForm(Form &) { }

void HeadlessPlatform::runLongStep(LoopProgress &progress, const std::function<void()> &step)
{
    m_lastLoopPasses = 0;
    if (m_registry) {
        const RunRegistry::Registration registration(*m_registry, progress);
        step();
    } else {
        step();
    }
    m_lastLoopPasses = progress.totalPasses();
}

void HeadlessPlatform::showError(const RuntimeError &error)
{
    m_errors.push_back({ static_cast<int>(error.number()), error.report() });
}

std::vector<RunError> HeadlessPlatform::takeErrors()
{
    return std::exchange(m_errors, {});
}

} // namespace kamorin
