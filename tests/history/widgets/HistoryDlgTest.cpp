// The history window: newest first, the filters applied as they change, the lines shown printed
// through the list printer, and Restore on a cancelled line. Saves a picture of the window with
// filters set (screenshots/history.png in the build folder).
#include "app/ViewTestSupport.h"
#include "history/CHistory.h"
#include "history/CJournalChange.h"
#include "history/widgets/CHistoryDlg.h"
#include "reservations/CItemDayModel.h"
#include "ui/CQtListPrinter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QListWidget>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstdlib>

namespace orv::test {
namespace {

class HistoryDlg : public ViewFixture {
protected:
    void SetUp() override {
        setenv("LOGNAME", "alice", 1);
        ViewFixture::SetUp();
    }
    // A reservation written through the record layer as one recorded change.
    void book(const std::string& item, int start, int end, const std::string& last) {
        CJournalChange change(*doc);
        CSchedule& schedule = doc->schedule();
        schedule.clearImage();
        schedule.image().setDate(12, 8, 2026);
        schedule.image().setItemName(item);
        schedule.image().setStartTime(start / 100, start % 100);
        schedule.image().setEndTime(end / 100, end % 100);
        schedule.image().setPerson("Pat", "", last, "");
        ASSERT_EQ(schedule.append(), 0);
    }
    std::size_t stored(const std::string& item) {
        std::vector<CScheduleRecord> records;
        doc->schedule().recordsOfItemOnDate("20261208", item, records);
        return records.size();
    }
    std::string lastKind() {
        std::vector<CHistoryEntry> entries;
        EXPECT_EQ(CHistory::load(doc->journal(), entries), 0);
        return entries.empty() ? std::string() : entries.back().kind;
    }
    static QStringList shown(const QListWidget* list) {
        QStringList lines;
        for (int i = 0; i < list->count(); ++i)
            lines << list->item(i)->text();
        return lines;
    }
};

TEST_F(HistoryDlg, ListsNewestFirstFiltersPrintsAndRestoresACancelledLine) {
    addItems({{"Boardroom", "12"}, {"Huddle", "4"}});
    doc = openDoc();
    book("Boardroom", 1100, 1200, "Morgan");
    book("Huddle", 1300, 1400, "Chen");
    prompt.answers = {true};
    CItemDayModel day(*doc, doc->findItem("Boardroom"));
    day.select(0);
    day.cancelReservation();

    CHistoryModel model(*doc);
    CHistoryDlg dialog(model, prompt);
    EXPECT_EQ(dialog.windowTitle(), "History");
    const std::string host = CJournalChange::hostName();
    const QString cancelled =
        QString::fromStdString("     3  12/08/2026 10:00  alice@" + host +
                               "  cancelled  Boardroom 12/08/2026 11:00-12:00 for Morgan, Pat");
    const QString huddleLine =
        QString::fromStdString("     2  12/08/2026 10:00  alice@" + host +
                               "  made  Huddle 12/08/2026 13:00-14:00 for Chen, Pat");
    ASSERT_EQ(dialog.list()->count(), 3);
    EXPECT_EQ(dialog.list()->item(0)->text(), cancelled);
    EXPECT_EQ(dialog.list()->item(1)->text(), huddleLine);

    dialog.kindChoice()->setCurrentIndex(dialog.kindChoice()->findText(QStringLiteral("made")));
    EXPECT_EQ(dialog.list()->count(), 2);
    dialog.itemChoice()->setCurrentIndex(dialog.itemChoice()->findText(QStringLiteral("Huddle")));
    EXPECT_EQ(shown(dialog.list()), QStringList{huddleLine});
    dialog.fromCheck()->setChecked(true);
    dialog.fromDate()->setDate(QDate(2026, 12, 9));
    EXPECT_EQ(dialog.list()->count(), 0);
    dialog.fromDate()->setDate(QDate(2026, 12, 8));
    EXPECT_EQ(shown(dialog.list()), QStringList{huddleLine});

    // What is printed is what is shown, through the list printer.
    QTemporaryDir out;
    const QString pdf = out.filePath(QStringLiteral("history.pdf"));
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    ASSERT_TRUE(CQtListPrinter::printTo(printer, model.printRequest()));
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString printed = QString::fromUtf8(text.readAllStandardOutput()).simplified();
    EXPECT_TRUE(printed.contains(QStringLiteral("History of Main Building")))
        << printed.toStdString();
    EXPECT_TRUE(
        printed.contains(QStringLiteral("alice@%1 made Huddle 12/08/2026 13:00-14:00 for Chen, Pat")
                             .arg(QString::fromStdString(CJournalChange::hostName()))))
        << printed.toStdString();
    EXPECT_FALSE(printed.contains(QStringLiteral("Boardroom"))) << printed.toStdString();

    QDir().mkpath(QStringLiteral(ORV_BINARY_DIR "/screenshots"));
    dialog.show();
    EXPECT_TRUE(dialog.grab().save(QStringLiteral(ORV_BINARY_DIR "/screenshots/history.png")));

    dialog.itemChoice()->setCurrentIndex(0);
    dialog.kindChoice()->setCurrentIndex(
        dialog.kindChoice()->findText(QStringLiteral("cancelled")));
    ASSERT_EQ(shown(dialog.list()), QStringList{cancelled});
    dialog.list()->setCurrentRow(0);
    prompt.messages.clear();
    dialog.restoreButton()->click();
    EXPECT_TRUE(prompt.messages.empty());
    EXPECT_EQ(stored("Boardroom"), 1u);
    EXPECT_EQ(lastKind(), CJournalChange::kRestored);
}

} // namespace
} // namespace orv::test
