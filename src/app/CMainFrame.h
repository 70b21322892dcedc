#pragma once
// The main window: the group windows in an MDI area, the main menu (no group open) or the group
// menu (a group window is active), the toolbar, the status bar with command prompts and the
// CAP/NUM/SCRL indicators, dropped group files, and context help.
//
// Every command has one QAction (Command.h). Whether an entry is enabled is the central table
// set with setCommandEnabled() combined with the routing: a group command is enabled only when
// the active group window's CGroupCommandTarget handles it and says it is available.

#include "app/Command.h"

#include <QMainWindow>

#include <array>
#include <string>
#include <vector>

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QMimeData;
class QTimer;
class QToolBar;

namespace orv {

class CChildFrame;
class CContextHelpMode;
class CGroupCommandTarget;
class CReminderTray;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    QAction* action(Command command) const { return m_actions[index(command)]; }

    // The central table: false greys the command whatever handles it.
    void setCommandEnabled(Command command, bool enabled);
    bool isCommandEnabled(Command command) const { return m_enabled[index(command)]; }
    // Recomputes every entry's enabled and checked state (menus and toolbar). The main view calls
    // it when the availability of one of its commands changes.
    void updateCommandStates();

    // Adds a group window showing `view` for `groupPath`; `target` (may be null) receives the
    // group commands. The frame owns the window; it is deleted when it closes.
    CChildFrame* addGroupWindow(QWidget* view, const QString& groupPath,
                                CGroupCommandTarget* target);
    // Adds a group window made elsewhere.
    void addChildFrame(CChildFrame* child);
    CChildFrame* activeChildFrame() const;
    std::vector<CChildFrame*> childFrames() const;
    void activate(CChildFrame* child);
    QMdiArea* mdiArea() const { return m_mdi; }

    // Menus of each set in menu bar order.
    const std::vector<QMenu*>& mainMenus() const { return m_mainMenus; }
    const std::vector<QMenu*>& groupMenus() const { return m_groupMenus; }
    bool showsGroupMenu() const { return m_showsGroupMenu; }
    QToolBar* toolBar() const { return m_toolBar; }
    QLabel* idleLabel() const { return m_idle; }
    QLabel* indicator(int index) const { return m_indicators[static_cast<std::size_t>(index)]; }

    void setRecentFiles(const QStringList& files);
    // Appends "&Tutorial" to the main menu's Help menu (once).
    void appendTutorialToMainHelp();

    CContextHelpMode* contextHelpMode() const { return m_contextHelp; }
    // The help topic of a click on `widget` at `pos` in context help mode.
    QString topicAt(QWidget* widget, QPoint pos) const;

    static constexpr const char* kKeepInTray =
        "Keep ORV Scheduler running in the system tray, so that it can go on reminding you of "
        "your reservations?";
    // Closing the window while a group reminds its user: once asked, kept in the tray or not.
    CReminderTray* reminderTray() const { return m_tray; }

    // Dropped files: those named ".sch", in order.
    static QStringList groupFilesIn(const QMimeData* data);

signals:
    // Commands routed to the application object.
    void applicationCommand(orv::Command command);
    void recentFileChosen(const QString& path);
    void filesDropped(const QStringList& paths);

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static std::size_t index(Command c) { return static_cast<std::size_t>(c); }
    void createActions();
    void createMenus();
    void createToolBar();
    void createStatusBar();
    QMenu* newMenu(const QString& title, std::vector<QMenu*>& set);
    void addEntries(QMenu* menu, std::initializer_list<Command> commands);
    QMenu* newRecentMenu(QMenu* file);
    void run(Command command);
    void runFrameCommand(Command command);
    void closeActiveGroup();
    void showMenus(bool group);
    void childWindowsChanged();
    void updateTitle();
    void updateIndicators();
    void fillWindowList(QMenu* menu);
    CGroupCommandTarget* activeTarget() const;
    // Hides the window into the tray when a group reminds its user and the user wants that.
    bool keepInTray();
    std::vector<std::string> nextReservations() const;

    QMdiArea* m_mdi;
    CReminderTray* m_tray = nullptr;
    bool m_quitting = false;
    std::array<QAction*, static_cast<std::size_t>(Command::count)> m_actions{};
    std::array<bool, static_cast<std::size_t>(Command::count)> m_enabled{};
    std::vector<QMenu*> m_mainMenus;
    std::vector<QMenu*> m_groupMenus;
    std::vector<QMenu*> m_recentMenus;
    QMenu* m_mainHelp = nullptr;
    QMenu* m_groupHelp = nullptr;
    QMenu* m_windowMenu = nullptr;
    std::vector<QAction*> m_windowListActions;
    bool m_showsGroupMenu = false;
    bool m_groupHelpExtended = false;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_idle = nullptr;
    std::array<QLabel*, 3> m_indicators{};
    QTimer* m_indicatorTimer = nullptr;
    QStringList m_recentFiles;
    CContextHelpMode* m_contextHelp;
};

} // namespace orv
