#include "app/CMainFrame.h"

#include "app/CChildFrame.h"
#include "app/CContextHelpMode.h"
#include "app/CGroupCommandTarget.h"
#include "app/CORVSchedApp.h"
#include "app/CORVSchedView.h"
#include "app/CRecentFileList.h"
#include "group/CSettings.h"
#include "group/CUserPrompt.h"
#include "reminders/CAgenda.h"
#include "reminders/CReminders.h"
#include "reminders/widgets/CReminderTray.h"
#include "tables/CClock.h"
#include "ui/CAppIcons.h"
#include "ui/CHelpWindow.h"
#include "ui/HelpTopics.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <optional>

namespace orv {
namespace {

constexpr const char* kCommandProperty = "orvCommand";
constexpr const char* kIndicatorTexts[] = {"CAP", "NUM", "SCRL"};
constexpr const char* kIndicatorLeds[] = {"capslock", "numlock", "scrolllock"};

// Keyboard lock state from the kernel's keyboard LEDs; off when none can be read.
bool ledOn(const char* led) {
    const QDir leds(QStringLiteral("/sys/class/leds"));
    const QStringList names =
        leds.entryList({QStringLiteral("*::%1").arg(QLatin1String(led))}, QDir::Dirs);
    for (const QString& name : names) {
        QFile file(leds.filePath(name + QStringLiteral("/brightness")));
        if (file.open(QIODevice::ReadOnly) && file.readAll().trimmed().toInt() > 0) return true;
    }
    return false;
}

} // namespace

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("mainFrame"));
    setWindowTitle(QStringLiteral("ORV Scheduler"));
    setWindowIcon(CAppIcons::app());
    setAcceptDrops(true);
    m_mdi = new QMdiArea(this);
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdi);
    m_contextHelp =
        new CContextHelpMode([this](QWidget* w, QPoint pos) { return topicAt(w, pos); }, this);
    connect(m_contextHelp, &CContextHelpMode::topicChosen, this,
            [](const QString& topic) { showHelp(topic); });

    m_enabled.fill(true);
    // Creating groups arrives with the group document.
    m_enabled[index(Command::newGroup)] = false;

    createActions();
    createMenus();
    createToolBar();
    createStatusBar();
    connect(m_mdi, &QMdiArea::subWindowActivated, this, [this] { childWindowsChanged(); });
    showMenus(false);
    updateCommandStates();
    resize(800, 600);
}

CMainFrame::~CMainFrame() {
    // The children go after this part of the object; none may call back into it.
    for (QObject* child : findChildren<QObject*>())
        child->disconnect(this);
}

void CMainFrame::createActions() {
    for (const CommandInfo& info : allCommands()) {
        auto* a = new QAction(QString::fromLatin1(info.text), this);
        a->setProperty(kCommandProperty, static_cast<int>(info.id));
        if (*info.shortcut) a->setShortcut(QKeySequence(QString::fromLatin1(info.shortcut)));
        a->setStatusTip(QString::fromLatin1(info.prompt));
        if (*info.shortName) a->setToolTip(QString::fromLatin1(info.shortName));
        a->setIconVisibleInMenu(false);
        const Command c = info.id;
        connect(a, &QAction::triggered, this, [this, c] { run(c); });
        m_actions[index(c)] = a;
    }
    action(Command::toolbar)->setCheckable(true);
    action(Command::statusBar)->setCheckable(true);
    action(Command::newGroup)->setIcon(CAppIcons::newGroup());
    action(Command::openGroup)->setIcon(CAppIcons::openGroup());
    action(Command::peopleAdd)->setIcon(CAppIcons::addPerson());
    action(Command::addItem)->setIcon(CAppIcons::addItem());
    action(Command::daysReservations)->setIcon(CAppIcons::dayReservations());
    action(Command::print)->setIcon(CAppIcons::print());
    action(Command::about)->setIcon(CAppIcons::about());
    action(Command::contextHelp)->setIcon(CAppIcons::contextHelp());
    // F1 and Shift+F1 have no menu entry; they live on the window itself.
    addAction(action(Command::help));
    addAction(action(Command::contextHelp));
}

QMenu* CMainFrame::newMenu(const QString& title, std::vector<QMenu*>& set) {
    auto* menu = new QMenu(title, this);
    menu->installEventFilter(this);
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::updateCommandStates);
    set.push_back(menu);
    return menu;
}

void CMainFrame::addEntries(QMenu* menu, std::initializer_list<Command> commands) {
    for (Command c : commands)
        menu->addAction(action(c));
}

QMenu* CMainFrame::newRecentMenu(QMenu* file) {
    auto* recent = file->addMenu(QStringLiteral("Recent File"));
    recent->installEventFilter(this);
    m_recentMenus.push_back(recent);
    return recent;
}

void CMainFrame::createMenus() {
    using enum Command;
    // No group open.
    QMenu* file = newMenu(QStringLiteral("&File"), m_mainMenus);
    addEntries(file, {newGroup, openGroup});
    file->addSeparator();
    addEntries(file, {printSetup});
    file->addSeparator();
    newRecentMenu(file);
    file->addSeparator();
    addEntries(file, {exit});
    QMenu* view = newMenu(QStringLiteral("&View"), m_mainMenus);
    addEntries(view, {toolbar, statusBar});
    m_mainHelp = newMenu(QStringLiteral("&Help"), m_mainMenus);
    addEntries(m_mainHelp, {helpTopics});
    m_mainHelp->addSeparator();
    addEntries(m_mainHelp, {about});

    // A group window is active.
    file = newMenu(QStringLiteral("&File"), m_groupMenus);
    addEntries(file, {newGroup, openGroup, closeGroup});
    file->addSeparator();
    addEntries(file, {mergeGroups, compressDatabases});
    file->addSeparator();
    addEntries(file, {exportReservations, importReservations, calendarFile});
    file->addSeparator();
    addEntries(file, {print, printPreview, printSetup});
    file->addSeparator();
    newRecentMenu(file);
    file->addSeparator();
    addEntries(file, {exit});
    QMenu* edit = newMenu(QStringLiteral("&Edit"), m_groupMenus);
    addEntries(edit, {undo, redo});
    edit->addSeparator();
    addEntries(edit, {specifyBlockout, removeBlockout});
    edit->addSeparator();
    addEntries(edit, {deleteOldReservations});
    edit->addSeparator();
    addEntries(edit, {modifyGroupInfo});
    QMenu* items = newMenu(QStringLiteral("&Items"), m_groupMenus);
    addEntries(items, {addItem, modifyDeleteItem});
    items->addSeparator();
    addEntries(items, {findFreeItem});
    QMenu* people = newMenu(QStringLiteral("&People"), m_groupMenus);
    addEntries(people, {peopleAdd, peopleModify, peopleDelete, peopleList});
    people->addSeparator();
    addEntries(people, {peopleImport});
    QMenu* attendees = newMenu(QStringLiteral("&Attendees"), m_groupMenus);
    addEntries(attendees, {attendeesAdd, attendeesModify, attendeesDelete, attendeesList});
    attendees->addSeparator();
    addEntries(attendees, {attendeesImport});
    view = newMenu(QStringLiteral("&View"), m_groupMenus);
    addEntries(view, {daysReservations, monthsReservations, personsReservations, allReservations,
                      utilization, attendance});
    view->addSeparator();
    addEntries(view, {reminders, history});
    view->addSeparator();
    addEntries(view, {toolbar, statusBar});
    view->addSeparator();
    addEntries(view, {preferences});
    m_windowMenu = newMenu(QStringLiteral("&Window"), m_groupMenus);
    addEntries(m_windowMenu, {newWindow, cascade, tile});
    connect(m_windowMenu, &QMenu::aboutToShow, this, [this] { fillWindowList(m_windowMenu); });
    m_groupHelp = newMenu(QStringLiteral("&Help"), m_groupMenus);
    addEntries(m_groupHelp, {helpTopics});
    m_groupHelp->addSeparator();
    addEntries(m_groupHelp, {displayPeopleFileOwner});
    m_groupHelp->addSeparator();
    addEntries(m_groupHelp, {about});

    setRecentFiles({});
}

void CMainFrame::createToolBar() {
    using enum Command;
    m_toolBar = addToolBar(QStringLiteral("Toolbar"));
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_toolBar->setIconSize(QSize(16, 16));
    m_toolBar->addAction(action(newGroup));
    m_toolBar->addAction(action(openGroup));
    m_toolBar->addSeparator();
    m_toolBar->addAction(action(peopleAdd));
    m_toolBar->addAction(action(addItem));
    m_toolBar->addAction(action(daysReservations));
    m_toolBar->addSeparator();
    m_toolBar->addAction(action(print));
    m_toolBar->addSeparator();
    m_toolBar->addAction(action(about));
    m_toolBar->addAction(action(contextHelp));
    connect(m_toolBar, &QToolBar::visibilityChanged, this, &CMainFrame::updateCommandStates);
}

void CMainFrame::createStatusBar() {
    m_idle = new QLabel(QStringLiteral("For Help, press F1"), this);
    m_idle->setObjectName(QStringLiteral("idleMessage"));
    statusBar()->addWidget(m_idle, 1);
    for (std::size_t i = 0; i < m_indicators.size(); ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("indicator") + QLatin1String(kIndicatorTexts[i]));
        label->setAlignment(Qt::AlignCenter);
        label->setFrameShape(QFrame::StyledPanel);
        label->setFrameShadow(QFrame::Sunken);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 12);
        statusBar()->addPermanentWidget(label);
        m_indicators[i] = label;
    }
    m_indicatorTimer = new QTimer(this);
    connect(m_indicatorTimer, &QTimer::timeout, this, &CMainFrame::updateIndicators);
    m_indicatorTimer->start(500);
    updateIndicators();
}

void CMainFrame::updateIndicators() {
    for (std::size_t i = 0; i < m_indicators.size(); ++i) {
        const QString text =
            ledOn(kIndicatorLeds[i]) ? QString::fromLatin1(kIndicatorTexts[i]) : QString();
        if (m_indicators[i]->text() != text) m_indicators[i]->setText(text);
    }
}

void CMainFrame::setRecentFiles(const QStringList& files) {
    m_recentFiles = files;
    for (QMenu* menu : m_recentMenus) {
        menu->clear();
        for (int i = 0; i < files.size(); ++i) {
            QAction* a = menu->addAction(CRecentFileList::menuText(i, files[i]));
            a->setStatusTip(QStringLiteral("Open this document"));
            a->setProperty(kCommandProperty, static_cast<int>(Command::openGroup));
            const QString path = files[i];
            connect(a, &QAction::triggered, this, [this, path] { emit recentFileChosen(path); });
        }
        menu->setEnabled(!files.isEmpty());
    }
}

void CMainFrame::appendTutorialToMainHelp() {
    if (!m_mainHelp->actions().contains(action(Command::tutorial)))
        m_mainHelp->addAction(action(Command::tutorial));
}

void CMainFrame::showMenus(bool group) {
    m_showsGroupMenu = group;
    menuBar()->clear();
    for (QMenu* menu : group ? m_groupMenus : m_mainMenus)
        menuBar()->addMenu(menu);
    // The group Help menu takes "&Tutorial" when a group window is first shown, while it still
    // holds its first five entries.
    if (group && !m_groupHelpExtended) {
        m_groupHelpExtended = true;
        if (m_groupHelp->actions().size() == 5) m_groupHelp->addAction(action(Command::tutorial));
    }
}

void CMainFrame::childWindowsChanged() {
    const bool group = !m_mdi->subWindowList().isEmpty();
    if (group != m_showsGroupMenu) showMenus(group);
    updateTitle();
    updateCommandStates();
}

void CMainFrame::updateTitle() {
    const QString app = QStringLiteral("ORV Scheduler");
    CChildFrame* child = activeChildFrame();
    if (!child) {
        setWindowTitle(app);
        return;
    }
    const QString title = child->windowTitle();
    setWindowTitle(child->isMaximized() ? app : app + QStringLiteral(" - ") + title);
}

CGroupCommandTarget* CMainFrame::activeTarget() const {
    CChildFrame* child = activeChildFrame();
    return child ? child->commandTarget() : nullptr;
}

void CMainFrame::updateCommandStates() {
    using enum Command;
    CGroupCommandTarget* target = activeTarget();
    const bool hasChild = activeChildFrame() != nullptr;
    for (const CommandInfo& info : allCommands()) {
        const Command c = info.id;
        bool enabled = m_enabled[index(c)];
        if (info.route == CommandRoute::group)
            enabled = enabled && target && target->handles(c) && target->isEnabled(c);
        else if (c == closeGroup)
            enabled = enabled && hasChild;
        else if (c == cascade || c == tile)
            enabled = enabled && hasChild;
        action(c)->setEnabled(enabled);
    }
    action(toolbar)->setChecked(m_toolBar && !m_toolBar->isHidden());
    action(statusBar)->setChecked(!QMainWindow::statusBar()->isHidden());
}

void CMainFrame::setCommandEnabled(Command command, bool enabled) {
    m_enabled[index(command)] = enabled;
    updateCommandStates();
}

void CMainFrame::run(Command command) {
    const CommandInfo& info = commandInfo(command);
    switch (info.route) {
    case CommandRoute::application:
        emit applicationCommand(command);
        return;
    case CommandRoute::frame:
        runFrameCommand(command);
        return;
    case CommandRoute::group:
        if (CGroupCommandTarget* target = activeTarget(); target && target->handles(command))
            target->run(command);
        return;
    }
}

void CMainFrame::runFrameCommand(Command command) {
    using enum Command;
    switch (command) {
    case closeGroup:
        closeActiveGroup();
        break;
    case toolbar:
        m_toolBar->setVisible(!m_toolBar->isVisible());
        break;
    case statusBar:
        QMainWindow::statusBar()->setVisible(QMainWindow::statusBar()->isHidden());
        break;
    case cascade:
        m_mdi->cascadeSubWindows();
        break;
    case tile:
        m_mdi->tileSubWindows();
        break;
    case helpTopics:
        showHelp(help::kContents);
        break;
    case Command::help:
        showHelp(activeChildFrame() ? help::kGroupWindow : help::kMainWindow);
        break;
    case contextHelp:
        m_contextHelp->enter();
        break;
    default:
        break;
    }
    updateCommandStates();
}

void CMainFrame::closeActiveGroup() {
    CChildFrame* active = activeChildFrame();
    if (!active) return;
    if (CGroupCommandTarget* target = active->commandTarget();
        target && target->handles(Command::closeGroup)) {
        target->run(Command::closeGroup);
        return;
    }
    // Every window of the group goes, the active one last.
    const QString path = active->groupPath();
    for (CChildFrame* child : childFrames())
        if (child != active && !path.isEmpty() && child->sameGroup(path)) child->close();
    active->close();
}

CChildFrame* CMainFrame::addGroupWindow(QWidget* view, const QString& groupPath,
                                        CGroupCommandTarget* target) {
    auto* child = new CChildFrame;
    child->setWidget(view);
    child->setGroupPath(groupPath);
    child->setCommandTarget(target);
    addChildFrame(child);
    return child;
}

void CMainFrame::addChildFrame(CChildFrame* child) {
    m_mdi->addSubWindow(child);
    connect(child, &QWidget::windowTitleChanged, this, &CMainFrame::updateTitle);
    connect(child, &QObject::destroyed, this,
            [this] { QTimer::singleShot(0, this, &CMainFrame::childWindowsChanged); });
    connect(child, &QMdiSubWindow::windowStateChanged, this, &CMainFrame::updateTitle);
    child->show();
    m_mdi->setActiveSubWindow(child);
    childWindowsChanged();
}

CChildFrame* CMainFrame::activeChildFrame() const {
    QMdiSubWindow* w = m_mdi->currentSubWindow();
    if (!w) w = m_mdi->activeSubWindow();
    if (!w) {
        const QList<QMdiSubWindow*> order = m_mdi->subWindowList(QMdiArea::ActivationHistoryOrder);
        if (!order.isEmpty()) w = order.last();
    }
    return qobject_cast<CChildFrame*>(w);
}

std::vector<CChildFrame*> CMainFrame::childFrames() const {
    std::vector<CChildFrame*> result;
    for (QMdiSubWindow* w : m_mdi->subWindowList())
        if (auto* child = qobject_cast<CChildFrame*>(w)) result.push_back(child);
    return result;
}

void CMainFrame::activate(CChildFrame* child) {
    if (child->isMinimized()) child->showNormal();
    m_mdi->setActiveSubWindow(child);
    childWindowsChanged();
}

void CMainFrame::fillWindowList(QMenu* menu) {
    for (QAction* a : m_windowListActions) {
        menu->removeAction(a);
        delete a;
    }
    m_windowListActions.clear();
    const QList<QMdiSubWindow*> windows = m_mdi->subWindowList();
    if (windows.isEmpty()) return;
    m_windowListActions.push_back(menu->addSeparator());
    QMdiSubWindow* current = m_mdi->currentSubWindow();
    for (int i = 0; i < windows.size(); ++i) {
        QString title = windows[i]->windowTitle();
        title.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* a = menu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(title));
        a->setCheckable(true);
        a->setChecked(windows[i] == current);
        a->setStatusTip(QStringLiteral("Activate this window"));
        QMdiSubWindow* w = windows[i];
        connect(a, &QAction::triggered, this, [this, w] { m_mdi->setActiveSubWindow(w); });
        m_windowListActions.push_back(a);
    }
}

QString CMainFrame::topicAt(QWidget* widget, QPoint pos) const {
    QAction* a = nullptr;
    if (auto* menu = qobject_cast<QMenu*>(widget))
        a = menu->actionAt(pos);
    else if (auto* button = qobject_cast<QToolButton*>(widget))
        a = button->defaultAction();
    if (a) {
        const QVariant c = a->property(kCommandProperty);
        if (c.isValid())
            return QString::fromLatin1(commandInfo(static_cast<Command>(c.toInt())).helpTopic);
    }
    for (QWidget* w = widget; w; w = w->parentWidget())
        if (w == m_mdi && !m_mdi->subWindowList().isEmpty()) return help::kGroupWindow;
    return help::kMainWindow;
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    // F1 on a highlighted menu entry opens that command's topic.
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
        if (auto* menu = qobject_cast<QMenu*>(watched)) {
            QString topic = help::kMainWindow;
            if (QAction* a = menu->activeAction()) {
                const QVariant c = a->property(kCommandProperty);
                if (c.isValid())
                    topic =
                        QString::fromLatin1(commandInfo(static_cast<Command>(c.toInt())).helpTopic);
            }
            while (QWidget* popup = QApplication::activePopupWidget())
                if (!popup->close()) break;
            showHelp(topic);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

bool CMainFrame::keepInTray() {
    CORVSchedApp* app = CORVSchedApp::instance();
    if (m_quitting || !app || !QSystemTrayIcon::isSystemTrayAvailable()) return false;
    const bool reminding = std::any_of(
        m_mdi->subWindowList().begin(), m_mdi->subWindowList().end(), [](QMdiSubWindow* w) {
            auto* view = qobject_cast<CORVSchedView*>(w->widget());
            return view && view->reminders().remind() && view->reminders().person();
        });
    if (!reminding) return false;
    int keep = app->settings().readInt(CReminders::kSection, "KeepInTray", -1);
    if (keep < 0) {
        keep = app->prompt().ask(kKeepInTray, "Reminders") ? 1 : 0;
        app->settings().writeInt(CReminders::kSection, "KeepInTray", keep);
    }
    if (!keep) return false;
    if (!m_tray) {
        m_tray = new CReminderTray(this, [this] { return nextReservations(); });
        connect(m_tray, &CReminderTray::openRequested, this, [this] {
            m_tray->hide();
            QApplication::setQuitOnLastWindowClosed(true);
            showNormal();
            raise();
            activateWindow();
        });
        connect(m_tray, &CReminderTray::quitRequested, this, [this] {
            m_quitting = true;
            QApplication::setQuitOnLastWindowClosed(true);
            close();
            if (isHidden()) QApplication::quit();
        });
    }
    QApplication::setQuitOnLastWindowClosed(false);
    m_tray->show();
    hide();
    return true;
}

std::vector<std::string> CMainFrame::nextReservations() const {
    std::vector<std::string> lines;
    const std::time_t now = CClock::current().now();
    for (QMdiSubWindow* w : m_mdi->subWindowList()) {
        auto* view = qobject_cast<CORVSchedView*>(w->widget());
        if (!view) continue;
        const std::optional<CPeopleKey> me = view->reminders().person();
        std::vector<CAgendaEntry> entries;
        if (!me || CAgenda::collect(view->document(), *me, now, now + 86400, entries) != 0) continue;
        for (const CAgendaEntry& e : entries) lines.push_back(e.describe());
    }
    return lines;
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (keepInTray()) {
        event->ignore();
        return;
    }
    m_mdi->closeAllSubWindows();
    for (QMdiSubWindow* w : m_mdi->subWindowList()) {
        if (w->isVisible()) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

QStringList CMainFrame::groupFilesIn(const QMimeData* data) {
    QStringList files;
    if (!data || !data->hasUrls()) return files;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile()) continue;
        const QString path = url.toLocalFile();
        if (path.endsWith(QLatin1String(".sch"), Qt::CaseInsensitive)) files << path;
    }
    return files;
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (!groupFilesIn(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const QStringList files = groupFilesIn(event->mimeData());
    if (files.isEmpty()) return;
    event->acceptProposedAction();
    emit filesDropped(files);
}

} // namespace orv
