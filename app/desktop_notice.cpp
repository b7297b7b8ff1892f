#include "app/desktop_notice.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>

namespace loglezer {

void send_desktop_notice(const AllowanceNotice& notice) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    const uint replaces_none = 0;
    const int default_timeout = -1;
    call << QStringLiteral("loglezer") << replaces_none << QStringLiteral("io.github.loglezer.Loglezer")
         << QString::fromStdString(notice.summary) << QString::fromStdString(notice.body) << QStringList()
         << QVariantMap() << default_timeout;
    // The answer (the notice's id, or an error without a service) is not
    // awaited: the window never waits for the desktop.
    bus.send(call);
}

}  // namespace loglezer
