#include "reports/CReservationReport.h"

#include "group/CORVSchedDoc.h"
#include "reports/CResReportData.h"
#include "reports/CResReportOptions.h"

namespace orv {

bool CReservationReport::run(CORVSchedDoc& doc) {
    int month = 0, day = 0, year = 0;
    if (doc.schedule().earliestDate(month, day, year) != 0) {
        doc.prompt().message(kNoReservations, kNoReservationsTitle, PromptIcon::information);
        return false;
    }
    CResReportOptions options(doc, month, day, year);
    if (!doc.prompt().runDialog(options)) return false;
    CResReportData report(doc, options.criteria());
    return doc.prompt().runDialog(report);
}

} // namespace orv
