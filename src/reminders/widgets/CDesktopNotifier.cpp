#include "reminders/widgets/CDesktopNotifier.h"

#include "reminders/CReminders.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QIcon>
#include <QSystemTrayIcon>
#include <QVariantMap>

namespace orv {
namespace {
const QString kInterface = QString::fromLatin1(CDesktopNotifier::kService);
}

CDesktopNotifier& CDesktopNotifier::instance() {
    static CDesktopNotifier* notifier = new CDesktopNotifier; // lives as long as the program
    return *notifier;
}

CDesktopNotifier::CDesktopNotifier() : QObject(qApp) {}

bool CDesktopNotifier::viaBus(const CNotice& notice, std::function<void()>& open) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface() ||
        !bus.interface()->isServiceRegistered(kInterface).value())
        return false;
    if (!m_connected) {
        bus.connect(kInterface, QString::fromLatin1(kPath), kInterface,
                    QStringLiteral("ActionInvoked"), this,
                    SLOT(actionInvoked(uint, QString)));
        bus.connect(kInterface, QString::fromLatin1(kPath), kInterface,
                    QStringLiteral("NotificationClosed"), this,
                    SLOT(notificationClosed(uint, uint)));
        m_connected = true;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(kInterface, QString::fromLatin1(kPath),
                                                       kInterface, QStringLiteral("Notify"));
    const QStringList actions = {QString::fromLatin1(kOpenAction), QString::fromLatin1(kOpenText),
                                 QStringLiteral("default"), QString::fromLatin1(kOpenText),
                                 QStringLiteral("dismiss"), QString::fromLatin1(kDismissText)};
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("orvsched"));
    hints.insert(QStringLiteral("category"), QStringLiteral("x-orvsched.reminder"));
    call << QStringLiteral("ORV Scheduler") << uint(0) << QStringLiteral("orvsched")
         << QString::fromLatin1(notice.summary.c_str()) << QString::fromLatin1(notice.body.c_str())
         << actions << hints << int(-1);
    // Not waited for: the service may be slow, and the window keeps answering meanwhile.
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, notice, open = std::move(open)](QDBusPendingCallWatcher* done) mutable {
                const QDBusPendingReply<uint> reply = *done;
                done->deleteLater();
                if (reply.isError())
                    inTray(notice, std::move(open));
                else
                    m_open[reply.value()] = std::move(open);
            });
    return true;
}

void CDesktopNotifier::show(const CNotice& notice, std::function<void()> open) {
    if (!viaBus(notice, open)) inTray(notice, std::move(open));
}

void CDesktopNotifier::inTray(const CNotice& notice, std::function<void()> open) {
    if (!QSystemTrayIcon::isSystemTrayAvailable()) return;
    if (!m_tray) {
        m_tray = new QSystemTrayIcon(QApplication::windowIcon(), this);
        connect(m_tray, &QSystemTrayIcon::messageClicked, this, [this] {
            if (m_trayOpen) m_trayOpen();
        });
        m_tray->show();
    }
    m_trayOpen = std::move(open);
    m_tray->showMessage(QString::fromLatin1(notice.summary.c_str()),
                        QString::fromLatin1(notice.body.c_str()));
}

void CDesktopNotifier::actionInvoked(uint id, const QString& action) {
    const auto it = m_open.find(id);
    if (it == m_open.end()) return;
    const std::function<void()> open = it->second;
    m_open.erase(it);
    if (action == QLatin1String(kOpenAction) || action == QLatin1String("default"))
        if (open) open();
}

void CDesktopNotifier::notificationClosed(uint id, uint) {
    m_open.erase(id);
}

} // namespace orv
