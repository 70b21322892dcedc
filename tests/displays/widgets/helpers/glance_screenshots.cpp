// Shows the day at a glance in both forms and the month at a glance of a group on the display it
// is given, and saves a picture of each dialog:
//   glance_screenshots GROUP.sch YEAR MONTH DAY FOLDER
// writes FOLDER/day-12-hours.png, FOLDER/day-all-day.png and FOLDER/month.png.
#include "common/ScreenshotSupport.h"
#include "displays/widgets/CDayGlanceG.h"
#include "displays/widgets/CMonthResDlg.h"
#include "group/CMemorySettings.h"
#include "group/CORVSchedDoc.h"
#include "ui/CQtPrompt.h"

#include <QApplication>
#include <QDir>
#include <QTest>

#include <cstdlib>

using namespace orv;
using orv::test::saveDialogPicture;

int main(int argc, char** argv) {
    if (argc != 6) return 2;
    QApplication app(argc, argv);
    const int year = std::atoi(argv[2]);
    const int month = std::atoi(argv[3]);
    const int day = std::atoi(argv[4]);
    const QDir folder(QString::fromLocal8Bit(argv[5]));

    CQtPrompt prompt;
    CMemorySettings settings;
    CORVSchedDoc doc(prompt, settings);
    if (!doc.openGroup(argv[1])) return 1;

    CDayGlance twelve(doc, CDayGlance::Form::twelveHours, 255, 6, {}, month, day, year);
    CDayGlanceG twelveDialog(twelve, prompt);
    CDayGlance allDay(doc, CDayGlance::Form::allDay, 255, 0, {}, month, day, year);
    CDayGlanceG allDayDialog(allDay, prompt);
    CMonthGlance monthly(doc, 255, 65535, {}, month, year);
    CMonthResDlg monthDialog(monthly, prompt);
    const bool ok =
        saveDialogPicture(twelveDialog, folder.filePath(QStringLiteral("day-12-hours.png"))) &&
        saveDialogPicture(allDayDialog, folder.filePath(QStringLiteral("day-all-day.png"))) &&
        saveDialogPicture(monthDialog, folder.filePath(QStringLiteral("month.png")));
    return ok ? 0 : 1;
}
