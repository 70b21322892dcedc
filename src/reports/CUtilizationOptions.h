#pragma once
// "Utilization Report Options": the range of dates, the items, and the optional window of hours
// the utilization report measures.

#include "group/CUserPrompt.h"
#include "reports/CUtilizationCriteria.h"

#include <set>
#include <string>
#include <vector>

namespace orv {

class CORVSchedDoc;

class CUtilizationOptions : public CDialogModel {
public:
    static constexpr const char* kId = "UtilizationOptions";
    static constexpr const char* kTitle = "Utilization Report Options";
    static constexpr const char* kIntro = "Select the desired options for the utilization report";
    static constexpr const char* kWindowBox = "Calculate Utilization Between";
    static constexpr const char* kHourError =
        "Starting hour for utilization must be less than ending hour";
    static constexpr const char* kHourErrorTitle = "Time Window Error";
    static constexpr const char* kDateError =
        "Starting date for utilization must be less or equal to ending date";
    static constexpr const char* kDateErrorTitle = "Utilization Dates Error";

    // The starting date is the earliest reservation's date at 00:00, or the present moment when
    // that is later; the ending date the present moment. The hour pickers stand at `startHour`
    // and twelve hours later.
    CUtilizationOptions(CORVSchedDoc& doc, const CDate& earliest, int startHour);

    const char* id() const override { return kId; }
    bool onOk(CUserPrompt& prompt) override;

    // "Include Only Selected %s(s)" with the group's item kind.
    std::string itemsLabel() const;
    const std::vector<std::string>& itemNames() const { return m_itemNames; }

    // The values of the dialog. The pickers show dates; the time of day of a preset stays.
    CDate startDate;
    int startSeconds = 0;
    CDate endDate;
    int endSeconds = 0;
    std::set<int> selectedItems;
    bool window = false;
    int startPickerHour = 0; // 0-23 as the pickers show them; 0 is 12 AM
    int endPickerHour = 12;

    // Valid after an accepted OK.
    const CUtilizationCriteria& criteria() const { return m_criteria; }

private:
    CORVSchedDoc& m_doc;
    std::vector<std::string> m_itemNames;
    CUtilizationCriteria m_criteria;
};

} // namespace orv
