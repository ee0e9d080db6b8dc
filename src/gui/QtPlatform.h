#pragma once

#include "runtime/Platform.h"

#include <QPointer>

#include <unordered_map>

class QWidget;

namespace kamorin {

// The desktop behind the handlers: Qt windows, message boxes, the steady clock.
class QtPlatform : public Platform
{
public:
    // The window that shows `form`, so that unloading the form closes it.
    void attach(Form &form, QWidget *window);

    double clockSeconds() override;
    void clearClipboard() override;
    void setClipboardText(const QString &text) override;
    void showForm(Form &form) override;
    void unloadForm(Form &form) override;
    void reportError(const RuntimeError &error) override;

private:
    std::unordered_map<Form *, QPointer<QWidget>> m_windows;
};

} // namespace kamorin
