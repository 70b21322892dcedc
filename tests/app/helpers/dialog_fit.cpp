// Shows the program's dialogs over a group on the display it is given, saves a picture of each
// as OUTDIR/<name>.png and prints, for each text a dialog cuts and for each thing a keyboard or
// screen-reader user would miss in it, a line
//   CUT <name>: <what>
//   A11Y <name>: <what>
//   FAINT <name>: <what>
// Run it with QT_SCALE_FACTOR set to see the dialogs at another scale; "dark" shows them in the
// Fusion style with a dark palette, "large" with the large font a user may choose on the desktop.
// Usage: dialog_fit GROUP.sch ITEM OUTDIR [dark|large]
#include "app/CAboutDlg.h"
#include "app/CPreferencesSheet.h"
#include "app/CViewSettings.h"
#include "common/AccessibleFaults.h"
#include "common/ScreenshotSupport.h"
#include "common/TextFit.h"
#include "displays/widgets/CDayGlanceG.h"
#include "displays/widgets/CMonthResDlg.h"
#include "exports/CCalendarFeed.h"
#include "exports/CCalendarFeedModel.h"
#include "exports/CExportModel.h"
#include "exports/widgets/CCalendarFeedDlg.h"
#include "exports/widgets/CExportDlg.h"
#include "group/CGroupInfoModel.h"
#include "group/CItemInfoModel.h"
#include "group/CMemorySettings.h"
#include "group/CORVSchedDoc.h"
#include "group/widgets/CGroupInfoDlg.h"
#include "group/widgets/CItemDlg.h"
#include "people/CPersonListModel.h"
#include "people/CPersonModel.h"
#include "people/widgets/CAddPersonDlg.h"
#include "people/widgets/CPersonListDlg.h"
#include "reminders/CReminderChoiceModel.h"
#include "reminders/widgets/CReminderChoiceDlg.h"
#include "reports/CResReportOptions.h"
#include "reports/CUtilizationOptions.h"
#include "reports/widgets/CResReportDlg.h"
#include "reports/widgets/CUtilizationDlg.h"
#include "reservations/CBlockoutModel.h"
#include "reservations/CDeleteRes.h"
#include "reservations/CFreeItems.h"
#include "reservations/CRemoveBlockoutModel.h"
#include "reservations/CRosterModel.h"
#include "reservations/widgets/CAddReservationDlg.h"
#include "reservations/widgets/CBlockoutDlg.h"
#include "reservations/widgets/CDeleteResDlg.h"
#include "reservations/widgets/CFreeItemsDlg.h"
#include "reservations/widgets/CRemoveBlockoutDlg.h"
#include "reservations/widgets/CRoomInfoDlg.h"
#include "reservations/widgets/CRosterDlg.h"
#include "storage/Code4.h"
#include "ui/CQtPrompt.h"

#include <QApplication>
#include <QPalette>

#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

using namespace orv;

namespace {

QString g_out;
bool g_ok = true;

void check(const char* name, QWidget& dialog) {
    if (!test::showOnDisplay(dialog)) g_ok = false;
    if (!dialog.grab().save(g_out + QLatin1Char('/') + QLatin1String(name) +
                            QStringLiteral(".png")))
        g_ok = false;
    for (const QString& cut : test::cutTexts(&dialog))
        std::printf("CUT %s: %s\n", name, cut.toUtf8().constData());
    for (const QString& fault : test::accessibleFaults(&dialog))
        std::printf("A11Y %s: %s\n", name, fault.toUtf8().constData());
    for (const QString& faint : test::faintTexts(&dialog))
        std::printf("FAINT %s: %s\n", name, faint.toUtf8().constData());
    std::printf("SHOT %s\n", name);
    std::fflush(stdout);
    dialog.hide();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const std::string mode = argc == 5 ? argv[4] : "";
    if (argc < 4 || argc > 5 || (argc == 5 && mode != "dark" && mode != "large")) {
        std::fprintf(stderr, "usage: dialog_fit GROUP.sch ITEM OUTDIR [dark|large]\n");
        return 2;
    }
    if (mode == "large") {
        QFont font = QApplication::font();
        font.setPointSize(qRound(font.pointSizeF() * 1.6));
        QApplication::setFont(font);
    }
    if (mode == "dark") {
        QApplication::setStyle(QStringLiteral("Fusion"));
        QPalette dark;
        dark.setColor(QPalette::Window, QColor(45, 45, 45));
        dark.setColor(QPalette::WindowText, QColor(231, 231, 231));
        dark.setColor(QPalette::Base, QColor(30, 30, 30));
        dark.setColor(QPalette::AlternateBase, QColor(53, 53, 53));
        dark.setColor(QPalette::Text, QColor(231, 231, 231));
        dark.setColor(QPalette::Button, QColor(53, 53, 53));
        dark.setColor(QPalette::ButtonText, QColor(231, 231, 231));
        dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
        dark.setColor(QPalette::HighlightedText, Qt::black);
        dark.setColor(QPalette::ToolTipBase, QColor(45, 45, 45));
        dark.setColor(QPalette::ToolTipText, QColor(231, 231, 231));
        QApplication::setPalette(dark);
    }
    error4setNeverWait(true);
    CQtPrompt prompt;
    CMemorySettings settings;
    CORVSchedDoc doc(prompt, settings);
    if (!doc.openGroup(argv[1])) return 1;
    const int index = doc.findItem(argv[2]);
    if (index < 0) return 1;
    g_out = QString::fromLocal8Bit(argv[3]);

    CItemDayModel day(doc, index);
    {
        CRoomInfoDlg dialog(day, prompt);
        check("day-list", dialog);
        CAddReservation add(doc, day.itemName(), day.date(), day.defaultLength(), day);
        CAddReservationDlg reservation(add, prompt);
        check("make-reservation", reservation);
    }
    {
        CRosterModel roster(doc, CRosterModel::Mode::NewReservation, false, day.date(), 9, 0, 10, 0,
                            day.itemName());
        CRosterDlg dialog(roster, prompt);
        check("attendees", dialog);
    }
    for (CDayGlance::Form form : {CDayGlance::Form::twelveHours, CDayGlance::Form::allDay}) {
        CDayGlance glance(doc, form, 255, 6, {});
        CDayGlanceG dialog(glance, prompt);
        check(form == CDayGlance::Form::allDay ? "day-all-day" : "day-12-hours", dialog);
    }
    {
        CMonthGlance month(doc, 255, 65535, {});
        CMonthResDlg dialog(month, prompt);
        check("month", dialog);
    }
    {
        CViewSettings view = CViewSettings::read(settings);
        CPreferencesSheet sheet(view, settings, prompt, prompt);
        for (int i = 0; i < sheet.pageCount(); ++i) {
            sheet.pageList()->setCurrentRow(i);
            const std::string name = "preferences-" + std::to_string(i + 1);
            check(name.c_str(), sheet);
        }
    }
    for (CPeople::Kind kind : {CPeople::Kind::MayReserve, CPeople::Kind::Attendee}) {
        CPersonListModel list(doc.people(), prompt, kind, CPersonListModel::Use::Choose);
        CPersonListDlg dialog(list, prompt);
        check(kind == CPeople::Kind::Attendee ? "choose-attendee" : "choose-person", dialog);
    }
    {
        CPersonModel person(doc.people(), CPersonModel::Mode::Add, true, false);
        CAddPersonDlg dialog(person, prompt);
        check("add-person", dialog);
    }
    {
        CBlockoutModel blockout(doc);
        CBlockoutDlg dialog(blockout, prompt);
        check("blockout", dialog);
        CRemoveBlockoutModel removal(doc);
        CRemoveBlockoutDlg removeDialog(removal, prompt);
        check("remove-blockout", removeDialog);
        CDeleteRes old(30);
        CDeleteResDlg oldDialog(old, prompt);
        check("delete-old", oldDialog);
    }
    {
        CGroupInfoModel info(false);
        info.kindWord = doc.kindWord();
        info.description = doc.description();
        CGroupInfoDlg dialog(info, prompt);
        check("group-information", dialog);
        CItemInfoModel item(true, doc.items(), doc.kindUpper(), doc.kindLower());
        CItemDlg itemDialog(item, prompt);
        check("add-item", itemDialog);
    }
    {
        const CDate today = day.date();
        CResReportOptions report(doc, today.month, today.day, today.year);
        CResReportDlg dialog(report, prompt);
        check("report-options", dialog);
        CUtilizationOptions use(doc, today, 6);
        CUtilizationDlg useDialog(use, prompt);
        check("utilization-options", useDialog);
    }
    {
        CFreeItems free(doc);
        free.startHour = 13;
        free.endHour = 14;
        free.search();
        CFreeItemsDlg dialog(free, prompt);
        check("find-free-item", dialog);
        CExportModel exportModel(doc);
        CExportDlg exportDialog(exportModel, prompt);
        check("export", exportDialog);
        CCalendarFeed feed(doc);
        CCalendarFeedModel feedModel(feed);
        CCalendarFeedDlg feedDialog(feedModel, prompt);
        check("calendar-file", feedDialog);
        CReminderChoiceModel remindersModel(doc);
        CReminderChoiceDlg remindersDialog(remindersModel, prompt);
        check("reminders", remindersDialog);
    }
    {
        CAboutDlg about("/usr/share/orv");
        check("about", about);
    }
    return g_ok ? 0 : 1;
}
