#pragma once
// The tray icon that keeps reminders coming while the main window is closed: its menu opens the
// program again, shows the next reservations of the people the user is, and quits.

#include <QObject>

#include <functional>
#include <string>
#include <vector>

class QMenu;
class QSystemTrayIcon;

namespace orv {

class CReminderTray : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kOpen = "&Open ORV Scheduler";
    static constexpr const char* kNext = "Next reservations:";
    static constexpr const char* kNone = "(none in the next 24 hours)";
    static constexpr const char* kQuit = "&Quit";

    // `next` gives the lines of the next reservations each time the menu opens.
    CReminderTray(QObject* parent, std::function<std::vector<std::string>()> next);

    void show();
    void hide();
    QMenu* menu() const { return m_menu; }

signals:
    void openRequested();
    void quitRequested();

private:
    void fill();

    std::function<std::vector<std::string>()> m_next;
    QSystemTrayIcon* m_icon = nullptr;
    QMenu* m_menu = nullptr;
};

} // namespace orv
