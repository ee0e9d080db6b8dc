#include "gui/QtPlatform.h"

#include "runtime/Clock.h"
#include "runtime/RuntimeError.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QMessageBox>
#include <QWidget>

namespace kamorin {

void QtPlatform::attach(Form &form, QWidget *window)
{
    m_windows[&form] = window;
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
    if (it == m_windows.end() || !it->second)
        return;
    it->second->show();
    it->second->raise();
    it->second->activateWindow();
}

void QtPlatform::unloadForm(Form &form)
{
    const auto it = m_windows.find(&form);
    if (it != m_windows.end() && it->second)
        it->second->close();
}

void QtPlatform::reportError(const RuntimeError &error)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Kamorin"), error.report(),
                    QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

} // namespace kamorin
