#include "reservations/CRemoveBlockoutModel.h"

#include "group/CORVSchedDoc.h"
#include "history/CJournalChange.h"
#include "reservations/CItemDayModel.h"

#include <cstdio>

namespace orv {

CRemoveBlockoutModel::CRemoveBlockoutModel(CORVSchedDoc& doc, CDate date) : m_doc(doc) {
    m_date = date.isSet() ? date : CDate::today().addDays(1);
    load();
}

std::string CRemoveBlockoutModel::lineFor(const CScheduleRecord& r) {
    char text[64];
    std::snprintf(text, sizeof text, "%02d:%02d  -  %02d:%02d   ", r.startHour(), r.startMinute(),
                  r.endHour(), r.endMinute());
    return text + r.itemName() + " ";
}

void CRemoveBlockoutModel::setDate(const CDate& date) {
    m_date = date;
    load();
}

void CRemoveBlockoutModel::load() {
    m_lines.clear();
    m_records.clear();
    selected.clear();
    m_doc.reopenTablesIfSet();
    const int rc = m_doc.schedule().walkDate(m_date.key(), [this](const CScheduleRecord& r) {
        if (r.isBlockout()) {
            m_records.push_back(r);
            m_lines.push_back(lineFor(r));
        }
        return true;
    });
    if (error4take(&m_doc.code(), rc) != 0 || rc != 0) {
        // A list cut short would hide the blockouts after the failed read.
        m_lines.clear();
        m_records.clear();
        m_doc.prompt().message(CItemDayModel::kNotRead, CItemDayModel::kDatabaseError,
                               PromptIcon::error);
    }
    m_found = !m_lines.empty();
}

bool CRemoveBlockoutModel::removeLine(std::size_t line) {
    const CScheduleRecord& listed = m_records[line];
    CSchedule& schedule = m_doc.schedule();
    int rc = schedule.goTo(listed.recordNumber());
    if (rc == 0) {
        rc = schedule.relockCurrent();
        // Another user removed it meanwhile: it is gone, as wanted.
        if (rc == res4noRecord) return true;
    }
    if (rc == 0 && !schedule.image().sameReservation(listed)) {
        schedule.unlock();
        rc = res4noRecord;
    }
    if (rc == 0) rc = schedule.deleteCurrent();
    return error4take(&m_doc.code(), rc) == 0 && rc == 0;
}

void CRemoveBlockoutModel::removed(bool any) {
    // Today's boxes and the other users' views follow at once.
    if (any) m_doc.scheduleChanged(m_date, true);
}

bool CRemoveBlockoutModel::removeAll() {
    CJournalChange journal(m_doc);
    bool all = true;
    for (std::size_t i = 0; i < m_lines.size(); ++i)
        if (!removeLine(i)) all = false;
    const bool any = !m_lines.empty();
    m_lines.clear();
    m_records.clear();
    selected.clear();
    removed(any);
    m_doc.prompt().message(all ? kAllRemoved : kNotAllRemoved, kResultsTitle,
                           all ? PromptIcon::information : PromptIcon::error);
    return all;
}

bool CRemoveBlockoutModel::removeSelected() {
    CJournalChange journal(m_doc);
    std::vector<std::size_t> lines;
    for (int i : selected)
        if (i >= 0 && i < static_cast<int>(m_lines.size()))
            lines.push_back(static_cast<std::size_t>(i));
    if (lines.empty()) {
        m_doc.prompt().message(kSelectFirst, kSelectFirstTitle, PromptIcon::error);
        return false;
    }
    bool all = true;
    for (std::size_t line : lines)
        if (!removeLine(line)) all = false;
    for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
        m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(*it));
        m_records.erase(m_records.begin() + static_cast<std::ptrdiff_t>(*it));
    }
    selected.clear();
    removed(true);
    m_doc.prompt().message(all ? kSelectedRemoved : kNotAllSelectedRemoved, kResultsTitle,
                           all ? PromptIcon::information : PromptIcon::error);
    return all;
}

} // namespace orv
