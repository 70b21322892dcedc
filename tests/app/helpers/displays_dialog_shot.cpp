// Opens the day list of an item of a group, and the reservation dialog over it, on the display
// it is given, and saves a picture of each: day-list.png and make-reservation.png in OUTDIR; then
// find-free-item.png (after a search), export.png and calendar-file.png.
// Usage: displays_dialog_shot GROUP.sch ITEM OUTDIR
#include "common/ScreenshotSupport.h"
#include "exports/CCalendarFeed.h"
#include "exports/CCalendarFeedModel.h"
#include "exports/CExportModel.h"
#include "exports/widgets/CCalendarFeedDlg.h"
#include "exports/widgets/CExportDlg.h"
#include "group/CMemorySettings.h"
#include "group/CORVSchedDoc.h"
#include "reservations/CFreeItems.h"
#include "reservations/widgets/CAddReservationDlg.h"
#include "reservations/widgets/CFreeItemsDlg.h"
#include "reservations/widgets/CRoomInfoDlg.h"
#include "storage/Code4.h"
#include "ui/CQtPrompt.h"

#include <QApplication>
#include <QListWidget>

#include <cstdio>

using namespace orv;

namespace {

bool shoot(QWidget& widget, const QString& file) {
    return test::showOnDisplay(widget) && widget.grab().save(file);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: displays_dialog_shot GROUP.sch ITEM OUTDIR\n");
        return 2;
    }
    error4setNeverWait(true);
    CQtPrompt prompt;
    CMemorySettings settings;
    CORVSchedDoc doc(prompt, settings);
    if (!doc.openGroup(argv[1])) return 1;
    const int index = doc.findItem(argv[2]);
    if (index < 0) return 1;
    const QString out = QString::fromLocal8Bit(argv[3]);

    CItemDayModel day(doc, index);
    CRoomInfoDlg list(day, prompt);
    if (list.list()->count() > 0) list.list()->setCurrentRow(0);
    if (!shoot(list, out + QStringLiteral("/day-list.png"))) return 1;
    CAddReservation add(doc, day.itemName(), day.date(), day.defaultLength(), day);
    CAddReservationDlg reservation(add, prompt, &list);
    if (!shoot(reservation, out + QStringLiteral("/make-reservation.png"))) return 1;
    reservation.hide();
    list.hide();

    CFreeItems free(doc);
    free.startHour = 13;
    free.endHour = 14;
    free.search();
    CFreeItemsDlg freeDlg(free, prompt);
    if (!shoot(freeDlg, out + QStringLiteral("/find-free-item.png"))) return 1;
    freeDlg.hide();
    CExportModel exportModel(doc);
    CExportDlg exportDlg(exportModel, prompt);
    if (!shoot(exportDlg, out + QStringLiteral("/export.png"))) return 1;
    exportDlg.hide();
    CCalendarFeed feed(doc);
    CCalendarFeedModel feedModel(feed);
    CCalendarFeedDlg feedDlg(feedModel, prompt);
    if (!shoot(feedDlg, out + QStringLiteral("/calendar-file.png"))) return 1;
    return 0;
}
