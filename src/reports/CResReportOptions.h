#pragma once
// "Reservation Report Options": the date range, the items and the people the report is limited
// to, and "Show only blocked out time slots.". The dates are calendar dates; a time of day plays
// no part in the range.

#include "group/CUserPrompt.h"
#include "reports/CReportCriteria.h"
#include "tables/CListLine.h"

#include <set>
#include <string>
#include <vector>

namespace orv {

class CORVSchedDoc;

class CResReportOptions : public CDialogModel {
public:
    static constexpr const char* kId = "ResReportOptions";
    static constexpr const char* kTitle = "Reservation Report Options";
    static constexpr const char* kIntro =
        "You can limit the reservation report by selecting below. If you don't select any items "
        "or people, the report will include all reservations for the date range specified.";
    static constexpr const char* kBlockoutsOnly = "Show only blocked out time slots.";
    static constexpr const char* kDateError = "The end date must be greater than the start date.";
    static constexpr const char* kDateErrorTitle = "Date Error";

    // The starting date is the earliest reservation's date, or today when that is later; the
    // ending date is today. Reads the item names and the people list now.
    CResReportOptions(CORVSchedDoc& doc, int earliestMonth, int earliestDay, int earliestYear);

    const char* id() const override { return kId; }
    // Refuses an ending date before the starting date; else takes the criteria.
    bool onOk(CUserPrompt& prompt) override;

    // "Include Only Selected %s(s)" with the group's item kind.
    std::string itemsLabel() const;
    const std::vector<std::string>& itemNames() const { return m_itemNames; }
    // One person list line per person, in the people table's key order, with record numbers.
    const std::vector<CListLine>& peopleLines() const { return m_people; }

    // The values of the dialog.
    int startMonth = 0, startDay = 0, startYear = 0;
    int endMonth = 0, endDay = 0, endYear = 0;
    std::set<int> selectedItems;      // indices in item order
    std::vector<long> selectedPeople; // record numbers of the chosen person lines
    bool blockoutsOnly = false;

    // Valid after an accepted OK.
    const CReportCriteria& criteria() const { return m_criteria; }

private:
    CORVSchedDoc& m_doc;
    std::vector<std::string> m_itemNames;
    std::vector<CListLine> m_people;
    CReportCriteria m_criteria;
};

} // namespace orv
