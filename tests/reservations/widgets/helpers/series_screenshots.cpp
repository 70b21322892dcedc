// Shows the series dialogs of a group on the display it is given and saves a picture of each:
//   series_screenshots GROUP.sch ITEM YYYYMMDD FOLDER
// With ITEM's reservation starting first on the date (a member of a series) it writes
// FOLDER/custom-repeat.png (every 2 weeks on Monday and Wednesday), FOLDER/series-preview.png
// (that rule for ITEM from the date, at 09:00-10:00) and FOLDER/series-change.png.
#include "common/ScreenshotSupport.h"
#include "group/CMemorySettings.h"
#include "group/CORVSchedDoc.h"
#include "reservations/CItemDayModel.h"
#include "reservations/CSeriesChange.h"
#include "reservations/widgets/CCustomRepeatDlg.h"
#include "reservations/widgets/CSeriesChangeDlg.h"
#include "reservations/widgets/CSeriesPreviewDlg.h"
#include "ui/CQtPrompt.h"

#include <QApplication>
#include <QDir>
#include <QTest>

using namespace orv;
using orv::test::saveDialogPicture;

int main(int argc, char** argv) {
    if (argc != 5) return 2;
    QApplication app(argc, argv);
    const CDate date = CDate::fromKey(argv[3]);
    const QDir folder(QString::fromLocal8Bit(argv[4]));
    CQtPrompt prompt;
    CMemorySettings settings;
    CORVSchedDoc doc(prompt, settings);
    if (!doc.openGroup(argv[1])) return 1;
    const int item = doc.findItem(argv[2]);
    if (item < 0) return 3;

    CCustomRepeat custom(date);
    custom.pattern.interval = 2;
    custom.pattern.weekdays = {1, 3};
    custom.pattern.count = 0;
    custom.pattern.until = date.addDays(110);
    custom.exceptions = {date.addDays(14)};
    CCustomRepeatDlg customDialog(custom, prompt);

    CRepeatRule rule;
    CRepeatRule::Dates dates;
    std::string error;
    if (!rule.parse(custom.rule(), error) || !rule.expand(date, custom.exceptions, dates, error))
        return 4;
    std::vector<CSeriesSlot> planned;
    for (const CDate& d : dates.dates)
        planned.push_back({d, 900, 1000});
    CSeriesPreview preview(doc, argv[2], planned, rule.summary(dates), dates.noDay, dates.leftOut);
    CSeriesPreviewDlg previewDialog(preview, prompt);

    CItemDayModel day(doc, item, date);
    if (day.lineCount() == 0) return 5;
    CSeriesChange change(doc, day.recordAt(0));
    change.scope = CSeriesChange::Scope::following;
    CSeriesChangeDlg changeDialog(change, prompt);

    const bool ok =
        saveDialogPicture(customDialog, folder.filePath(QStringLiteral("custom-repeat.png"))) &&
        saveDialogPicture(previewDialog, folder.filePath(QStringLiteral("series-preview.png"))) &&
        saveDialogPicture(changeDialog, folder.filePath(QStringLiteral("series-change.png")));
    return ok ? 0 : 1;
}
