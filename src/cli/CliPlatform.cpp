#include "cli/CliPlatform.h"

#include "runtime/Clock.h"
#include "runtime/RuntimeError.h"

#include <cstdio>

namespace kamorin {

double CliPlatform::clockSeconds()
{
    return monotonicSeconds();
}

void CliPlatform::clearClipboard()
{
    m_clipboard.clear();
}

void CliPlatform::setClipboardText(const QString &text)
{
    m_clipboard = text;
}

void CliPlatform::showForm(Form &) { }

void CliPlatform::unloadForm(Form &) { }

void CliPlatform::reportError(const RuntimeError &error)
{
    const QByteArray line = (QStringLiteral("kamorin-cli: ") + error.report() + u'\n').toUtf8();
    std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stderr);
}

} // namespace kamorin
