// The blockout, deletion and report dialogs as widgets, and the main view's commands that open
// them: the values each dialog hands its logic, the buttons it enables, and "Attendance" greyed
// while the attendee function is off.
#include "app/ViewTestSupport.h"

#include "reports/CUtilizationReport.h"
#include "reports/widgets/CUtilizationDlg.h"
#include "reservations/CDeleteRes.h"
#include "reservations/widgets/CBlockoutDlg.h"
#include "reservations/widgets/CRemoveBlockoutDlg.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimeEdit>

#include <filesystem>

namespace orv::test {
namespace {

class BlockoutReportDlgTest : public ViewFixture {};

TEST_F(BlockoutReportDlgTest, TheBlockoutDialogHandsItsValuesToTheBlockout) {
    addNumberedItems(3);
    doc = openDoc();
    CBlockoutModel model(*doc);
    CBlockoutDlg dialog(model, prompt);
    EXPECT_EQ(dialog.windowTitle(), "Block Reservations for a Specified Date");
    EXPECT_EQ(dialog.datePicker()->date(), QDate(2026, 12, 9));
    EXPECT_EQ(dialog.startPicker()->text(), "12:00 AM");
    EXPECT_EQ(dialog.endPicker()->text(), "11:59 PM");
    ASSERT_EQ(dialog.items()->count(), 3);
    dialog.startPicker()->setTime(QTime(13, 0));
    dialog.endPicker()->setTime(QTime(14, 30));
    dialog.items()->item(2)->setSelected(true);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(model.blocked(), std::vector<std::string>{"Room 3"});
    EXPECT_EQ(CRemoveBlockoutModel(*doc).lines(),
              std::vector<std::string>{"13:00  -  14:30   Room 3 "});
}

TEST_F(BlockoutReportDlgTest, RemoveSelectedIsEnabledOnlyForADateWithBlockouts) {
    addNumberedItems(2);
    doc = openDoc();
    CBlockoutModel blockout(*doc);
    blockout.date = {2026, 12, 10};
    ASSERT_TRUE(blockout.block());
    CRemoveBlockoutModel model(*doc);
    CRemoveBlockoutDlg dialog(model, prompt);
    EXPECT_EQ(dialog.list()->count(), 0);
    EXPECT_FALSE(dialog.removeSelectedButton()->isEnabled());
    dialog.datePicker()->setDate(QDate(2026, 12, 10));
    ASSERT_EQ(dialog.list()->count(), 2);
    EXPECT_TRUE(dialog.removeSelectedButton()->isEnabled());
    dialog.list()->item(1)->setSelected(true);
    dialog.removeSelectedButton()->click();
    ASSERT_EQ(dialog.list()->count(), 1);
    EXPECT_EQ(dialog.list()->item(0)->text(), "00:00  -  23:59   Room 1 ");
    dialog.removeAllButton()->click();
    EXPECT_EQ(dialog.list()->count(), 0);
    EXPECT_EQ(prompt.messages.back(), info("All blockouts were removed.", "Removal Results"));
}

TEST_F(BlockoutReportDlgTest, TheUtilizationHoursFollowTheirBoxAndTwelveAmEndsTheDay) {
    doc = openDoc();
    CUtilizationOptions model(*doc, {2026, 11, 2}, 6);
    CUtilizationDlg dialog(model, prompt);
    EXPECT_EQ(dialog.endHourPicker()->text(), "06 PM");
    EXPECT_FALSE(dialog.startHourPicker()->isEnabled());
    dialog.windowBox()->setChecked(true);
    EXPECT_TRUE(dialog.startHourPicker()->isEnabled());
    dialog.endHourPicker()->setTime(QTime(0, 0));
    dialog.accept();
    EXPECT_EQ(model.criteria().endHour, 24);
}

TEST_F(BlockoutReportDlgTest, TheViewRunsTheNewCommandsAndGreysAttendanceWithoutAttendees) {
    addNumberedItems(1);
    CORVSchedView& v = showView();
    for (Command c : {Command::specifyBlockout, Command::removeBlockout,
                      Command::deleteOldReservations, Command::personsReservations}) {
        prompt.cancelDialog();
        v.run(c);
    }
    EXPECT_EQ(prompt.dialogsShown,
              (std::vector<std::string>{CBlockoutModel::kId, CRemoveBlockoutModel::kId,
                                        CDeleteRes::kId, "PersonList"}));
    v.run(Command::utilization);
    EXPECT_EQ(prompt.messages, std::vector<RecordedMessage>{
                                   info(CUtilizationReport::kNoReservations, "No Reservations")});

    view.reset();
    doc.reset();
    for (const char* ext : {".dbf", ".cdx"})
        std::filesystem::remove(dir.file("RoomRosLnk") + ext);
    showView();
    EXPECT_FALSE(view->isEnabled(Command::attendance));
    EXPECT_TRUE(view->isEnabled(Command::personsReservations));
}

} // namespace
} // namespace orv::test
