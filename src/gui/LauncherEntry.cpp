#include "gui/LauncherEntry.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QGuiApplication>
#include <QVariantMap>

#include <algorithm>
#include <cmath>

namespace kamorin {

namespace {

void sendUpdate(const QVariantMap &properties)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage update = QDBusMessage::createSignal(
            QStringLiteral("/io/github/kamorin/Kamorin/LauncherEntry"),
            QStringLiteral("com.canonical.Unity.LauncherEntry"), QStringLiteral("Update"));
    // The entry is found by the desktop file the window belongs to.
    update << QStringLiteral("application://%1.desktop").arg(QGuiApplication::desktopFileName())
           << properties;
    bus.send(update);
}

} // namespace

void LauncherEntry::showProgress(std::optional<double> fraction)
{
    if (!fraction) {
        if (!m_shownPercent)
            return;
        m_shownPercent.reset();
        sendUpdate({ { QStringLiteral("progress-visible"), false },
                     { QStringLiteral("progress"), 0.0 } });
        return;
    }
    const int percent = static_cast<int>(std::floor(std::clamp(*fraction, 0.0, 1.0) * 100));
    if (m_shownPercent == percent)
        return;
    m_shownPercent = percent;
    sendUpdate({ { QStringLiteral("progress-visible"), true },
                 { QStringLiteral("progress"), std::clamp(*fraction, 0.0, 1.0) } });
}

} // namespace kamorin
