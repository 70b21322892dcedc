#include "reservations/CSeriesPreview.h"

#include "group/CORVSchedDoc.h"
#include "reservations/CItemDayModel.h"
#include "reservations/CReservationText.h"
#include "tables/CFieldText.h"
#include "tables/CSeriesRules.h"

#include <algorithm>

namespace orv {

CSeriesPreview::CSeriesPreview(CORVSchedDoc& doc, std::string itemName,
                               std::vector<CSeriesSlot> planned, std::string summary,
                               const std::vector<CSkippedDate>& noDay,
                               const std::vector<CDate>& leftOut)
    : m_itemName(std::move(itemName)), m_summary(std::move(summary)) {
    CSchedule& schedule = doc.schedule();
    std::vector<CScheduleRecord> records;
    for (const CSeriesSlot& slot : planned) {
        records.clear();
        const int rc = schedule.recordsOfItemOnDate(slot.date.key(), m_itemName, records);
        const int failure = error4take(&doc.code(), rc);
        if (failure != 0 || rc != 0) {
            m_failure = failure != 0 ? failure : rc;
            doc.prompt().message(CORVSchedDoc::kNotRead, CORVSchedDoc::kDatabaseError,
                                 PromptIcon::error);
            m_entries.clear();
            return;
        }
        Entry entry{slot.date, slot.start, slot.end, State::free, "free"};
        for (const CScheduleRecord& r : records) {
            if (slot.start < r.endHhmm() && slot.end > r.startHhmm()) {
                entry.state = r.isBlockout() ? State::blockedOut : State::conflict;
                entry.text = r.isBlockout() ? std::string("blocked out")
                                            : "conflicts with " +
                                                  CFieldText::trimRight(CItemDayModel::lineFor(r));
                break;
            }
        }
        m_entries.push_back(std::move(entry));
    }
    for (const CSkippedDate& s : noDay)
        m_entries.push_back({s.date, 0, 0, State::skipped, "skipped: " + s.text});
    for (const CDate& d : leftOut)
        m_entries.push_back({d, 0, 0, State::skipped, "left out"});
    std::stable_sort(m_entries.begin(), m_entries.end(),
                     [](const Entry& a, const Entry& b) { return a.date < b.date; });
}

bool CSeriesPreview::onOk(CUserPrompt& prompt) {
    if (!freeSlots().empty()) return true;
    prompt.message(kNothingFree, kTitle, PromptIcon::error);
    return false;
}

std::string CSeriesPreview::line(const Entry& entry) {
    return CReservationText::shortDate(entry.date) + "   " + entry.text;
}

std::vector<std::string> CSeriesPreview::lines() const {
    std::vector<std::string> out;
    for (const Entry& e : m_entries)
        out.push_back(line(e));
    return out;
}

std::vector<CSeriesSlot> CSeriesPreview::freeSlots() const {
    std::vector<CSeriesSlot> out;
    for (const Entry& e : m_entries)
        if (e.state == State::free) out.push_back({e.date, e.start, e.end});
    return out;
}

std::vector<CSkippedDate> CSeriesPreview::refused() const {
    std::vector<CSkippedDate> out;
    for (const Entry& e : m_entries) {
        if (e.state == State::conflict)
            out.push_back({e.date, CSeriesRow::kConflict, e.text});
        else if (e.state == State::blockedOut)
            out.push_back({e.date, CSeriesRow::kBlockedOut, e.text});
    }
    return out;
}

} // namespace orv
