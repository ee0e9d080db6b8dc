#include "cli/ProgressLine.h"

#include "formats/TerminalText.h"
#include "runtime/LoopProgress.h"

#include <QByteArray>

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <optional>
#include <sys/ioctl.h>
#include <unistd.h>

namespace kamorin {

namespace {

QString fixed(double value, int decimals)
{
    std::array<char, 64> buffer {};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                   std::chars_format::fixed, decimals)
                             .ptr;
    return QString::fromLatin1(buffer.data(), end - buffer.data());
}

QString twoDigits(long long value)
{
    return value < 10 ? u'0' + QString::number(value) : QString::number(value);
}

// Whole numbers as digits while they fit a line, beyond that in the form
// 1.00e+300; a count can be any finite double.
QString passes(double value)
{
    if (value < 1e15)
        return fixed(value, 0);
    std::array<char, 32> buffer {};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                   std::chars_format::scientific, 2)
                             .ptr;
    return QString::fromLatin1(buffer.data(), end - buffer.data());
}

constexpr double kSecondsPerDay = 86400;

// Tenths below a minute, whole seconds above: a run of 1000 億回 takes hours.
// Past 99 days, days alone: the rest would be noise.
QString duration(double seconds)
{
    if (!std::isfinite(seconds))
        return QStringLiteral("--");
    if (seconds < 60)
        return fixed(seconds, 1) + QStringLiteral(" 秒");
    if (seconds >= 100 * kSecondsPerDay)
        return passes(std::floor(seconds / kSecondsPerDay)) + QStringLiteral(" 日");
    const auto whole = static_cast<long long>(seconds);
    const long long hours = whole / 3600;
    const long long minutes = whole / 60 % 60;
    const QString rest = twoDigits(minutes) + QStringLiteral("分") + twoDigits(whole % 60)
            + QStringLiteral("秒");
    return hours > 0 ? QString::number(hours) + QStringLiteral("時間") + rest : rest;
}

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

QString progressLineText(const RunRegistry::Snapshot &snapshot)
{
    const double total = snapshot.totalPasses;
    const double done = std::min(snapshot.passesDone, total);
    const double fraction = total > 0 ? done / total : 0;
    QString line;
    if (!snapshot.label.isEmpty())
        line += snapshot.label + QStringLiteral("  ");
    line += fixed(fraction * 100, 1) + QStringLiteral("%  ") + passes(done) + u'/' + passes(total)
            + QStringLiteral(" 回  経過 ") + duration(snapshot.elapsedSeconds)
            + QStringLiteral("  残り ");
    // The rate so far is the best guess there is; before the first pass there is none.
    const RemainingTime left = remainingTime(fraction, snapshot.elapsedSeconds);
    if (left.kind == RemainingTime::Kind::Estimate)
        line += QStringLiteral("約 ") + duration(left.seconds);
    else if (left.kind == RemainingTime::Kind::BeyondEstimate)
        line += QStringLiteral("見積もれません");
    else
        line += QStringLiteral("--");
    return line;
}

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
