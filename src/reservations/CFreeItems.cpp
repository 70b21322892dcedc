#include "reservations/CFreeItems.h"

#include "group/CORVSchedDoc.h"
#include "group/CWaitCursor.h"
#include "reservations/CAddReservation.h"
#include "reservations/CItemDayModel.h"

#include <cstdio>

namespace orv {

CFreeItems::CFreeItems(CORVSchedDoc& doc) : date(CDate::today()), until(date), m_doc(doc) {}

std::vector<int> CFreeItems::freeItems(CORVSchedDoc& doc, const CDate& first, int startHhmm,
                                       int endHhmm, const CDate& weeklyUntil, int* rcOut) {
    const CItemList& items = doc.items();
    std::vector<bool> busy(static_cast<std::size_t>(items.count()), false);
    const CDate last = weeklyUntil.isSet() && weeklyUntil > first ? weeklyUntil : first;
    CSchedule& schedule = doc.schedule();
    for (CDate t = first; t <= last; t = t.addDays(7)) {
        const int rc = schedule.walkDate(t.key(), [&](const CScheduleRecord& r) {
            if (r.startHhmm() < endHhmm && startHhmm < r.endHhmm()) {
                const int index = items.find(r.itemName());
                if (index >= 0) busy[static_cast<std::size_t>(index)] = true;
            }
            return true;
        });
        int failure = error4take(&doc.code(), rc);
        if (failure == 0) failure = rc;
        if (failure != 0) {
            if (rcOut) *rcOut = failure;
            return {};
        }
    }
    if (rcOut) *rcOut = 0;
    std::vector<int> free;
    for (int i = 0; i < items.count(); ++i)
        if (!busy[static_cast<std::size_t>(i)]) free.push_back(i);
    return free;
}

bool CFreeItems::search() {
    CUserPrompt& prompt = m_doc.prompt();
    m_lines.clear();
    selected = -1;
    const int start = startHour * 100 + startMinute;
    const int end = endHour * 100 + endMinute == 0 ? 2359 : endHour * 100 + endMinute;
    if (start >= end) {
        prompt.message(CAddReservation::kEndNotAfterStart, CAddReservation::kReservationError,
                       PromptIcon::error);
        return false;
    }
    if (weekly && (until < date || until.serial() - date.serial() > 7L * kMaxWeeks)) {
        prompt.message(CAddReservation::kEndBeforeStart, CAddReservation::kRecurringErrorTitle,
                       PromptIcon::error);
        return false;
    }
    CWaitCursor wait(prompt);
    m_doc.reopenTablesIfSet();
    int rc = 0;
    const std::vector<int> free = freeItems(m_doc, date, start, end, weekly ? until : CDate(), &rc);
    if (rc != 0) {
        prompt.message(CItemDayModel::kNotRead, CItemDayModel::kDatabaseError, PromptIcon::error);
        return true;
    }
    for (int index : free) {
        const CRoom& item = m_doc.items().at(index);
        std::string line = item.name();
        if (item.occupancy() != 0) {
            char occupancy[48];
            std::snprintf(occupancy, sizeof occupancy, "   Occupancy %d", item.occupancy());
            line += occupancy;
        }
        m_lines.push_back({line, index});
    }
    if (m_lines.empty()) prompt.message(kNoneFree, kTitle, PromptIcon::information);
    return true;
}

bool CFreeItems::reserve() {
    CUserPrompt& prompt = m_doc.prompt();
    if (selected < 0 || selected >= static_cast<int>(m_lines.size())) {
        prompt.message(kPickOne, kTitle, PromptIcon::error);
        return false;
    }
    const int index = static_cast<int>(m_lines[static_cast<std::size_t>(selected)].recordNumber);
    if (!m_doc.items().isValidIndex(index)) return false;
    CItemDayModel day(m_doc, index, date);
    const bool ok = day.makeReservation([this](CAddReservation& r) {
        r.date = date;
        r.setStartTime(startHour, startMinute);
        r.setEndTime(endHour, endMinute);
        if (weekly) {
            r.setRecurrence(CAddReservation::kWeekly);
            r.lastDate = until;
        }
    });
    search();
    return ok;
}

} // namespace orv
