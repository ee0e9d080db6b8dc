#pragma once

#include "runtime/Platform.h"
#include "runtime/RuntimeError.h"

#include <deque>
#include <functional>
#include <vector>

namespace kamorin::test {

// A platform whose clock reads what the test says: a run "takes" exactly
// the elapsed time it is given.
class FakePlatform : public Platform
{
public:
    void setElapsed(double seconds) { m_readings = { 5000.0, 5000.0 + seconds }; }

    double clockSeconds() override
    {
        if (onClockRead)
            onClockRead();
        if (m_readings.empty())
            return 5000.0;
        const double reading = m_readings.front();
        m_readings.pop_front();
        return reading;
    }
    void clearClipboard() override
    {
        clipboard.clear();
        clipboardLog.push_back(QStringLiteral("clear"));
    }
    void setClipboardText(const QString &text) override
    {
        clipboard = text;
        clipboardLog.push_back(QStringLiteral("set"));
    }
    void runLongStep(LoopProgress &progress, const std::function<void()> &step) override
    {
        if (onLongStep)
            onLongStep(progress);
        step();
    }
    void showForm(Form &form) override { shown.push_back(&form); }
    void unloadForm(Form &form) override { unloaded.push_back(&form); }
    AppVersion appVersion() const override { return version; }
    void showError(const RuntimeError &error) override { errors.push_back(error.number()); }
    void noteStop(const RuntimeError &stop) override { stops.push_back(stop.number()); }

    std::function<void()> onClockRead;
    // Called as the long step starts, with what it reports to.
    std::function<void(LoopProgress &)> onLongStep;
    std::vector<Form *> shown;
    std::vector<Form *> unloaded;
    QString clipboard;
    std::vector<QString> clipboardLog;
    AppVersion version = kAppVersion;
    std::vector<ErrorNumber> errors;
    std::vector<ErrorNumber> stops;

private:
    std::deque<double> m_readings { 5000.0, 5000.0 };
};

} // namespace kamorin::test
