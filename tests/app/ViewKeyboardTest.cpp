// The main view by keyboard alone: the arrow keys and Home, End, Page Up and Page Down move the
// keyboard's item in reading order, typing jumps to an item by name, the status bar says what the
// item is doing, the menu keys open its menu, and a user books an item from the group window
// through the real day list and Make Reservation with key presses only.
#include "ViewTestSupport.h"

#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CORVSchedApp.h"
#include "reservations/widgets/CAddReservationDlg.h"
#include "reservations/widgets/CRoomInfoDlg.h"
#include "tables/CPeopleRecord.h"
#include "ui/CQtPrompt.h"

#include <QApplication>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMessageBox>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

namespace orv::test {
namespace {

class ViewKeyboardTest : public ViewFixture {
protected:
    void addPerson(const std::string& first, const std::string& last) {
        ScriptedPrompt p;
        CMemorySettings s;
        CORVSchedDoc d(p, s);
        ASSERT_TRUE(d.openGroup(group));
        CPeople& people = d.people();
        people.clearImage();
        people.image().setName(first, "", last);
        people.image().setDepartment("Sales");
        people.image().setFlags(CPeopleRecord::kFlagMayReserve);
        ASSERT_EQ(people.append(), 0);
    }
    // The view in a window with a status bar, shown, with the keyboard focus.
    QMainWindow& showFocused(QSize size = QSize(900, 700)) {
        doc = openDoc();
        view = std::make_unique<CORVSchedView>(doc);
        window.setCentralWidget(view.get());
        window.statusBar();
        window.resize(size);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        view->setFocus();
        return window;
    }
    void TearDown() override {
        if (view) {
            window.takeCentralWidget();
            view->setParent(nullptr);
        }
        ViewFixture::TearDown();
    }
    QMainWindow window;
};

// Seven boxes, three to a row: 0 1 2 / 3 4 5 / 6.
TEST_F(ViewKeyboardTest, KeysMoveTheKeyboardsItemInReadingOrder) {
    struct Case {
        int from;
        Qt::Key key;
        int to;
    };
    const Case cases[] = {
        {0, Qt::Key_Right, 1}, {2, Qt::Key_Right, 3},    {6, Qt::Key_Right, 6},
        {1, Qt::Key_Left, 0},  {3, Qt::Key_Left, 2},     {0, Qt::Key_Left, 0},
        {1, Qt::Key_Down, 4},  {4, Qt::Key_Down, 4},     {3, Qt::Key_Down, 6},
        {4, Qt::Key_Up, 1},    {1, Qt::Key_Up, 1},       {5, Qt::Key_Home, 0},
        {1, Qt::Key_End, 6},   {0, Qt::Key_PageDown, 6}, {6, Qt::Key_PageUp, 0},
    };
    addNumberedItems(7);
    showFocused(QSize(900, 240)); // about one row of boxes in sight
    ASSERT_TRUE(view->hasFocus());
    for (const Case& c : cases) {
        view->setFocusedItem(c.from);
        QTest::keyClick(view.get(), c.key);
        EXPECT_EQ(view->focusedItem(), c.to) << c.from << " key " << c.key;
        // The box the keyboard is on is in sight.
        EXPECT_TRUE(view->viewport()->rect().contains(view->boxOnScreen(c.to))) << c.to;
    }
}

TEST_F(ViewKeyboardTest, TypingTheFirstLettersOfANameJumpsToTheItem) {
    addItems({{"Garden", ""}, {"Lakeview", ""}, {"Boardroom", ""}, {"Library", ""}, {"Lobby", ""}});
    showFocused();
    struct Case {
        const char* typed;
        int to;
    };
    // Each case starts from the first item, after a pause that ends the earlier typing.
    const Case cases[] = {{"b", 2},  {"L", 1},  {"ll", 3}, {"lll", 4},
                          {"lo", 4}, {"li", 3}, {"z", 0}};
    for (const Case& c : cases) {
        view->setFocusedItem(0);
        QTest::qWait(QApplication::keyboardInputInterval() + 50);
        QTest::keyClicks(view.get(), QString::fromLatin1(c.typed));
        EXPECT_EQ(view->focusedItem(), c.to) << c.typed;
    }
}

TEST_F(ViewKeyboardTest, TheStatusBarSaysWhatTheKeyboardsItemIsDoingAndTheMenuKeysOpenItsMenu) {
    // The clock stands at 10:00:30.
    addItems({{"Boardroom", ""}, {"Lakeview", ""}});
    reserve("Boardroom", 8, 9, 30, 11, 30, "Morgan");
    reserve("Lakeview", 8, 14, 0, 15, 0, "Chen");
    showFocused();
    EXPECT_EQ(window.statusBar()->currentMessage().toStdString(),
              "Boardroom: in use by Morgan from 9:30 AM until 11:30 AM");
    QTest::keyClick(view.get(), Qt::Key_Right);
    EXPECT_EQ(window.statusBar()->currentMessage().toStdString(),
              "Lakeview: free until 2:00 PM, then reserved by Chen until 3:00 PM");

    for (const auto& [key, modifiers] :
         {std::pair{Qt::Key_Menu, Qt::NoModifier}, std::pair{Qt::Key_F10, Qt::ShiftModifier}}) {
        QTest::keyClick(view.get(), key, modifiers);
        ASSERT_TRUE(view->itemMenu()->isVisible()) << key;
        EXPECT_EQ(view->rightClicked(), 1);
        view->itemMenu()->close();
    }
    // F10 alone is not the menu key.
    QTest::keyClick(view.get(), Qt::Key_F10);
    EXPECT_FALSE(view->itemMenu()->isVisible());
}

TEST_F(ViewKeyboardTest, TheFocusFrameShowsOnlyWhileTheViewHasTheFocus) {
    addNumberedItems(2);
    showFocused();
    view->setFocusedItem(1);
    const CRect box = doc->items().rectAt(1);
    // The frame runs in the gap above the box.
    auto framePixels = [&] {
        const QImage image = picture();
        int dark = 0;
        for (int x = box.left; x < box.right; ++x)
            for (int y = box.top - 6; y < box.top - 1; ++y)
                if (image.pixelColor(x, y).lightness() < 60) ++dark;
        return dark;
    };
    EXPECT_GT(framePixels(), (box.right - box.left) / 3);
    view->clearFocus();
    EXPECT_EQ(framePixels(), 0);
}

// From the group window to a booked reservation and back, with key presses only: the real
// program's windows and dialogs, and not one mouse event.
TEST_F(ViewKeyboardTest, AUserBooksAnItemFromTheGroupWindowWithTheKeyboardAlone) {
    addItems({{"Garden", ""}, {"Lakeview", ""}, {"Boardroom", ""}});
    addPerson("Alex", "Morgan");
    CMemorySettings appSettings;
    appSettings.writeInt("Startup", "StartedBefore", 1);
    CQtPrompt user;
    CORVSchedApp app(appSettings, user, user, CORVSchedApp::Options{0});
    ASSERT_TRUE(app.start({}));
    ASSERT_TRUE(app.openGroup(QString::fromStdString(group)));
    CChildFrame* frame = app.findOpenGroup(QString::fromStdString(group));
    ASSERT_NE(frame, nullptr);
    auto* groupView = qobject_cast<CORVSchedView*>(frame->widget());
    ASSERT_TRUE(QTest::qWaitForWindowActive(app.mainFrame()));
    groupView->setFocus();
    ASSERT_TRUE(groupView->hasFocus());

    struct MouseWatch : QObject {
        int presses = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonRelease)
                ++presses;
            return false;
        }
    } mouse;
    qApp->installEventFilter(&mouse);

    // What the user does in each dialog that comes up, by its title, one step at a time.
    QStringList seen;
    QString bookedLine;
    int step = 0;
    auto keys = [](QWidget* modal, const QList<std::pair<Qt::Key, Qt::KeyboardModifiers>>& k) {
        for (const auto& [key, mods] : k) {
            QWidget* target = modal->focusWidget() ? modal->focusWidget() : modal;
            QTest::keyClick(target, key, mods);
        }
    };
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) return;
        // As a window manager does, the dialog that comes up gets the keyboard.
        if (QApplication::activeWindow() != modal) {
            modal->activateWindow();
            return;
        }
        QPointer<QWidget> at = modal;
        // A step runs after this poll returns: it may open a dialog of its own.
        auto act = [&, at](auto what) {
            QTimer::singleShot(0, at, [what, at] {
                if (at) what(at.data());
            });
        };
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            if (seen.isEmpty() || seen.last() != box->text()) seen << box->text();
            act([&](QWidget* m) { keys(m, {{Qt::Key_Return, Qt::NoModifier}}); });
        } else if (qobject_cast<CRoomInfoDlg*>(modal) && step == 0) {
            step = 1;
            seen << modal->windowTitle();
            act([&](QWidget* m) { keys(m, {{Qt::Key_M, Qt::AltModifier}}); });
        } else if (qobject_cast<CAddReservationDlg*>(modal) && step == 1) {
            step = 2;
            seen << modal->windowTitle();
            act([&](QWidget* m) {
                keys(m, {{Qt::Key_R, Qt::AltModifier},
                         {Qt::Key_M, Qt::NoModifier},
                         {Qt::Key_Return, Qt::NoModifier}});
            });
        } else if (auto* day = qobject_cast<CRoomInfoDlg*>(modal); day && step == 2) {
            step = 3;
            if (day->list()->count() > 0) bookedLine = day->list()->item(0)->text();
            act([&](QWidget* m) { keys(m, {{Qt::Key_F, Qt::AltModifier}}); });
        }
    });
    poll.start(30);
    // Nothing may hang the test: whatever is still open after a while is closed.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] {
        while (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            modal->reject();
    });
    guard.start(20000);

    QTest::keyClick(groupView, Qt::Key_B);
    EXPECT_EQ(groupView->focusedItem(), 2);
    QTest::keyClick(groupView, Qt::Key_Return); // the day list runs until Finished
    poll.stop();
    qApp->removeEventFilter(&mouse);

    EXPECT_EQ(step, 3) << seen.join(" | ").toStdString();
    ASSERT_GE(seen.size(), 2);
    EXPECT_EQ(seen[0], "Reservations for Boardroom");
    EXPECT_EQ(seen[1], "Make a Reservation for Boardroom");
    EXPECT_TRUE(bookedLine.contains(QStringLiteral("Morgan, Alex"))) << bookedLine.toStdString();
    EXPECT_EQ(mouse.presses, 0);
    // Back in the group window, on the same item, with the keyboard.
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    app.mainFrame()->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(app.mainFrame()));
    EXPECT_EQ(groupView->focusedItem(), 2);
    EXPECT_TRUE(groupView->hasFocus());
    bool booked = false;
    for (const _SCHEDITEM& e : groupView->document().todaysList())
        if (e.itemIndex == 2 && std::string(e.label).find("Morgan") != std::string::npos)
            booked = true;
    EXPECT_TRUE(booked);
}

} // namespace
} // namespace orv::test
