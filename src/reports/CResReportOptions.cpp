#include "reports/CResReportOptions.h"

#include "group/CORVSchedDoc.h"
#include "tables/CClock.h"

namespace orv {

CResReportOptions::CResReportOptions(CORVSchedDoc& doc, int earliestMonth, int earliestDay,
                                     int earliestYear)
    : m_doc(doc) {
    const std::tm now = CClock::current().localNow();
    endMonth = now.tm_mon + 1;
    endDay = now.tm_mday;
    endYear = now.tm_year + 1900;
    const bool later = CReportCriteria::dateNumber(earliestMonth, earliestDay, earliestYear) >
                       CReportCriteria::dateNumber(endMonth, endDay, endYear);
    startMonth = later ? endMonth : earliestMonth;
    startDay = later ? endDay : earliestDay;
    startYear = later ? endYear : earliestYear;

    for (const CRoom& item : doc.items().items())
        m_itemNames.push_back(item.name());
    CPeople& people = doc.people();
    for (int rc = people.first(); rc == 0; rc = people.next())
        m_people.push_back({people.image().listLine(), people.image().recordNumber()});
}

std::string CResReportOptions::itemsLabel() const {
    return "Include Only Selected " + m_doc.kindUpper() + "(s)";
}

bool CResReportOptions::onOk(CUserPrompt& prompt) {
    if (CReportCriteria::dateNumber(startMonth, startDay, startYear) >
        CReportCriteria::dateNumber(endMonth, endDay, endYear)) {
        prompt.message(kDateError, kDateErrorTitle, PromptIcon::none);
        return false;
    }
    CReportCriteria c;
    c.startMonth = startMonth;
    c.startDay = startDay;
    c.startYear = startYear;
    c.endMonth = endMonth;
    c.endDay = endDay;
    c.endYear = endYear;
    c.blockoutsOnly = blockoutsOnly;
    // Blockouts belong to nobody: a people choice would list nothing.
    if (!blockoutsOnly) {
        CPeople& people = m_doc.people();
        for (long record : selectedPeople)
            if (people.goTo(record) == 0) c.people.push_back(people.image().key());
    }
    c.items = selectedItems;
    m_criteria = std::move(c);
    return true;
}

} // namespace orv
