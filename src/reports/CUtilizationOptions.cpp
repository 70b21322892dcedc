#include "reports/CUtilizationOptions.h"

#include "group/CORVSchedDoc.h"
#include "tables/CClock.h"

namespace orv {

CUtilizationOptions::CUtilizationOptions(CORVSchedDoc& doc, const CDate& earliest, int startHour)
    : m_doc(doc) {
    const std::tm now = CClock::current().localNow();
    endDate = CDate::today();
    endSeconds = now.tm_hour * 3600 + now.tm_min * 60 + now.tm_sec;
    const bool later = CUtilizationCriteria::moment(earliest, 0) >
                       CUtilizationCriteria::moment(endDate, endSeconds);
    startDate = later ? endDate : earliest;
    startSeconds = later ? endSeconds : 0;
    startPickerHour = startHour;
    endPickerHour = (startHour + 12) % 24;
    for (const CRoom& item : doc.items().items())
        m_itemNames.push_back(item.name());
}

std::string CUtilizationOptions::itemsLabel() const {
    return "Include Only Selected " + m_doc.kindUpper() + "(s)";
}

bool CUtilizationOptions::onOk(CUserPrompt& prompt) {
    int endHour = endPickerHour;
    if (window && startPickerHour >= endPickerHour) {
        // 12 AM as the end stands for the end of the day.
        if (endPickerHour != 0) {
            prompt.message(kHourError, kHourErrorTitle, PromptIcon::error);
            return false;
        }
        endHour = 24;
    }
    CUtilizationCriteria c;
    c.window = window;
    c.startHour = startPickerHour;
    c.endHour = endHour;
    c.startDate = startDate;
    c.startSeconds = startSeconds;
    c.endDate = endDate;
    c.endSeconds = endSeconds;
    if (c.startMoment() > c.endMoment()) {
        prompt.message(kDateError, kDateErrorTitle, PromptIcon::error);
        return false;
    }
    c.items = selectedItems;
    m_criteria = std::move(c);
    return true;
}

} // namespace orv
