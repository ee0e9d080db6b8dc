#pragma once

#include "runtime/Platform.h"

#include <QPointer>

#include <functional>
#include <memory>
#include <unordered_map>

class QWidget;

namespace kamorin {

class RunWatcher;

// The desktop behind the handlers: Qt windows, message boxes, the steady clock.
// The forms it knows must outlive it: a window it made watches its form to the end.
class QtPlatform : public Platform
{
public:
    using WindowFactory = std::function<std::unique_ptr<QWidget>()>;

    QtPlatform();
    ~QtPlatform() override;

    // The window that shows `form`, made and loaded elsewhere (the main
    // window), so that unloading the form closes it.
    void attach(Form &form, QWidget *window);

    // A form whose window the platform makes itself: showing the form while it
    // is not loaded loads it and makes its window; unloading closes the window,
    // which then deletes itself. The window must call windowClosed() when it
    // closes, however that came about.
    void registerWindow(Form &form, WindowFactory create);
    // The form is going away: its window, if it has one, goes at once.
    void unregister(Form &form);
    void windowClosed(Form &form);

    QWidget *windowOf(Form &form) const;

    // Shown each long run as it goes; may be null.
    void setRunWatcher(RunWatcher *watcher) { m_runWatcher = watcher; }

    double clockSeconds() override;
    void clearClipboard() override;
    void setClipboardText(const QString &text) override;
    void showForm(Form &form) override;
    void unloadForm(Form &form) override;
    void runLongStep(LoopProgress &progress, const std::function<void()> &step) override;
    void showError(const RuntimeError &error) override;
    void noteStop(const RuntimeError &stop) override;

private:
    bool isAttachedWindow(const QWidget *window) const;
    bool isCreatedWindow(const QWidget *window) const;

    struct FormWindow
    {
        QPointer<QWidget> attached;
        WindowFactory create;
        std::unique_ptr<QWidget> created;

        QWidget *window() const { return created ? created.get() : attached.data(); }
    };

    std::unordered_map<Form *, FormWindow> m_windows;
    RunWatcher *m_runWatcher = nullptr;
    // A window closed during a run: the run was stopped for it, and it
    // closes as soon as the handler has ended, with no box in between.
    QPointer<QWidget> m_closingWindow;
};

} // namespace kamorin
