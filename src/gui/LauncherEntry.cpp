#include "gui/LauncherEntry.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QFileInfo>
#include <QGuiApplication>
#include <QVariantMap>

#include <algorithm>
#include <cmath>

namespace kamorin {

namespace {

// Asking D-Bus for a session bus where there is none would start one for the
// X display (autolaunch), a daemon that outlives the program: only a bus the
// desktop announces, or the user's bus socket, is used.
bool sessionBusExists()
{
    if (qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS"))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo(runtime + QStringLiteral("/bus")).exists();
}

void sendUpdate(const QVariantMap &properties)
{
    static const bool busExists = sessionBusExists();
    if (!busExists)
        return;
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
