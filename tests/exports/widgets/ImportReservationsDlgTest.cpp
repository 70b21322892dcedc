// The import dialog: a spreadsheet's columns and date form chosen in it (the first rows show how
// the dates read), an unknown person mapped to one of the group's, a line unticked; OK then
// books only what stayed ticked.
#include "app/ViewTestSupport.h"
#include "exports/CReservationImport.h"
#include "exports/widgets/CImportReservationsDlg.h"
#include "group/CProgress.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>

#include <fstream>

namespace orv::test {
namespace {

class ImportReservationsDlg : public ViewFixture {};

QStringList shown(const QListWidget* list) {
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines << list->item(i)->text();
    return lines;
}

TEST_F(ImportReservationsDlg, ColumnsDateFormAndPeopleChosenInTheDialogBookTheTickedLines) {
    addItems({{"Boardroom", "12"}, {"Huddle", "4"}});
    reserve("Huddle", 16, 9, 0, 10, 0, "Chen");
    doc = openDoc();
    doc->people().clearImage();
    doc->people().image().setKey({"Alex", "J", "Morgan", "Sales"});
    doc->people().image().setFlags(2);
    ASSERT_EQ(doc->people().append(), 0);
    const std::string csv = dir.file("rooms.csv");
    std::ofstream(csv, std::ios::binary) << "Day,From,To,Room,Booked for\r\n"
                                            "14.12.2026,09:00,10:00,Boardroom,A. Morgan\r\n"
                                            "15.12.2026,09:00,10:00,Boardroom,A. Morgan\r\n"
                                            "16.12.2026,09:30,10:30,Huddle,A. Morgan\r\n";
    CReservationImport model(*doc);
    std::string error;
    ASSERT_TRUE(model.load(csv, error)) << error;
    ASSERT_EQ(model.preview(), 0);
    CImportReservationsDlg dialog(model, prompt);
    EXPECT_EQ(dialog.windowTitle(), "Import Reservations");
    auto* preview = dialog.findChild<QListWidget*>("preview");
    auto* firstRows = dialog.findChild<QListWidget*>("firstRows");
    auto* dateForm = dialog.findChild<QComboBox*>("dateForm");
    auto* person = dialog.findChild<QComboBox*>("person");
    ASSERT_TRUE(preview && firstRows && dateForm && person);
    EXPECT_EQ(shown(firstRows).front(), "14.12.2026  ->  not a date");
    EXPECT_EQ(shown(preview).front(), "invalid: line 2: the date \"14.12.2026\" is not YYYY-MM-DD");

    dateForm->setCurrentIndex(2); // DD.MM.YYYY
    EXPECT_EQ(shown(firstRows).front(), "14.12.2026  ->  Monday, December 14, 2026");
    EXPECT_EQ(shown(preview).front(), "12/14/2026  09:00-10:00  Boardroom  unknown person \"\"");
    person->setCurrentIndex(person->findText("Booked for")); // the person column
    // The name the file gives is unknown: it stands for Morgan.
    QComboBox* mapping = nullptr;
    for (QComboBox* c : dialog.findChildren<QComboBox*>())
        if (c->findText("Morgan, Alex J") >= 0) mapping = c;
    ASSERT_NE(mapping, nullptr);
    mapping->setCurrentIndex(mapping->findText("Morgan, Alex J"));
    EXPECT_EQ(shown(preview),
              (QStringList{"12/14/2026  09:00-10:00  Boardroom  Morgan, Alex J  will be booked",
                           "12/15/2026  09:00-10:00  Boardroom  Morgan, Alex J  will be booked",
                           "12/16/2026  09:30-10:30  Huddle  Morgan, Alex J  conflicts with "
                           "09:00 AM   10:00 AM   Chen, Pat"}));
    EXPECT_EQ(preview->item(2)->flags() & Qt::ItemIsUserCheckable, Qt::ItemFlags());
    preview->item(1)->setCheckState(Qt::Unchecked);
    EXPECT_EQ(dialog.findChild<QLabel*>("counts")->text(), "1 of 3 lines will be written");

    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    CProgress progress;
    ASSERT_EQ(model.run(progress), 0);
    EXPECT_EQ(model.countsText(), "1 booked, 1 conflict, 1 skipped");
    std::vector<CScheduleRecord> records;
    doc->schedule().recordsOfItemOnDate("20261215", "Boardroom", records);
    EXPECT_TRUE(records.empty());
    doc->schedule().recordsOfItemOnDate("20261214", "Boardroom", records);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].lastName(), "Morgan");
}

} // namespace
} // namespace orv::test
