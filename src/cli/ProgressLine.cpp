#include "cli/ProgressLine.h"

#include "formats/ProgressText.h"
#include "formats/TerminalText.h"

#include <QByteArray>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <sys/ioctl.h>
#include <unistd.h>

namespace kamorin {

namespace {

void writeToStderr(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stderr);
    std::fflush(stderr);
}

const QString kWipe = QStringLiteral("\r\x1b[K");

// Read at every redraw, so the line follows a resize; none when unknown.
std::optional<int> terminalColumns()
{
    winsize size {};
    if (ioctl(STDERR_FILENO, TIOCGWINSZ, &size) != 0 || size.ws_col == 0)
        return std::nullopt;
    return size.ws_col;
}

} // namespace

ProgressLine::ProgressLine(RunRegistry &registry) : m_registry(registry)
{
    m_registry.setIdleHook([this] {
        if (m_shown)
            writeToStderr(kWipe);
        m_shown = false;
    });
    try {
        m_thread = std::thread([this] { tick(); });
    } catch (...) {
        m_registry.setIdleHook({});
        throw;
    }
}

ProgressLine::~ProgressLine()
{
    {
        const std::lock_guard lock(m_mutex);
        m_quitting = true;
    }
    m_wake.notify_one();
    m_thread.join();
    m_registry.setIdleHook({});
    m_registry.withSnapshot([this](const RunRegistry::Snapshot &) {
        if (m_shown)
            writeToStderr(kWipe);
    });
}

void ProgressLine::tick()
{
    std::unique_lock lock(m_mutex);
    while (!m_wake.wait_for(lock, std::chrono::milliseconds(200), [this] { return m_quitting; })) {
        m_registry.withSnapshot([this](const RunRegistry::Snapshot &snapshot) {
            if (!snapshot.running)
                return;
            // One column short of the width: a line that reaches the last
            // column wraps on some terminals.
            QString line = progressLineText(snapshot);
            if (const auto columns = terminalColumns())
                line = leadingColumns(line, std::max(0, *columns - 1));
            // Written first and wiped after, so the line never blinks empty.
            writeToStderr(u'\r' + line + QStringLiteral("\x1b[K"));
            m_shown = true;
        });
    }
}

} // namespace kamorin
