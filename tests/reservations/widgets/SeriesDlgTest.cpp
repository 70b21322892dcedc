// The series dialogs as widgets: "Custom..." in Make Reservation opening the pattern dialog, whose
// summary follows every change and whose OK gives the rule; the preview's lines; and the change
// dialog writing a new time for the following members.
#include "app/ViewTestSupport.h"
#include "common/ScreenshotSupport.h"

#include "reservations/CItemDayModel.h"
#include "reservations/CSeriesChange.h"
#include "reservations/widgets/CAddReservationDlg.h"
#include "reservations/widgets/CCustomRepeatDlg.h"
#include "reservations/widgets/CSeriesChangeDlg.h"
#include "reservations/widgets/CSeriesPreviewDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimeEdit>

namespace orv::test {
namespace {

class SeriesDlg : public ViewFixture {};

TEST_F(SeriesDlg, TheCustomPatternSummaryFollowsEveryChangeAndOkGivesTheRule) {
    CCustomRepeat model({2026, 12, 9});
    CCustomRepeatDlg dialog(model, prompt);
    EXPECT_EQ(dialog.summary()->text(), "Every week on Wednesday, 10 dates");
    dialog.interval()->setValue(2);
    dialog.weekday(1)->setChecked(true);
    dialog.findChild<QSpinBox*>(QStringLiteral("count"))->setValue(16);
    EXPECT_EQ(dialog.summary()->text(), "Every 2 weeks on Monday and Wednesday, 16 dates");
    dialog.weekday(1)->setChecked(false);
    dialog.weekday(3)->setChecked(false);
    EXPECT_EQ(dialog.summary()->text(), CCustomRepeat::kNoWeekday);
    dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    EXPECT_EQ(prompt.messages, (std::vector<RecordedMessage>{
                                   error(CCustomRepeat::kNoWeekday, CCustomRepeat::kTitle)}));
    dialog.weekday(1)->setChecked(true);
    dialog.frequency()->setCurrentIndex(2);
    EXPECT_EQ(dialog.summary()->text(), "Every 2 months on day 9, 16 dates");
    dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(model.rule(), "FREQ=MONTHLY;INTERVAL=2;BYMONTHDAY=9;COUNT=16");
}

TEST_F(SeriesDlg, CustomInMakeReservationTakesThePatternAndThePreviewListsEachDate) {
    addItems({{"Boardroom", ""}});
    reserve("Boardroom", 16, 9, 30, 11, 0, "Ames");
    doc = openDoc();
    CItemDayModel day(*doc, 0);
    CAddReservation model(*doc, "Boardroom", {2026, 12, 9}, 60, day);
    CAddReservationDlg dialog(model, prompt);
    EXPECT_TRUE(model.previewFirst);
    prompt.fill<CCustomRepeat>([](CCustomRepeat& c) {
        c.pattern.weekdays = {3};
        c.pattern.count = 0;
        c.pattern.until = {2026, 12, 30};
    });
    auto* custom = qobject_cast<QRadioButton*>(
        dialog.findChild<QButtonGroup*>()->button(CAddReservationDlg::kCustomChoice));
    ASSERT_NE(custom, nullptr);
    custom->click();
    EXPECT_EQ(model.customRule, "FREQ=WEEKLY;BYDAY=WE;UNTIL=20261230");
    EXPECT_EQ(dialog.customSummary()->text(), "Every week on Wednesday, until 12/30/2026, 4 dates");
    dialog.datePicker()->setDate(QDate(2026, 12, 17));
    EXPECT_EQ(dialog.customSummary()->text(), "Every week on Wednesday, until 12/30/2026, 2 dates");
    EXPECT_FALSE(dialog.lastDatePicker()->isEnabled());

    std::vector<CSeriesSlot> planned{{{2026, 12, 9}, 900, 1000}, {{2026, 12, 16}, 900, 1000}};
    CSeriesPreview preview(*doc, "Boardroom", planned, "Every week on Wednesday, 2 dates");
    CSeriesPreviewDlg shown(preview, prompt);
    ASSERT_EQ(shown.dateList()->count(), 2);
    EXPECT_EQ(shown.dateList()->item(0)->text(), "12/09/2026   free");
    EXPECT_EQ(shown.dateList()->item(1)->text(),
              "12/16/2026   conflicts with 09:30 AM   11:00 AM   Ames, Pat");
    EXPECT_EQ(shown.findChild<QLabel*>(QStringLiteral("summary"))->text(),
              "Every week on Wednesday, 2 dates");
}

TEST_F(SeriesDlg, TheChangeDialogWritesTheNewTimeForTheFollowingMembers) {
    addItems({{"Boardroom", ""}});
    doc = openDoc();
    for (int d : {9, 16, 23}) {
        CSchedule& s = doc->schedule();
        s.clearImage();
        s.image().setDate(12, d, 2026);
        s.image().setItemName("Boardroom");
        s.image().setStartTime(9, 0);
        s.image().setEndTime(10, 0);
        s.image().setPerson("Pat", "", "Ames", "");
        s.image().setMade(12, 1, 2026, 9, 0, 7);
        s.image().setRecurrenceCode(7);
        s.image().setRecurrenceEnd(12, 23, 2026);
        ASSERT_EQ(s.append(), 0);
    }
    CItemDayModel day(*doc, 0, {2026, 12, 16});
    CSeriesChange model(*doc, day.recordAt(0));
    CSeriesChangeDlg dialog(model, prompt);
    dialog.scopes()->button(1)->click();
    dialog.startPicker()->setTime(QTime(14, 0));
    dialog.endPicker()->setTime(QTime(15, 0));
    dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(model.changed(), 2);
    std::vector<int> starts;
    for (int d : {9, 16, 23})
        doc->schedule().walkItemOnDate(CDate(2026, 12, d).key(), "Boardroom",
                                       [&](const CScheduleRecord& r) {
                                           starts.push_back(r.startHhmm());
                                           return true;
                                       });
    EXPECT_EQ(starts, (std::vector<int>{900, 1400, 1400}));
}

TEST_F(SeriesDlg, ScreenshotsOfTheCustomRepeatThePreviewAndTheChangeOnARealDisplay) {
    if (!QFileInfo(kXvfbRun).isExecutable()) GTEST_SKIP() << "xvfb-run is not installed";
    addItems({{"Boardroom", ""}});
    reserve("Boardroom", 23, 9, 30, 11, 0, "Ames");
    {
        // The member the change dialog opens on.
        doc = openDoc();
        CSchedule& s = doc->schedule();
        s.clearImage();
        s.image().setDate(12, 9, 2026);
        s.image().setItemName("Boardroom");
        s.image().setStartTime(9, 0);
        s.image().setEndTime(10, 0);
        s.image().setPerson("Alex", "J", "Morgan", "Sales");
        s.image().setRecurrenceCode(1);
        s.image().setRecurrenceEnd(3, 31, 2027);
        ASSERT_EQ(s.append(), 0);
        doc.reset();
    }
    const QString artifacts = QStringLiteral(ORV_BINARY_DIR "/artifacts");
    QDir().mkpath(artifacts);
    const QStringList shots = {QStringLiteral("custom-repeat.png"),
                               QStringLiteral("series-preview.png"),
                               QStringLiteral("series-change.png")};
    for (const QString& s : shots)
        QFile::remove(artifacts + QLatin1Char('/') + s);
    ASSERT_EQ(runOnDisplay(QStringLiteral(ORV_HELPER_DIR "/series_screenshots"),
                           {QString::fromStdString(group), QStringLiteral("Boardroom"),
                            QStringLiteral("20261209"), artifacts},
                           dir.path()),
              0);
    for (const QString& s : shots) {
        const QImage image(artifacts + QLatin1Char('/') + s);
        ASSERT_FALSE(image.isNull()) << s.toStdString();
        EXPECT_GT(image.width(), 200) << s.toStdString();
    }
    // The preview marks the conflicting date in dark red.
    const QImage preview(artifacts + QStringLiteral("/series-preview.png"));
    EXPECT_GT(countColour(preview, QColor(Qt::darkRed)), 20);
}

} // namespace
} // namespace orv::test
