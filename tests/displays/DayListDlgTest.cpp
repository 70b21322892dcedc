// The day list and the reservation dialog as widgets: the day list printed to PDF and read back,
// the start time moving the end time along, and a click on an item opening the real day list.
#include "ViewTestSupport.h"

#include "reservations/CAddReservationDlg.h"
#include "reservations/CRoomInfoDlg.h"

#include <QDateEdit>
#include <QListWidget>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
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
