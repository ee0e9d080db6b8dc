#pragma once

#include "benchmark/BenchmarkResult.h"
#include "runtime/Platform.h"

#include <QString>
#include <QStringList>

namespace kamorin {

class RunRegistry;

// The platform without a display: the steady clock, errors kept for the
// front to tell when the output is done.
class HeadlessPlatform : public Platform
{
public:
    // Without a registry a run cannot be stopped and shows no progress.
    explicit HeadlessPlatform(RunRegistry *registry = nullptr) : m_registry(registry) { }

    double clockSeconds() override;
    void clearClipboard() override;
    void setClipboardText(const QString &text) override;
    void showForm(Form &form) override;
    void unloadForm(Form &form) override;
    void runLongStep(LoopProgress &progress, const std::function<void()> &step) override;
    void showError(const RuntimeError &error) override;

    // What COPY put on the clipboard; there is no desktop clipboard here.
    const QString &clipboardText() const { return m_clipboard; }

    // 実行 reads the clock once before the loop and once after it, and keeps
    // only a single-precision difference; these keep the full one.
    void forgetClockReadings() { m_readings = 0; }
    // Whether both readings of a press were taken: the run reached its end,
    // so its results are on the form even if a later step failed.
    bool runReachedItsEnd() const { return m_readings >= 2; }
    double firstReading() const { return m_previous; }
    double lastReading() const { return m_last; }
    double secondsBetweenLastReadings() const { return m_last - m_previous; }
    // The passes the last series loop was to make, as the loop itself counted them.
    double lastLoopPasses() const { return m_lastLoopPasses; }

    // The errors that ended handlers, oldest first; taking them empties the list.
    std::vector<RunError> takeErrors();

private:
    RunRegistry *m_registry;
    QString m_clipboard;
    std::vector<RunError> m_errors;
    int m_readings = 0;
    double m_previous = 0;
    double m_last = 0;
    double m_lastLoopPasses = 0;
};

} // namespace kamorin
