#pragma once

#include "runtime/Platform.h"

#include <QString>

namespace kamorin {

// The platform without a display: the steady clock, and errors on stderr.
class CliPlatform : public Platform
{
public:
    double clockSeconds() override;
    void clearClipboard() override;
    void setClipboardText(const QString &text) override;
    void showForm(Form &form) override;
    void unloadForm(Form &form) override;
    void reportError(const RuntimeError &error) override;

    // What COPY put on the clipboard; there is no desktop clipboard here.
    const QString &clipboardText() const { return m_clipboard; }

private:
    QString m_clipboard;
};

} // namespace kamorin
