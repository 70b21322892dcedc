// What the board tells a new user: each box's state in words as its tooltip and in the status
// bar, and a legend of the two box colours taken from the preferences.
#include "ViewTestSupport.h"

#include "displays/CItemStateText.h"
#include "ui/ColorRef.h"

#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTest>
#include <QToolTip>

namespace orv::test {
namespace {

class ViewTellsTest : public ViewFixture {
protected:
    void blockOut(const std::string& item, int sh, int eh) {
        ScriptedPrompt p;
        CMemorySettings s;
        CORVSchedDoc d(p, s);
        ASSERT_TRUE(d.openGroup(group));
        CScheduleRecord& r = d.schedule().image();
        d.schedule().clearImage();
        r.setDate(12, 8, 2026);
        r.setItemName(item);
        r.setStartTime(sh, 0);
        r.setEndTime(eh, 0);
        r.setPerson("Blocked", "", "Out", "");
        r.setNote("Blocked Out");
        r.setFlags(CScheduleRecord::kFlagBlockout | CScheduleRecord::kFlagShowNote);
        ASSERT_EQ(d.schedule().append(), 0);
    }
    QPoint onScreen(int item) {
        picture(); // drawing places the boxes
        return centre(doc->items().rectAt(item)) -
               QPoint(view->horizontalScrollBar()->value(), view->verticalScrollBar()->value());
    }
};

TEST_F(ViewTellsTest, TooltipAndStatusBarSayWhoHasTheItemUntilWhenOrWhatComesNext) {
    // The clock stands at 10:00:30.
    addNumberedItems(5);
    reserve("Room 1", 8, 9, 30, 10, 30, "Ames");
    reserve("Room 2", 8, 11, 0, 12, 0, "Later");
    reserve("Room 2", 8, 14, 0, 15, 0, "Much Later");
    blockOut("Room 3", 8, 17);
    blockOut("Room 4", 13, 14);
    reserve("Room 5", 8, 8, 0, 10, 0, "Ended");
    QMainWindow window;
    auto d = openDoc();
    doc = d;
    view = std::make_unique<CORVSchedView>(doc);
    window.setCentralWidget(view.get());
    window.statusBar(); // made on first use; the view's status tips need it
    window.resize(1000, 800);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    const std::vector<std::string> told = {
        "Room 1: in use by Ames from 9:30 AM until 10:30 AM",
        "Room 2: free until 11:00 AM, then reserved by Later until 12:00 PM",
        "Room 3: blocked out from 8:00 AM until 5:00 PM",
        "Room 4: free until 1:00 PM, then blocked out until 2:00 PM",
        "Room 5: free for the rest of the day",
    };
    for (int i = 0; i < 5; ++i) {
        const QPoint at = onScreen(i);
        EXPECT_EQ(view->stateTextAt(at).toStdString(), told[static_cast<std::size_t>(i)]);

        QMouseEvent move(QEvent::MouseMove, at, view->viewport()->mapToGlobal(at), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &move);
        EXPECT_EQ(window.statusBar()->currentMessage().toStdString(),
                  told[static_cast<std::size_t>(i)]);

        QHelpEvent help(QEvent::ToolTip, at, view->viewport()->mapToGlobal(at));
        QApplication::sendEvent(view->viewport(), &help);
        EXPECT_EQ(QToolTip::text().toStdString(), told[static_cast<std::size_t>(i)]);
    }
    // Between the boxes the view says nothing.
    const QPoint between(2, 2);
    EXPECT_TRUE(view->stateTextAt(between).isEmpty());
    QMouseEvent away(QEvent::MouseMove, between, view->viewport()->mapToGlobal(between),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &away);
    EXPECT_TRUE(window.statusBar()->currentMessage().isEmpty());
    window.takeCentralWidget();
    view->setParent(nullptr);
}

TEST_F(ViewTellsTest, TheLegendNamesTheTwoBoxColoursOfThePreferences) {
    struct Case {
        const char* name;
        int occupied, unoccupied; // stored; -1: nothing stored
        QColor inUse, free;
    };
    const Case cases[] = {
        {"a new user", -1, -1, kRed, kFree},
        {"colours of one's own", 0xFF0000, 0x00FF00, QColor(0, 0, 255), QColor(0, 255, 0)},
    };
    addNumberedItems(1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.occupied >= 0) settings.writeInt("Colors", "Occupied", c.occupied);
        if (c.unoccupied >= 0) settings.writeInt("Colors", "Unoccupied", c.unoccupied);
        showView();
        QWidget* legend = view->legend();
        ASSERT_NE(legend, nullptr);
        EXPECT_TRUE(legend->isVisible());
        auto text = [&](const char* name) {
            auto* label = legend->findChild<QLabel*>(QLatin1String(name));
            return label ? label->text().toStdString() : std::string("(none)");
        };
        auto swatch = [&](const char* name) {
            auto* label = legend->findChild<QLabel*>(QLatin1String(name));
            return label
                       ? label->grab().toImage().pixelColor(label->width() / 2, label->height() / 2)
                       : QColor();
        };
        EXPECT_EQ(text("legendInUse"), CItemStateText::kLegendInUse);
        EXPECT_EQ(text("legendFree"), CItemStateText::kLegendFree);
        EXPECT_EQ(swatch("legendInUseSwatch"), c.inUse);
        EXPECT_EQ(swatch("legendFreeSwatch"), c.free);
        // The legend stands above the boxes, not over them.
        EXPECT_LE(legend->geometry().bottom(), view->viewport()->geometry().top());
        view.reset();
        doc.reset();
    }
}

} // namespace
} // namespace orv::test
