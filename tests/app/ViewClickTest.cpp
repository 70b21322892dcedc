// Clicks on the main view and the item commands it runs: the grey highlight while an item's day
// list is open, the right-click menu and the "Lock" setting, and the commands of the Items menu.
#include "ViewTestSupport.h"

#include "group/CGroupFile.h"
#include "reservations/CItemDayModel.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QScrollBar>

namespace orv::test {
namespace {

class ViewClickTest : public ViewFixture {
protected:
    std::vector<std::string> namesOnDisk() {
        CGroupFileData data;
        std::string why;
        EXPECT_TRUE(CGroupFile::read(group, data, why)) << why;
        std::vector<std::string> names;
        for (const CRoom& r : data.items)
            names.push_back(r.name());
        return names;
    }
};

TEST_F(ViewClickTest, LeftClickGreysTheBoxWhileTheDayListIsOpenAndClearsItAfter) {
    addNumberedItems(3);
    reserve("Room 2", 8, 9, 0, 11, 0, "Ames");
    CORVSchedView& v = showView();
    picture();
    QColor during;
    std::string item, date;
    prompt.dialogSteps.push_back([&](CDialogModel& model) {
        auto& dayList = dynamic_cast<CItemDayModel&>(model);
        item = dayList.itemName();
        date = dayList.date().key();
        EXPECT_EQ(v.highlighted(), 1);
        during = fillOf(1);
        return false;
    });
    v.leftClick(centre(doc->items().rectAt(1)));
    EXPECT_EQ(prompt.dialogsShown, std::vector<std::string>{CItemDayModel::kId});
    EXPECT_EQ(item, "Room 2");
    EXPECT_EQ(date, "20261208");
    EXPECT_EQ(during, kGrey) << "grey whatever the state";
    EXPECT_EQ(v.highlighted(), -1);
    EXPECT_EQ(fillOf(1), kRed);
}

TEST_F(ViewClickTest, ClickOnEmptySpaceDoesNothing) {
    addNumberedItems(2);
    CORVSchedView& v = showView();
    picture();
    const CRect first = doc->items().rectAt(0);
    v.leftClick(QPoint(first.left - 2, first.top));
    v.leftClick(QPoint(first.right + 2, first.top + 2)); // in the gap between the columns
    v.rightClick(QPoint(first.left, first.bottom + 3));
    EXPECT_TRUE(prompt.dialogsShown.empty());
    EXPECT_EQ(v.rightClicked(), -1);
    EXPECT_FALSE(v.itemMenu()->isVisible());
}

TEST_F(ViewClickTest, AClickOnAGroupWithoutItemsDoesNothing) {
    CORVSchedView& v = showView();
    picture();
    v.leftClick(QPoint(40, 80));
    v.rightClick(QPoint(40, 80));
    EXPECT_TRUE(prompt.dialogsShown.empty());
    EXPECT_FALSE(v.itemMenu()->isVisible());
}

TEST_F(ViewClickTest, ClicksAddTheScrollPositionToFindTheItem) {
    addNumberedItems(7);
    CORVSchedView& v = showView(QSize(300, 200));
    picture();
    v.verticalScrollBar()->setValue(v.verticalScrollBar()->maximum());
    v.horizontalScrollBar()->setValue(0);
    picture();
    const CRect last = doc->items().rectAt(6);
    const QPoint window = centre(last) - QPoint(0, v.verticalScrollBar()->value());
    std::string item;
    prompt.dialogSteps.push_back([&](CDialogModel& model) {
        item = dynamic_cast<CItemDayModel&>(model).itemName();
        return false;
    });
    v.leftClick(window);
    EXPECT_EQ(item, "Room 7");
}

TEST_F(ViewClickTest, RightClickOffersDeleteThenModifyForTheItem) {
    addNumberedItems(3);
    CORVSchedView& v = showView();
    picture();
    v.rightClick(centre(doc->items().rectAt(2)));
    EXPECT_EQ(v.rightClicked(), 2);
    ASSERT_TRUE(v.itemMenu()->isVisible());
    const QList<QAction*> entries = v.itemMenu()->actions();
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0]->text(), "Delete");
    EXPECT_EQ(entries[1]->text(), "Modify");

    // Another click closes the open menu first.
    v.leftClick(QPoint(1, 1));
    EXPECT_FALSE(v.itemMenu()->isVisible());
}

TEST_F(ViewClickTest, RightClickIsIgnoredWhileGroupsAreLocked) {
    settings.writeInt("Groups", "Lock", 1);
    addNumberedItems(2);
    CORVSchedView& v = showView();
    picture();
    v.rightClick(centre(doc->items().rectAt(0)));
    EXPECT_EQ(v.rightClicked(), -1);
    EXPECT_FALSE(v.itemMenu()->isVisible());
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST_F(ViewClickTest, RightClickDeleteAsksAndDeletesTheRecordedItem) {
    addNumberedItems(3);
    reserve("Room 2", 8, 9, 0, 11, 0, "Ames");
    CORVSchedView& v = showView();
    picture();
    v.rightClick(centre(doc->items().rectAt(1)));
    v.itemMenu()->close();
    prompt.answers.push_back(true);
    v.itemMenu()->actions()[0]->trigger();
    EXPECT_EQ(prompt.messages,
              std::vector<RecordedMessage>{
                  question("Are you sure you want to delete room Room 2?", "Confirm Delete")});
    EXPECT_EQ(namesOnDisk(), (std::vector<std::string>{"Room 1", "Room 3"}));
    EXPECT_TRUE(doc->todaysList().empty());
    EXPECT_EQ(fillOf(1), kFree) << "Room 3 moved up and is free";
}

TEST_F(ViewClickTest, RightClickModifyChangesTheRecordedItem) {
    addNumberedItems(2);
    CORVSchedView& v = showView();
    picture();
    v.rightClick(centre(doc->items().rectAt(0)));
    v.itemMenu()->close();
    std::string title, shownLength;
    prompt.dialogSteps.push_back([&](CDialogModel& model) {
        auto& item = dynamic_cast<CItemInfoModel&>(model);
        title = item.title();
        shownLength = item.defaultLength;
        item.occupancy = "12";
        item.defaultLength = "1:30";
        return true;
    });
    v.itemMenu()->actions()[1]->trigger();
    EXPECT_EQ(title, "Modify Room");
    EXPECT_EQ(shownLength, "30");
    EXPECT_EQ(doc->items().at(0).occupancy(), 12);
    EXPECT_EQ(doc->items().at(0).defaultLength(), 90);
    EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(ViewClickTest, ModifyDeleteItemTellsToRightClick) {
    showView();
    ASSERT_TRUE(view->handles(Command::modifyDeleteItem));
    view->run(Command::modifyDeleteItem);
    EXPECT_EQ(
        prompt.messages,
        std::vector<RecordedMessage>{
            info("To modify or delete an item, right click on the item and select modify or delete",
                 "Information")});
}

TEST_F(ViewClickTest, AddItemAddsThroughTheDialogAndRedraws) {
    addNumberedItems(1);
    CORVSchedView& v = showView();
    picture();
    prompt.fill<CItemInfoModel>([](CItemInfoModel& m) {
        m.name = "Annex";
        m.occupancy = "5";
    });
    v.run(Command::addItem);
    EXPECT_EQ(namesOnDisk(), (std::vector<std::string>{"Room 1", "Annex"}));
    picture();
    EXPECT_FALSE(doc->items().rectAt(1).isEmpty()) << "the new item got its box";
}

TEST_F(ViewClickTest, AddItemIsRefusedWhileGroupsAreLocked) {
    settings.writeInt("Groups", "Lock", 1);
    showView();
    view->run(Command::addItem);
    EXPECT_EQ(prompt.messages,
              std::vector<RecordedMessage>{
                  error("Groups cannot be updated, please see administrator", "Groups Locked")});
    EXPECT_TRUE(prompt.dialogsShown.empty());
}

TEST_F(ViewClickTest, TheViewHandlesEveryGroupCommand) {
    showView();
    for (const CommandInfo& info : allCommands()) {
        if (info.route == CommandRoute::group) {
            EXPECT_TRUE(view->handles(info.id)) << info.text;
        }
    }
    for (Command c : {Command::newGroup, Command::exit, Command::about, Command::tile})
        EXPECT_FALSE(view->handles(c)) << commandInfo(c).text;
    EXPECT_TRUE(view->isEnabled(Command::attendeesAdd)) << "a new group has the attendee function";
    EXPECT_TRUE(view->isEnabled(Command::attendance));
}

TEST_F(ViewClickTest, ModifyGroupInformationRedrawsWithTheNewTitle) {
    addNumberedItems(1);
    showView();
    prompt.fill<CGroupInfoModel>([](CGroupInfoModel& m) {
        m.kindWord = "hall";
        m.description = "Old Wing";
    });
    view->run(Command::modifyGroupInfo);
    EXPECT_EQ(doc->description(), "Old Wing");
    EXPECT_EQ(doc->kindUpper(), "Hall");
}

} // namespace
} // namespace orv::test
