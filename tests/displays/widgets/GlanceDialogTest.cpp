// The overview and report dialogs on real widgets: what the lists show and how their lines are
// drawn, the start hour field, clicks on lines, and the view's View menu commands.
#include "app/CORVSchedView.h"
#include "common/GroupFixture.h"
#include "displays/widgets/CDAGListBox.h"
#include "displays/widgets/CDayGlanceG.h"
#include "displays/widgets/CMonthResDlg.h"
#include "reports/widgets/CResReportDataDlg.h"
#include "reports/widgets/CResReportDlg.h"

#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QTest>
#include <QToolButton>

namespace orv::test {
namespace {

const QColor kBar(10, 120, 230);

class GlanceDialogTest : public GroupFixture {
protected:
    static std::vector<std::string> rows(const QListWidget* list) {
        std::vector<std::string> texts;
        for (int i = 0; i < list->count(); ++i)
            texts.push_back(list->item(i)->text().toStdString());
        return texts;
    }
    static std::vector<std::string> rows(const QListView* list) {
        std::vector<std::string> texts;
        const QAbstractItemModel* model = list->model();
        for (int i = 0; i < model->rowCount(); ++i)
            texts.push_back(model->index(i, 0).data().toString().toStdString());
        return texts;
    }
    // The colour at character position `position` of list row `row`, `dx` pixels from the
    // middle of that character.
    static QColor at(CDAGListBox* list, int row, int position, int dx) {
        const QImage image = list->viewport()->grab().toImage();
        const QRect r = list->visualItemRect(list->item(row));
        const int w = list->charWidth();
        return image.pixelColor(r.left() + position * w + w / 2 + dx, r.center().y());
    }
};

TEST_F(GlanceDialogTest, BarsRunFromTheMiddleOfTheirFirstQuarterToTheMiddleOfTheEndMark) {
    addItems({"Lab", "Studio"});
    reserveAll({{"Lab", 12, 8, 2026, 9, 0, 10, 0}, {"Studio", 12, 8, 2026, 9, 0, 9, 30}});
    CDayGlance day(*doc, CDayGlance::Form::allDay, 0, 0, {});
    CDayGlanceG dialog(day, prompt);
    dialog.list()->setStarColour(kBar);
    dialog.resize(1400, 400);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    ASSERT_GE(dialog.list()->charWidth(), 4);
    EXPECT_EQ(rows(dialog.list()), day.lines());

    // 09:00 is quarter 36, character 22 + 36 of the line; 10:00 is the "0" of "10".
    CDAGListBox* list = dialog.list();
    EXPECT_EQ(at(list, 1, 58, 1), kBar);
    EXPECT_NE(at(list, 1, 58, -2), kBar);
    EXPECT_EQ(at(list, 1, 62, -2), kBar);
    EXPECT_NE(at(list, 1, 62, 1), kBar);
    EXPECT_NE(at(list, 0, 60, 0), kBar) << "a ruler is text";

    CMonthGlance month(*doc, 0x00E6780A, 0x0000FFFF, {});
    CMonthResDlg monthly(month, prompt);
    monthly.resize(1400, 900);
    monthly.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&monthly));
    EXPECT_EQ(rows(monthly.list()), month.lines());
    // Day 8: both items 09:00-09:30, only the Lab 09:30-10:00 (name width 3: the line starts
    // at character 5).
    EXPECT_EQ(at(monthly.list(), 8, 5 + 36, 1), kBar);
    EXPECT_EQ(at(monthly.list(), 8, 5 + 38, 1), QColor(255, 255, 0));
}

// The overviews by keyboard, as the group window: typing an item's first letters finds its line,
// the arrow keys move between lines, and Enter opens the item's day list.
TEST_F(GlanceDialogTest, TypingAndEnterOpenAnItemsDayListFromEitherOverview) {
    addItems({"Lab", "Studio", "Stage"});
    std::vector<int> opened;
    const OpenItemDay opener = [&](int item, int month, int day, int year) {
        opened.push_back(item);
        CItemDayOutcome outcome;
        outcome.month = month;
        outcome.day = day;
        outcome.year = year;
        return outcome;
    };
    CDayGlance day(*doc, CDayGlance::Form::allDay, 0, 0, opener);
    CDayGlanceG dialog(day, prompt);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    CDAGListBox* list = dialog.list();
    list->setFocus();
    QTest::keyClicks(list, QStringLiteral("stu"));
    QTest::keyClick(list, Qt::Key_Return);
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Enter);
    EXPECT_EQ(opened, (std::vector<int>{1, 2}));
    EXPECT_EQ(list->accessibleName(), dialog.windowTitle());
}

TEST_F(GlanceDialogTest, TheStartHourFieldAndArrowsMoveTheTwelveHoursAndARefusedHourStays) {
    addItems({"Lab"});
    reserve({"Lab", 12, 9, 2026, 13, 0, 14, 0});
    CDayGlance day(*doc, CDayGlance::Form::twelveHours, 255, 6, {});
    CDayGlanceG dialog(day, prompt);
    dialog.show();
    dialog.startHourField()->setText(QStringLiteral("15"));
    emit dialog.startHourField()->editingFinished();
    EXPECT_EQ(prompt.messages, (std::vector<RecordedMessage>{{"Enter an integer between 0 and 12.",
                                                              kAppTitle, PromptIcon::warning}}));
    EXPECT_EQ(dialog.startHourField()->text(), QStringLiteral("6"));

    auto* up = dialog.findChild<QToolButton*>(QStringLiteral("hourUp"));
    for (int i = 0; i < 8; ++i)
        QTest::mouseClick(up, Qt::LeftButton);
    EXPECT_EQ(dialog.startHourField()->text(), QStringLiteral("12"));
    EXPECT_EQ(dialog.hourLabel()->text(), QStringLiteral("PM"));
    EXPECT_TRUE(dialog.list()->item(0)->text().startsWith(QString(22, u' ') + u'N'));

    dialog.datePicker()->setDate(QDate(2026, 12, 9));
    EXPECT_EQ(day.day(), 9);
    EXPECT_EQ(dialog.list()->item(1)->text().mid(22 + 4, 4), QStringLiteral("****"));
}

TEST_F(GlanceDialogTest, EnterInAFieldDoesThatFieldsWorkAndLeavesTheOverviewOpen) {
    addItems({"Lab"});
    for (CDayGlance::Form form : {CDayGlance::Form::twelveHours, CDayGlance::Form::allDay}) {
        CDayGlance day(*doc, form, 255, 6, {});
        CDayGlanceG dialog(day, prompt);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        dialog.activateWindow();
        if (QLineEdit* hour = dialog.startHourField()) {
            hour->setFocus();
            hour->selectAll();
            QTest::keyClicks(hour, QStringLiteral("8"));
            QTest::keyClick(hour, Qt::Key_Return);
            EXPECT_EQ(day.startHour(), 8);
            EXPECT_TRUE(dialog.isVisible()) << "Enter in the start hour closed the overview";
        }
        dialog.datePicker()->setFocus();
        dialog.datePicker()->setDate(QDate(2026, 12, 10));
        QTest::keyClick(dialog.datePicker(), Qt::Key_Return);
        EXPECT_EQ(day.day(), 10);
        EXPECT_TRUE(dialog.isVisible()) << "Enter in the date closed the overview";
        EXPECT_EQ(dialog.result(), 0);
    }
}

TEST_F(GlanceDialogTest, ABlockoutIsCrossedOverItsBarAndAReservationIsNot) {
    addItems({"Lab", "Studio"});
    Booking blocked{"Studio", 12, 8, 2026, 9, 0, 10, 0};
    blocked.blockout = true;
    reserveAll({{"Lab", 12, 8, 2026, 9, 0, 10, 0}, blocked});
    CDayGlance day(*doc, CDayGlance::Form::allDay, 0, 0, {});
    CDayGlanceG dialog(day, prompt);
    dialog.list()->setStarColour(kBar);
    dialog.resize(1400, 400);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    CDAGListBox* list = dialog.list();
    const QImage image = list->viewport()->grab().toImage();
    const int w = list->charWidth();
    // Pixels of the hatch over the bar of 09:00-10:00 (characters 58 to 61) of a row.
    auto hatch = [&](int row) {
        const QRect r = list->visualItemRect(list->item(row));
        int n = 0;
        for (int x = r.left() + 58 * w + w / 2; x < r.left() + 62 * w + w / 2; ++x)
            for (int y = r.top(); y <= r.bottom(); ++y)
                if (image.pixelColor(x, y) == CDAGListBox::kBlockoutColour) ++n;
        return n;
    };
    EXPECT_EQ(hatch(1), 0) << "the Lab's reservation";
    EXPECT_GT(hatch(2), 4 * w / 2) << "the Studio's blockout";
}

TEST_F(GlanceDialogTest, ClickingAnItemLineOpensItsDayListAndClearsTheSelection) {
    addItems({"Lab", "Studio"});
    std::vector<int> opened;
    CDayGlance day(*doc, CDayGlance::Form::allDay, 255, 0, [&](int item, int m, int d, int y) {
        opened.push_back(item);
        return CItemDayOutcome{true, false, m, d, y};
    });
    CDayGlanceG dialog(day, prompt);
    dialog.resize(1400, 400);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QListWidget* list = dialog.list();
    for (int row : {0, 2, 3})
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    EXPECT_EQ(opened, std::vector<int>{1});
    EXPECT_TRUE(list->selectedItems().isEmpty());
}

TEST_F(GlanceDialogTest, TheReportDialogsTakeTheChosenRowsAndShowTheReportOnceShown) {
    addItems({"Lab", "Studio"});
    const long smith = addPerson("Pat", "", "Smith", "Sales");
    reserveAll({{"Lab", 12, 8, 2026, 9, 0, 10, 0, "Smith", "Pat", "", "Sales"},
                {"Studio", 12, 8, 2026, 9, 0, 10, 0, "Smith", "Pat", "", "Sales"}});
    CResReportOptions options(*doc, 12, 8, 2026);
    CResReportDlg choose(options, prompt);
    choose.itemList()->item(1)->setSelected(true);
    choose.peopleList()->item(0)->setSelected(true);
    choose.accept();
    EXPECT_EQ(options.criteria().items, std::set<int>{1});
    EXPECT_EQ(options.selectedPeople, std::vector<long>{smith});

    CResReportData report(*doc, options.criteria());
    CResReportDataDlg shown(report, prompt);
    EXPECT_EQ(rows(shown.list()), std::vector<std::string>{CResReportData::kGenerating});
    shown.show();
    QTRY_COMPARE(shown.list()->model()->rowCount(), 6);
    EXPECT_EQ(rows(shown.list())[3],
              "Studio          12/08/2026 09:00a 10:00a Smith, Pat  (Sales)");
}

TEST_F(GlanceDialogTest, TheViewMenuOpensEachOverviewAndTheReportOnlyWithReservations) {
    addItems({"Lab"});
    settings.writeInt("DayRes", "UseFullDay", 1);
    auto shared = std::shared_ptr<CORVSchedDoc>(std::move(doc));
    doc.reset();
    CORVSchedView view(shared);
    for (Command c :
         {Command::daysReservations, Command::monthsReservations, Command::allReservations})
        EXPECT_TRUE(view.handles(c));

    prompt.dialogSteps.push_back([](CDialogModel& d) {
        EXPECT_EQ(dynamic_cast<CDayGlance&>(d).form(), CDayGlance::Form::allDay);
        return true;
    });
    view.run(Command::daysReservations);
    view.run(Command::monthsReservations);
    view.run(Command::allReservations);
    EXPECT_EQ(prompt.dialogsShown, (std::vector<std::string>{"DayGlance", "MonthGlance"}));
    EXPECT_EQ(prompt.messages, (std::vector<RecordedMessage>{
                                   info("No reservations for this group", "No Reservations")}));

    prompt.messages.clear();
    CSchedule& schedule = shared->schedule();
    schedule.clearImage();
    schedule.image().setDate(11, 3, 2026);
    schedule.image().setItemName("Lab");
    schedule.image().setStartTime(9, 0);
    schedule.image().setEndTime(10, 0);
    ASSERT_EQ(schedule.append(), 0);
    prompt.dialogSteps.push_back([](CDialogModel& d) {
        auto& o = dynamic_cast<CResReportOptions&>(d);
        EXPECT_EQ(std::vector<int>({o.startMonth, o.startDay, o.startYear}),
                  std::vector<int>({11, 3, 2026}));
        return true;
    });
    view.run(Command::allReservations);
    EXPECT_TRUE(prompt.messages.empty());
    EXPECT_EQ(prompt.dialogsShown.back(), "ResReportData");
}

} // namespace
} // namespace orv::test
