#include "app/CChildFrame.h"
#include "app/CContextHelpMode.h"
#include "app/CGroupCommandTarget.h"
#include "app/CMainFrame.h"
#include "ui/CHelpWindow.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include <gtest/gtest.h>

#include <set>

namespace orv {
namespace {

struct Entry {
    QString text;
    QString shortcut;
    QString prompt;
    bool operator==(const Entry&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Entry& e) {
    return os << '{' << e.text.toStdString() << " | " << e.shortcut.toStdString() << " | "
              << e.prompt.toStdString() << '}';
}

const Entry kSep{QStringLiteral("---"), QString(), QString()};

std::vector<Entry> entries(QMenu* menu) {
    std::vector<Entry> result;
    for (QAction* a : menu->actions()) {
        if (a->isSeparator())
            result.push_back(kSep);
        else
            result.push_back({a->text(), a->shortcut().toString(), a->statusTip()});
    }
    return result;
}

QStringList titles(const std::vector<QMenu*>& menus) {
    QStringList t;
    for (QMenu* m : menus)
        t << m->title();
    return t;
}

class CFakeView : public CGroupCommandTarget {
public:
    bool handles(Command c) const override { return handled.count(c) != 0; }
    bool isEnabled(Command c) const override { return disabled.count(c) == 0; }
    void run(Command c) override { ran.push_back(c); }
    std::set<Command> handled;
    std::set<Command> disabled;
    std::vector<Command> ran;
};

TEST(MainFrameTest, MainMenuWithoutAGroup) {
    CMainFrame frame;
    EXPECT_FALSE(frame.showsGroupMenu());
    EXPECT_EQ(titles(frame.mainMenus()), (QStringList{"&File", "&View", "&Help"}));
    EXPECT_EQ(entries(frame.mainMenus()[0]),
              (std::vector<Entry>{
                  {"&New Group\tCtrl+N", "", "Create a new group"},
                  {"&Open Group...", "Ctrl+O", "Open an existing group"},
                  kSep,
                  {"P&rint Setup...", "", "Change the printer and printing options"},
                  kSep,
                  {"Recent File", "", ""},
                  kSep,
                  {"E&xit", "", "Quit the application; prompts to save documents"},
              }));
    EXPECT_EQ(entries(frame.mainMenus()[1]),
              (std::vector<Entry>{{"&Toolbar", "", "Show or hide the toolbar"},
                                  {"&Status Bar", "", "Show or hide the status bar"}}));
    EXPECT_EQ(entries(frame.mainMenus()[2]),
              (std::vector<Entry>{
                  {"&Help Topics", "", "List Help topics"}, kSep, {"&About ORVSched...", "", ""}}));
    frame.appendTutorialToMainHelp();
    frame.appendTutorialToMainHelp();
    EXPECT_EQ(entries(frame.mainMenus()[2]).size(), 4u);
    EXPECT_EQ(entries(frame.mainMenus()[2]).back(), (Entry{"&Tutorial", "", ""}));
}

TEST(MainFrameTest, GroupMenuEntriesInOrder) {
    CMainFrame frame;
    const auto& m = frame.groupMenus();
    EXPECT_EQ(titles(m), (QStringList{"&File", "&Edit", "&Items", "&People", "&Attendees", "&View",
                                      "&Window", "&Help"}));
    EXPECT_EQ(
        entries(m[0]),
        (std::vector<Entry>{
            {"&New Group\tCtrl+N", "", "Create a new group"},
            {"&Open Group...", "Ctrl+O", "Open an existing group"},
            {"&Close Group", "", "Close the active group"},
            kSep,
            {"&Merge Groups...", "", "Merge another group into the current group"},
            {"Compre&ss Databases...", "",
             "Removes unused space from group databases. Requires exclusive use of group "
             "databases."},
            kSep,
            {"&Export...", "", "Export reservations as an iCalendar or CSV file"},
            {"&Import Reservations...", "", "Import reservations from an iCalendar or CSV file"},
            {"Calendar &File...", "", "Keep a calendar file of this group for calendar programs"},
            kSep,
            {"&Print...", "Ctrl+P", "Print the active document"},
            {"Print Pre&view", "", "Display full pages"},
            {"P&rint Setup...", "", "Change the printer and printing options"},
            kSep,
            {"Recent File", "", ""},
            kSep,
            {"E&xit", "", "Quit the application; prompts to save documents"},
        }));
    EXPECT_EQ(entries(m[1]),
              (std::vector<Entry>{
                  {"&Undo", "Ctrl+Z", "Take back your last change of this group"},
                  {"&Redo", "Ctrl+Shift+Z", "Make again the change you took back last"},
                  kSep,
                  {"Specify &Blockout Date...", "", "Block out time slots in a group"},
                  {"&Remove Blockout Date...", "", "Remove blockouts from a group"},
                  kSep,
                  {"Delete &Old Reservations...", "", "Delete old reservations"},
                  kSep,
                  {"Modify &Group Information...", "", "Change the description of a group"},
              }));
    EXPECT_EQ(entries(m[2]),
              (std::vector<Entry>{
                  {"Add I&tem...", "", "Add a new item to the group"},
                  {"&Modify/Delete Item", "", "To modify or delete..right click on item"},
                  kSep,
                  {"&Find Free Item...", "", "Find the items that are free for a time"},
              }));
    EXPECT_EQ(entries(m[3]), (std::vector<Entry>{
                                 {"&Add...", "", "Add a new person to database"},
                                 {"&Modify...", "", "Modify information about a person"},
                                 {"&Delete...", "", "Delete a person from the database"},
                                 {"&List", "", "List people in people database"},
                                 kSep,
                                 {"&Import...", "", "Import people from another group"},
                             }));
    EXPECT_EQ(entries(m[4]),
              (std::vector<Entry>{
                  {"&Add...", "", ""},
                  {"&Modify...", "", "Change information about a person in the attendees database"},
                  {"&Delete...", "", "Delete a person from the attendees database"},
                  {"&List", "", "List the attendees database"},
                  kSep,
                  {"&Import...", "", "Import attendees from another group"},
              }));
    EXPECT_EQ(
        entries(m[5]),
        (std::vector<Entry>{
            {"A Day's Reservations...", "", "Show a day's reservations"},
            {"A &Month's Reservations...", "", "View a month's reservations for an item."},
            {"A &Person's Reservations...", "", "Show all future reservations for a person"},
            {"All &Reservations...", "", "Show some or all reservations for the current group"},
            {"&Utilization...", "", "Calculate the utilization of some or all items"},
            {"&Attendance...", "", "Show reservations attended by an attendee"},
            kSep,
            {"Remi&nders...", "",
             "Choose who you are in this group and be reminded of your reservations"},
            {"&History...", "", "Show who changed what in this group"},
            kSep,
            {"&Toolbar", "", "Show or hide the toolbar"},
            {"&Status Bar", "", "Show or hide the status bar"},
            kSep,
            {"P&references...", "", "View preferences"},
        }));
    EXPECT_EQ(entries(m[6]), (std::vector<Entry>{
                                 {"&New Window", "", "Open another window for the active document"},
                                 {"&Cascade", "", "Arrange windows so they overlap"},
                                 {"&Tile", "", "Arrange windows as non-overlapping tiles"},
                             }));
    EXPECT_EQ(entries(m[7]),
              (std::vector<Entry>{
                  {"&Help Topics", "", "List Help topics"},
                  kSep,
                  {"&Display People File Owner", "",
                   "Displays the group name that owns the people file used by this group"},
                  kSep,
                  {"&About ORVSched...", "", ""},
              }));
}

TEST(MainFrameTest, TheGroupMenuAppearsWithAGroupWindowAndTakesTheTutorialOnce) {
    CMainFrame frame;
    CChildFrame* child = frame.addGroupWindow(new QWidget, QStringLiteral("/g/a.sch"), nullptr);
    EXPECT_TRUE(frame.showsGroupMenu());
    QMenu* help = frame.groupMenus().back();
    ASSERT_EQ(help->actions().size(), 6);
    EXPECT_EQ(help->actions().back()->text(), "&Tutorial");
    delete child;
    QTest::qWait(1);
    EXPECT_FALSE(frame.showsGroupMenu());
    frame.addGroupWindow(new QWidget, QStringLiteral("/g/b.sch"), nullptr);
    EXPECT_EQ(help->actions().size(), 6);
}

TEST(MainFrameTest, ToolbarButtonsInOrderWithTheirShortNames) {
    CMainFrame frame;
    QStringList items;
    for (QAction* a : frame.toolBar()->actions())
        items << (a->isSeparator() ? QStringLiteral("---") : a->toolTip());
    EXPECT_EQ(items,
              (QStringList{"New Group", "Open Group", "---", "Add Person", "Add Item",
                           "Day at a Glance", "---", "Print", "---", "About ORVSched", "Help"}));
    EXPECT_EQ(frame.toolBar()->actions().back(), frame.action(Command::contextHelp));
    EXPECT_EQ(frame.action(Command::contextHelp)->shortcut(), QKeySequence("Shift+F1"));
    EXPECT_EQ(frame.action(Command::contextHelp)->statusTip(),
              "Display help for clicked on buttons, menus and windows");
    EXPECT_EQ(frame.action(Command::help)->shortcut(), QKeySequence("F1"));
    EXPECT_EQ(frame.action(Command::help)->statusTip(), "Display help for current task or command");
}

TEST(MainFrameTest, EveryCommandsPromptAndShortNameAreItsStatusTipAndTooltip) {
    CMainFrame frame;
    EXPECT_EQ(frame.action(Command::preferences)->toolTip(), "Group Preferences");
    EXPECT_EQ(frame.action(Command::displayPeopleFileOwner)->toolTip(), "Display People DB");
    EXPECT_EQ(frame.action(Command::attendeesDelete)->toolTip(), "Delete Attendee");
    EXPECT_EQ(frame.action(Command::modifyDeleteItem)->toolTip(), "Modify..Delete");
    EXPECT_EQ(frame.action(Command::itemDelete)->statusTip(), "Delete an object from the group");
    EXPECT_EQ(frame.action(Command::itemModify)->statusTip(),
              "Modify an object's occupancy or description");
}

TEST(MainFrameTest, StatusBarShowsTheIdleTextAndTheThreeIndicators) {
    CMainFrame frame;
    frame.show();
    EXPECT_EQ(frame.idleLabel()->text(), "For Help, press F1");
    EXPECT_TRUE(frame.idleLabel()->isVisible());
    EXPECT_EQ(frame.indicator(0)->objectName(), "indicatorCAP");
    EXPECT_EQ(frame.indicator(1)->objectName(), "indicatorNUM");
    EXPECT_EQ(frame.indicator(2)->objectName(), "indicatorSCRL");
    for (int i = 0; i < 3; ++i) {
        const QString t = frame.indicator(i)->text();
        EXPECT_TRUE(t.isEmpty() || t == QStringList({"CAP", "NUM", "SCRL"})[i]);
    }
    frame.statusBar()->showMessage(frame.action(Command::openGroup)->statusTip());
    EXPECT_EQ(frame.statusBar()->currentMessage(), "Open an existing group");
    frame.statusBar()->clearMessage();
    EXPECT_TRUE(frame.idleLabel()->isVisible());
}

TEST(MainFrameTest, ToolbarAndStatusBarEntriesToggleTheBars) {
    CMainFrame frame;
    frame.show();
    frame.updateCommandStates();
    EXPECT_TRUE(frame.action(Command::toolbar)->isChecked());
    frame.action(Command::toolbar)->trigger();
    EXPECT_FALSE(frame.toolBar()->isVisible());
    EXPECT_FALSE(frame.action(Command::toolbar)->isChecked());
    frame.action(Command::statusBar)->trigger();
    EXPECT_FALSE(frame.statusBar()->isVisible());
    EXPECT_FALSE(frame.action(Command::statusBar)->isChecked());
    frame.action(Command::statusBar)->trigger();
    EXPECT_TRUE(frame.statusBar()->isVisible());
}

TEST(MainFrameTest, GroupCommandsAreGreyedUntilTheActiveViewHandlesThem) {
    CMainFrame frame;
    EXPECT_FALSE(frame.action(Command::addItem)->isEnabled());
    EXPECT_FALSE(frame.action(Command::newGroup)->isEnabled());
    EXPECT_TRUE(frame.action(Command::openGroup)->isEnabled());
    EXPECT_TRUE(frame.action(Command::about)->isEnabled());
    EXPECT_FALSE(frame.action(Command::closeGroup)->isEnabled());

    CFakeView view;
    view.handled = {Command::addItem, Command::attendeesAdd, Command::preferences};
    view.disabled = {Command::attendeesAdd};
    frame.addGroupWindow(new QWidget, QStringLiteral("/g/a.sch"), &view);
    EXPECT_TRUE(frame.action(Command::addItem)->isEnabled());
    EXPECT_TRUE(frame.action(Command::preferences)->isEnabled());
    EXPECT_FALSE(frame.action(Command::attendeesAdd)->isEnabled());
    EXPECT_FALSE(frame.action(Command::peopleAdd)->isEnabled());
    EXPECT_TRUE(frame.action(Command::closeGroup)->isEnabled());

    frame.action(Command::addItem)->trigger();
    frame.action(Command::preferences)->trigger();
    EXPECT_EQ(view.ran, (std::vector<Command>{Command::addItem, Command::preferences}));

    frame.setCommandEnabled(Command::addItem, false);
    EXPECT_FALSE(frame.action(Command::addItem)->isEnabled());
    frame.setCommandEnabled(Command::newGroup, true);
    EXPECT_TRUE(frame.action(Command::newGroup)->isEnabled());
}

TEST(MainFrameTest, ApplicationCommandsAreHandedToTheApplication) {
    CMainFrame frame;
    QSignalSpy spy(&frame, &CMainFrame::applicationCommand);
    frame.action(Command::openGroup)->trigger();
    frame.action(Command::about)->trigger();
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy[0][0].value<Command>(), Command::openGroup);
    EXPECT_EQ(spy[1][0].value<Command>(), Command::about);
}

TEST(MainFrameTest, CloseGroupClosesEveryWindowOfTheActiveGroup) {
    CMainFrame frame;
    frame.show();
    CChildFrame* other = frame.addGroupWindow(new QWidget, QStringLiteral("/g/b.sch"), nullptr);
    frame.addGroupWindow(new QWidget, QStringLiteral("/g/a.sch"), nullptr);
    frame.addGroupWindow(new QWidget, QStringLiteral("/g/a.sch"), nullptr);
    EXPECT_EQ(frame.childFrames().size(), 3u);
    frame.action(Command::closeGroup)->trigger();
    QTest::qWait(1);
    ASSERT_EQ(frame.childFrames().size(), 1u);
    EXPECT_EQ(frame.childFrames()[0], other);
}

TEST(MainFrameTest, RecentFilesFillTheRecentFileMenus) {
    CMainFrame frame;
    QSignalSpy chosen(&frame, &CMainFrame::recentFileChosen);
    QMenu* recent = frame.mainMenus()[0]->actions()[5]->menu();
    ASSERT_NE(recent, nullptr);
    EXPECT_FALSE(recent->isEnabled());
    frame.setRecentFiles({QStringLiteral("/g/new.sch"), QStringLiteral("/g/R&D.sch")});
    EXPECT_TRUE(recent->isEnabled());
    ASSERT_EQ(recent->actions().size(), 2);
    EXPECT_EQ(recent->actions()[0]->text(), "&1 /g/new.sch");
    EXPECT_EQ(recent->actions()[1]->text(), "&2 /g/R&&D.sch");
    EXPECT_EQ(recent->actions()[0]->statusTip(), "Open this document");
    recent->actions()[1]->trigger();
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen[0][0].toString(), "/g/R&D.sch");
    QMenu* groupRecent = frame.groupMenus()[0]->actions()[15]->menu();
    ASSERT_NE(groupRecent, nullptr);
    EXPECT_EQ(groupRecent->actions().size(), 2);
}

TEST(MainFrameTest, DroppedGroupFilesAreOpened) {
    CMainFrame frame;
    frame.show();
    QSignalSpy dropped(&frame, &CMainFrame::filesDropped);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QStringLiteral("/g/Rooms.SCH")),
                  QUrl::fromLocalFile(QStringLiteral("/g/notes.txt"))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&frame, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&frame, &drop);
    ASSERT_EQ(dropped.count(), 1);
    EXPECT_EQ(dropped[0][0].toStringList(), QStringList{"/g/Rooms.SCH"});

    QMimeData text;
    text.setUrls({QUrl::fromLocalFile(QStringLiteral("/g/notes.txt"))});
    QDragEnterEvent refused(QPoint(10, 10), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    refused.ignore();
    QCoreApplication::sendEvent(&frame, &refused);
    EXPECT_FALSE(refused.isAccepted());
}

TEST(MainFrameTest, TitleNamesTheActiveGroup) {
    CMainFrame frame;
    frame.show();
    EXPECT_EQ(frame.windowTitle(), "ORV Scheduler");
    CChildFrame* child = frame.addGroupWindow(new QWidget, QStringLiteral("/g/a.sch"), nullptr);
    child->setWindowTitle(QStringLiteral("Meeting rooms"));
    EXPECT_EQ(frame.windowTitle(), "ORV Scheduler - Meeting rooms");
    child->showMaximized();
    EXPECT_EQ(frame.windowTitle(), "ORV Scheduler - [Meeting rooms]");
    child->showNormal();
    EXPECT_EQ(frame.windowTitle(), "ORV Scheduler - Meeting rooms");
    child->close();
    QTest::qWait(1);
    EXPECT_EQ(frame.windowTitle(), "ORV Scheduler");
}

TEST(MainFrameTest, ContextHelpOpensTheTopicOfTheClickedToolbarButton) {
    CMainFrame frame;
    frame.show();
    frame.action(Command::contextHelp)->trigger();
    ASSERT_TRUE(frame.contextHelpMode()->isActive());
    auto* button = qobject_cast<QToolButton*>(
        frame.toolBar()->widgetForAction(frame.action(Command::openGroup)));
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_FALSE(frame.contextHelpMode()->isActive());
    ASSERT_NE(CHelpWindow::existing(), nullptr);
    EXPECT_EQ(CHelpWindow::existing()->currentTopic(), "open_group");
    CHelpWindow::existing()->close();
}

TEST(MainFrameTest, HelpTopicsOpensTheContents) {
    CMainFrame frame;
    frame.action(Command::helpTopics)->trigger();
    ASSERT_NE(CHelpWindow::existing(), nullptr);
    EXPECT_EQ(CHelpWindow::existing()->currentTopic(), "contents");
    CHelpWindow::existing()->close();
}

TEST(MainFrameTest, TextFieldsTakeTheEditingKeys) {
    CMainFrame frame;
    auto* field = new QLineEdit(QStringLiteral("Blue Room"));
    frame.addGroupWindow(field, QStringLiteral("/g/a.sch"), nullptr);
    QTest::keyClicks(field, QStringLiteral(" 12"));
    QTest::keyClick(field, Qt::Key_Backspace, Qt::AltModifier);
    EXPECT_EQ(field->text(), "Blue Room");
    field->setSelection(0, 4);
    QTest::keyClick(field, Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(field->text(), " Room");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "Blue");
    field->setCursorPosition(field->text().size());
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(field->text(), " RoomBlue");
    field->selectAll();
    QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), " RoomBlue");
}

} // namespace
} // namespace orv
