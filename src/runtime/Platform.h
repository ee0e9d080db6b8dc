#pragma once

#include "runtime/AppVersion.h"

#include <QString>

#include <functional>

namespace kamorin {

class LoopProgress;
class Platform;
class RuntimeError;

// A window the platform can show and unload. Showing a form that is not
// loaded loads it: its controls get their design-time values back and its
// Form_Load runs, so nothing from an earlier life of the window carries over.
class Form
{
public:
    virtual ~Form() = default;

    bool isLoaded() const { return m_loaded; }

    // A Form_Load that fails leaves the form unloaded, so the next show tries afresh.
    void load(Platform &platform)
    {
        restoreDesign();
        runFormLoad(platform);
        m_loaded = true;
    }

    // The platform calls this once the form's window is gone.
    void unload() { m_loaded = false; }

    // What the form's controls show now, as a way back to it: calling the
    // result assigns back every property that has changed since.
    virtual std::function<void()> snapshot()
    {
        return [] {};
    }

    // Whether a press on one of its controls is being handled.
    bool pressRunning() const { return m_pressRunning; }
    void setPressRunning(bool running) { m_pressRunning = running; }

protected:
    virtual void restoreDesign() { }
    virtual void runFormLoad(Platform &) { }

private:
    bool m_loaded = false;
    bool m_pressRunning = false;
};

// What the handlers need from the desktop (or from a stand-in without one).
// The window implements it with Qt; tests and kamorin-cli with small
// in-memory versions.
class Platform
{
public:
    virtual ~Platform() = default;

    // Seconds on a monotonic clock: only the difference of two readings
    // means anything, and it never goes backwards.
    virtual double clockSeconds() = 0;

    // The clipboard, shared with other programs: emptied, then given plain text.
    virtual void clearClipboard() = 0;
    virtual void setClipboardText(const QString &text) = 0;

    // Loads the form on first use (its Form_Load runs) and shows it modeless;
    // a form already loaded is only brought to the front.
    virtual void showForm(Form &form) = 0;

    // The window is destroyed; the program ends when no form is left.
    virtual void unloadForm(Form &form) = 0;

    // Runs a handler's one long step, the series loop, which tells its progress to
    // `progress` and ends early with the cancelled error once a stop is
    // requested there. The window runs it on a worker thread and waits,
    // painting but taking no input, until it ends; without a window it runs
    // right here. Whatever the step throws leaves this call on the caller's
    // thread.
    virtual void runLongStep(LoopProgress &progress, const std::function<void()> &step)
    {
        (void)progress;
        step();
    }

    // Tells the user about an error that ended a handler.
    virtual void showError(const RuntimeError &error) = 0;

    // A run the user stopped: no error, so nothing to show; a log may keep it.
    virtual void noteStop(const RuntimeError &stop) { (void)stop; }

    // Major, Minor and Revision of the running program.
    virtual AppVersion appVersion() const { return kAppVersion; }
};

} // namespace kamorin
