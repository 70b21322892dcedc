// The day list and the reservation dialog as widgets: the day list printed to PDF and read back,
// its buttons acting on the selected line only, the start time moving the end time along, and a
// click on an item opening the real day list.
#include "app/ViewTestSupport.h"

#include "reservations/widgets/CAddReservationDlg.h"
#include "reservations/widgets/CRoomInfoDlg.h"

#include <QApplication>
#include <QDateEdit>
#include <QListWidget>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeEdit>

namespace orv::test {
namespace {

class DayListDlg : public ViewFixture {};

TEST_F(DayListDlg, PrintsTheDateTitleDescriptionAndLinesOnOnePage) {
    addItems({{"Boardroom", "16"}});
    reserve("Boardroom", 8, 9, 0, 10, 30, "Morgan");
    reserve("Boardroom", 8, 13, 5, 14, 0, "Chen");
    doc = openDoc();
    CItemDayModel model(*doc, 0);
    CRoomInfoDlg dialog(model, prompt);
    EXPECT_EQ(dialog.windowTitle(), "Reservations for Boardroom");
    ASSERT_EQ(dialog.list()->count(), 2);

    QTemporaryDir out;
    const QString pdf = out.filePath(QStringLiteral("day.pdf"));
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    dialog.printTo(printer);
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString printed = QString::fromUtf8(text.readAllStandardOutput()).simplified();
    for (const char* expected :
         {"Tuesday, December 08, 2026", "Reservations for Boardroom", "Occupancy 16",
          "09:00 AM 10:30 AM Morgan, Pat", "01:05 PM 02:00 PM Chen, Pat"})
        EXPECT_TRUE(printed.contains(QString::fromLatin1(expected)))
            << expected << " in " << printed.toStdString();
}

TEST_F(DayListDlg, ButtonsNeedASelectionAndTheDatePickerReloads) {
    addItems({{"Boardroom", ""}});
    reserve("Boardroom", 9, 9, 0, 10, 0, "Morgan");
    doc = openDoc();
    CItemDayModel model(*doc, 0);
    CRoomInfoDlg dialog(model, prompt);
    QPushButton* cancel = dialog.button(QStringLiteral("Cancel Reservation"));
    ASSERT_NE(cancel, nullptr);
    EXPECT_FALSE(cancel->isEnabled());
    EXPECT_EQ(dialog.list()->count(), 0);
    dialog.datePicker()->setDate(QDate(2026, 12, 9));
    ASSERT_EQ(dialog.list()->count(), 1);
    dialog.list()->setCurrentRow(0);
    EXPECT_TRUE(cancel->isEnabled());
    prompt.answers = {true};
    cancel->click();
    EXPECT_EQ(dialog.list()->count(), 0);
    EXPECT_TRUE(model.changed());
}

// The day list's buttons act on the selected line. Tabbing into the list makes its first line
// the current one without selecting it; after a reload the buttons are still enabled.
struct SelectionCase {
    const char* button;
    const char* message;
};

void PrintTo(const SelectionCase& c, std::ostream* os) {
    *os << c.button;
}

class DayListSelection : public ViewFixture, public ::testing::WithParamInterface<SelectionCase> {};

TEST_P(DayListSelection, TheCurrentLineIsNoSelection) {
    addItems({{"Boardroom", ""}});
    reserve("Boardroom", 8, 9, 0, 11, 0, "Morgan"); // running now
    reserve("Boardroom", 8, 13, 0, 14, 0, "Chen");
    doc = openDoc();
    CItemDayModel model(*doc, 0);
    CRoomInfoDlg dialog(model, prompt);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QListWidget* list = dialog.list();
    ASSERT_EQ(list->count(), 2);

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(1)).center());
    ASSERT_EQ(list->selectedItems().size(), 1);
    dialog.button(QStringLiteral("Refresh"))->click();
    QPushButton* button = dialog.button(QString::fromLatin1(GetParam().button));
    ASSERT_TRUE(button->isEnabled());
    ASSERT_TRUE(list->selectedItems().isEmpty());

    QPushButton* finished = dialog.button(QStringLiteral("Finished"));
    finished->setFocus(Qt::TabFocusReason);
    QTest::keyClick(finished, Qt::Key_Tab, Qt::ShiftModifier);
    ASSERT_TRUE(list->hasFocus());
    ASSERT_EQ(list->currentRow(), 0);
    ASSERT_TRUE(list->selectedItems().isEmpty());

    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(prompt.messages, (std::vector<RecordedMessage>{error(GetParam().message, "Error")}));
    EXPECT_EQ(list->count(), 2);
    EXPECT_EQ(model.recordAt(0).endHhmm(), 1100);
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, DayListSelection,
    ::testing::Values(SelectionCase{"Cancel Reservation", CItemDayModel::kSelectToCancel},
                      SelectionCase{"Terminate Reservation", CItemDayModel::kSelectToTerminate}));

TEST_F(DayListDlg, TheStartPickerMovesTheEndByTheDefaultLength) {
    addItems({{"Boardroom", ""}});
    doc = openDoc();
    CItemDayModel day(*doc, 0);
    CAddReservation model(*doc, "Boardroom", {2026, 12, 8}, 30, day);
    CAddReservationDlg dialog(model, prompt);
    EXPECT_EQ(dialog.startPicker()->displayFormat(), "hh':'mm AP");
    EXPECT_EQ(dialog.startPicker()->text(), "10:00 AM");
    EXPECT_EQ(dialog.endPicker()->text(), "10:30 AM");
    dialog.startPicker()->setTime(QTime(14, 0));
    EXPECT_EQ(dialog.endPicker()->text(), "02:30 PM");
    dialog.endPicker()->setTime(QTime(16, 0));
    dialog.startPicker()->setTime(QTime(15, 0));
    EXPECT_EQ(dialog.endPicker()->text(), "04:00 PM") << "an edited end stays";
    EXPECT_FALSE(dialog.lastDatePicker()->isEnabled());
    EXPECT_EQ(dialog.personList()->item(0)->text(), "<Add a new person>");
}

} // namespace
} // namespace orv::test
