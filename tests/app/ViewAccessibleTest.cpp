// What a screen reader learns of a group window through Qt's accessibility layer: the item boxes
// as children of the view with their names and states, the keyboard's item as the focused child,
// and the two actions. (The events reach a reader only over a real bus; the AT-SPI check hears
// them.)
#include "ViewTestSupport.h"

#include "app/CMainFrame.h"
#include "app/CORVSchedApp.h"
#include "app/CORVSchedViewAccessible.h"
#include "common/AccessibleFaults.h"
#include "ui/CColorChooser.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

namespace orv::test {
namespace {

class ViewAccessibleTest : public ViewFixture {
protected:
    QAccessibleInterface* viewInterface() {
        return QAccessible::queryAccessibleInterface(view.get());
    }
};

TEST_F(ViewAccessibleTest, EveryItemBoxIsAChildWithItsNameStateAndActions) {
    // The clock stands at 10:00:30.
    addItems({{"Boardroom", ""}, {"Lakeview", ""}});
    reserve("Boardroom", 8, 9, 30, 11, 30, "Morgan");
    showView();
    picture(); // the first drawing places the boxes
    QAccessibleInterface* list = viewInterface();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->role(), QAccessible::List);
    EXPECT_EQ(list->text(QAccessible::Name), "Main Building");
    ASSERT_EQ(list->childCount(), 3); // two boxes and the legend

    struct Case {
        const char* name;
        const char* value;
        const char* description;
    };
    const Case cases[] = {
        {"Boardroom", "In use", "Boardroom: in use by Morgan from 9:30 AM until 11:30 AM"},
        {"Lakeview", "Free", "Lakeview: free for the rest of the day"},
    };
    for (int i = 0; i < 2; ++i) {
        const Case& c = cases[i];
        QAccessibleInterface* box = list->child(i);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box, list->child(i)) << "one interface per box";
        EXPECT_EQ(list->indexOfChild(box), i);
        EXPECT_EQ(box->parent(), list);
        EXPECT_EQ(box->role(), QAccessible::ListItem);
        EXPECT_EQ(box->text(QAccessible::Name).toStdString(), c.name);
        EXPECT_EQ(box->text(QAccessible::Value).toStdString(), c.value);
        EXPECT_EQ(box->text(QAccessible::Description).toStdString(), c.description);
        EXPECT_TRUE(box->state().focusable);
        const QRect r = box->rect();
        EXPECT_EQ(list->childAt(r.center().x(), r.center().y()), box);
        QAccessibleActionInterface* actions = box->actionInterface();
        ASSERT_NE(actions, nullptr);
        EXPECT_EQ(actions->actionNames(),
                  (QStringList{"open day list", "show menu",
                               QAccessibleActionInterface::setFocusAction()}));
    }
    EXPECT_EQ(list->child(2)->object(), view->legend());
}

TEST_F(ViewAccessibleTest, TheKeyboardsItemIsTheFocusedChildAndShowMenuOpensItsMenu) {
    addItems({{"Boardroom", ""}, {"Lakeview", ""}});
    reserve("Lakeview", 8, 10, 0, 10, 1, "Chen"); // ends at 10:01
    QMainWindow window;
    doc = openDoc();
    view = std::make_unique<CORVSchedView>(doc);
    window.setCentralWidget(view.get());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    view->setFocus();
    QTest::keyClick(view.get(), Qt::Key_Right);
    QAccessibleInterface* list = viewInterface();
    EXPECT_EQ(list->focusChild(), list->child(1));
    EXPECT_TRUE(list->child(1)->state().focused);
    EXPECT_FALSE(list->child(0)->state().focused);
    EXPECT_EQ(list->child(1)->text(QAccessible::Value), "In use");

    // A minute later Lakeview's reservation has ended.
    clock.setLocal(2026, 12, 8, 10, 1, 5);
    view->timerTick();
    EXPECT_EQ(list->child(1)->text(QAccessible::Value), "Free");
    EXPECT_EQ(list->child(1)->text(QAccessible::Description),
              "Lakeview: free for the rest of the day");

    // "show menu" offers Modify/Delete for the box, as the menu key does.
    list->child(0)->actionInterface()->doAction(QStringLiteral("show menu"));
    QTest::qWait(20);
    EXPECT_TRUE(view->itemMenu()->isVisible());
    EXPECT_EQ(view->rightClicked(), 0);
    EXPECT_EQ(view->focusedItem(), 0);
    view->itemMenu()->close();
    window.takeCentralWidget();
    view->setParent(nullptr);
}

} // namespace
} // namespace orv::test

namespace orv::test {
namespace {

class CNoColours : public ScriptedPrompt, public CColorChooser {
public:
    std::optional<int> chooseColor(int) override { return std::nullopt; }
};

// The main window with a group open: every control has a role and a name, every item box its
// state, and no two entries of one menu share a mnemonic.
TEST_F(ViewAccessibleTest, TheMainWindowPassesTheWalkAndItsMenusHaveDistinctMnemonics) {
    addNumberedItems(4);
    reserve("Room 2", 8, 9, 30, 11, 30, "Morgan");
    CMemorySettings appSettings;
    appSettings.writeInt("Startup", "StartedBefore", 1);
    CNoColours user;
    CORVSchedApp app(appSettings, user, user, CORVSchedApp::Options{0});
    ASSERT_TRUE(app.start({}));
    ASSERT_TRUE(app.openGroup(QString::fromStdString(group)));
    CMainFrame* frame = app.mainFrame();
    frame->resize(1000, 700);
    frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame));
    const QStringList faults = accessibleFaults(frame);
    EXPECT_TRUE(faults.isEmpty()) << faults.join('\n').toStdString();

    QStringList duplicates;
    for (QMenu* menu : frame->menuBar()->findChildren<QMenu*>()) {
        emit menu->aboutToShow(); // menus that fill themselves on showing
        QMap<QChar, QStringList> used;
        for (QAction* a : menu->actions()) {
            const QString text = a->text();
            const qsizetype amp = text.indexOf(QLatin1Char('&'));
            if (a->isSeparator() || !a->isVisible() || amp < 0 || amp + 1 >= text.size()) continue;
            used[text.at(amp + 1).toLower()] << text;
        }
        for (auto it = used.cbegin(); it != used.cend(); ++it)
            if (it.value().size() > 1)
                duplicates << menu->title() + QStringLiteral(": ") + it.value().join(", ");
    }
    EXPECT_TRUE(duplicates.isEmpty()) << duplicates.join('\n').toStdString();
}

} // namespace
} // namespace orv::test
