#pragma once
// Shows reminders and change notices on the desktop: through the freedesktop notification
// service on the session bus, with the actions "Open day list" and "Dismiss", or, where no such
// service runs, as a message of a tray icon.

#include <QObject>

#include <functional>
#include <map>

class QSystemTrayIcon;

namespace orv {

struct CNotice;

class CDesktopNotifier : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kService = "org.freedesktop.Notifications";
    static constexpr const char* kPath = "/org/freedesktop/Notifications";
    static constexpr const char* kOpenAction = "open-day-list";
    static constexpr const char* kOpenText = "Open day list";
    static constexpr const char* kDismissText = "Dismiss";

    // One for the program: the bus delivers the actions of its notices.
    static CDesktopNotifier& instance();

    // `open` runs when the user picks "Open day list" (not after the notice was closed).
    void show(const CNotice& notice, std::function<void()> open);

private slots:
    void actionInvoked(uint id, const QString& action);
    void notificationClosed(uint id, uint reason);

private:
    CDesktopNotifier();
    // False when no notification service runs (`open` then stays with the caller).
    bool viaBus(const CNotice& notice, std::function<void()>& open);
    void inTray(const CNotice& notice, std::function<void()> open);

    bool m_connected = false;
    std::map<uint, std::function<void()>> m_open;
    QSystemTrayIcon* m_tray = nullptr;
    std::function<void()> m_trayOpen;
};

} // namespace orv
