#include "gui/QtPlatform.h"

#include "gui/LongStepWait.h"
#include "runtime/Clock.h"
#include "runtime/RuntimeError.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace kamorin {

QtPlatform::QtPlatform() = default;

QtPlatform::~QtPlatform()
{
    for (auto &[form, entry] : m_windows) {
        if (entry.created)
            form->unload();
    }
}

void QtPlatform::attach(Form &form, QWidget *window)
{
    m_windows[&form].attached = window;
}

void QtPlatform::registerWindow(Form &form, WindowFactory create)
{
    m_windows[&form].create = std::move(create);
}

void QtPlatform::unregister(Form &form)
{
    const auto it = m_windows.find(&form);
    if (it == m_windows.end())
        return;
    if (it->second.created)
        form.unload();
    m_windows.erase(it);
}

void QtPlatform::windowClosed(Form &form)
{
    const auto it = m_windows.find(&form);
    if (it == m_windows.end() || !it->second.created)
        return;
    // From here the window is Qt's: it deletes itself once it has finished closing.
    QWidget *window = it->second.created.release();
    window->setAttribute(Qt::WA_DeleteOnClose);
    form.unload();
}

QWidget *QtPlatform::windowOf(Form &form) const
{
    const auto it = m_windows.find(&form);
    return it == m_windows.end() ? nullptr : it->second.window();
}

double QtPlatform::clockSeconds()
{
    return monotonicSeconds();
}

void QtPlatform::clearClipboard()
{
    QGuiApplication::clipboard()->clear();
}

void QtPlatform::setClipboardText(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
}

void QtPlatform::showForm(Form &form)
{
    const auto it = m_windows.find(&form);
    if (it == m_windows.end())
        return;
    FormWindow &entry = it->second;
    if (entry.create && !entry.created) {
        // The window is made from the loaded form, so it never shows the
        // design-time texts that Form_Load replaces.
        form.load(*this);
        entry.created = entry.create();
    }
    QWidget *window = entry.window();
    if (!window)
        return;
    window->show();
    window->raise();
    window->activateWindow();
}

void QtPlatform::unloadForm(Form &form)
{
    if (QWidget *window = windowOf(form))
        window->close();
}

bool QtPlatform::isAttachedWindow(const QWidget *window) const
{
    for (const auto &[form, entry] : m_windows) {
        if (entry.attached == window)
            return true;
    }
    return false;
}

bool QtPlatform::isCreatedWindow(const QWidget *window) const
{
    for (const auto &[form, entry] : m_windows) {
        if (entry.created && entry.created.get() == window)
            return true;
    }
    return false;
}

void QtPlatform::runLongStep(LoopProgress &progress, const std::function<void()> &step)
{
    // The version dialog stays in use: it writes nothing the run reads.
    LongStepWait wait(
            progress, m_runWatcher,
            [this](const QWidget *window) { return isAttachedWindow(window); },
            [this](const QWidget *window) { return isCreatedWindow(window); });
    const auto closeWhenDone = [&] {
        m_closingWindow = wait.closeRequested();
        if (m_closingWindow)
            QTimer::singleShot(0, m_closingWindow.data(), [this] {
                if (QWidget *window = m_closingWindow.data())
                    window->close();
                m_closingWindow = nullptr;
            });
    };
    try {
        wait.run(step);
    } catch (...) {
        closeWhenDone();
        throw;
    }
    closeWhenDone();
}

namespace {

void writeToStderr(const RuntimeError &error)
{
    const QByteArray line = (QStringLiteral("kamorin: ") + error.report() + u'\n').toUtf8();
    std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stderr);
}

} // namespace

void QtPlatform::showError(const RuntimeError &error)
{
    // Also on stderr, where a terminal or a log keeps it after the box is gone.
    writeToStderr(error);
    // The user closed the window to stop the run: it goes without a word.
    if (m_closingWindow)
        return;

    QMessageBox box(QMessageBox::Critical, QStringLiteral("Kamorin"), error.report(),
                    QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

void QtPlatform::noteStop(const RuntimeError &stop)
{
    writeToStderr(stop);
}

} // namespace kamorin
