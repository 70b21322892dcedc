#include "reservations/CSeriesInfo.h"

#include "group/CORVSchedDoc.h"
#include "history/CJournalChange.h"
#include "reservations/CAddReservation.h"
#include "reservations/CItemDayModel.h"
#include "reservations/CReservationText.h"
#include "reservations/CSeriesPreview.h"
#include "tables/CSeriesDates.h"
#include "tables/CSeriesRules.h"

#include <algorithm>

namespace orv {

CSeriesInfo::CSeriesInfo(CORVSchedDoc& doc, const CScheduleRecord& member)
    : m_doc(doc), m_member(member) {
    read();
}

void CSeriesInfo::read() {
    m_members.clear();
    m_skipped.clear();
    m_hasRule = false;
    const int code = m_member.recurrenceCode();
    if (code == 0) {
        m_words = kNotASeries;
        m_members.push_back(m_member);
        return;
    }
    CSeriesRules& table = m_doc.seriesRules();
    std::vector<CSeriesRow> rows;
    if (table.isOpen()) {
        const int rc = table.rowsOf(CSeriesRules::seriesPrefix(m_member), rows);
        if (error4take(&m_doc.code(), rc) != 0) rows.clear();
    }
    for (const CSeriesRow& row : rows) {
        std::string error;
        if (row.kind == CSeriesRow::kRule && m_rule.parse(row.text, error)) {
            m_hasRule = true;
            m_first = row.date;
            m_key = row.series;
        } else if (row.kind == CSeriesRow::kLeftOut) {
            m_skipped.push_back({row.date, CSeriesRow::kLeftOut, "left out"});
        } else if (row.kind == CSeriesRow::kSkipped) {
            m_skipped.push_back({row.date, row.reason, "skipped: " + row.text});
        }
    }
    std::stable_sort(m_skipped.begin(), m_skipped.end(),
                     [](const CSkippedDate& a, const CSkippedDate& b) { return a.date < b.date; });

    // The members, from the first date of the rule (else from the day the series was made, or
    // the member's date when earlier) to the last date stored with them.
    const CDate made(m_member.madeYear(), m_member.madeMonth(), m_member.madeDay());
    CDate from = m_member.date();
    if (m_hasRule && m_first.isValid())
        from = std::min(from, m_first);
    else if (made.isValid())
        from = std::min(from, made);
    const CDate last = m_member.recurEndYear() != 0 ? m_member.recurrenceEnd() : CDate();
    CSchedule& schedule = m_doc.schedule();
    CSeriesDates dates(code, CSeriesDates::alignedFrom(code, m_member.date(), from), last);
    dates.stopAfter(schedule.latestDate());
    int rc = 0;
    for (CDate t; rc == 0 && dates.next(t);) {
        bool found = false;
        rc = schedule.walkItemOnDate(t.key(), m_member.itemName(), [&](const CScheduleRecord& r) {
            if (r.sameSeries(m_member)) {
                m_members.push_back(r);
                found = true;
            }
            return true;
        });
        found ? dates.hit() : dates.miss();
    }
    m_failure = error4take(&m_doc.code(), rc);
    if (m_failure == 0 && rc != 0) m_failure = rc;
    if (m_failure != 0)
        m_doc.prompt().message(CORVSchedDoc::kNotRead, CORVSchedDoc::kDatabaseError,
                               PromptIcon::error);

    const std::size_t n = m_members.size();
    const std::string count = std::to_string(n) + (n == 1 ? " date" : " dates");
    m_words = m_hasRule
                  ? m_rule.words() + ", " + count
                  : CAddReservation::classicSummary(code, last.isSet() ? last : m_member.date(), n);
}

std::vector<std::string> CSeriesInfo::lines() const {
    std::vector<std::string> out{m_words};
    for (const CScheduleRecord& r : m_members)
        out.push_back(CReservationText::shortDate(r.date()) + "   " + CItemDayModel::lineFor(r));
    for (const CSkippedDate& s : m_skipped)
        out.push_back(CReservationText::shortDate(s.date) + "   " + s.text);
    return out;
}

std::vector<CDate> CSeriesInfo::freeNow() const {
    std::vector<CSeriesSlot> planned;
    for (const CSkippedDate& s : m_skipped)
        if (s.reason == CSeriesRow::kConflict || s.reason == CSeriesRow::kBlockedOut)
            planned.push_back({s.date, m_member.startHhmm(), m_member.endHhmm()});
    std::vector<CDate> out;
    if (planned.empty()) return out;
    for (const CSeriesSlot& s : CSeriesPreview(m_doc, m_member.itemName(), planned, "").freeSlots())
        out.push_back(s.date);
    return out;
}

int CSeriesInfo::bookSkipped(const std::vector<CDate>& dates) {
    if (!m_doc.mayWrite()) return 0;
    CJournalChange journal(m_doc, CJournalChange::kMade);
    CUserPrompt& prompt = m_doc.prompt();
    CSchedule& schedule = m_doc.schedule();
    const std::string key = m_key.empty() ? CSeriesRules::seriesKey(m_member) : m_key;
    int booked = 0;
    for (const CDate& t : dates) {
        m_doc.reopenTablesIfSet();
        int result = -1;
        int rc = schedule.lockAll();
        if (rc == 0) {
            std::vector<int> starts, ends;
            rc = schedule.walkItemOnDate(t.key(), m_member.itemName(),
                                         [&](const CScheduleRecord& r) {
                                             starts.push_back(r.startHhmm());
                                             ends.push_back(r.endHhmm());
                                             return true;
                                         });
            if (rc == 0)
                result = CAddReservation::checkTimes(m_member.startHour(), m_member.startMinute(),
                                                     m_member.endHour(), m_member.endMinute(),
                                                     starts, ends);
        }
        if (result == 0) {
            CScheduleRecord record = m_member;
            record.setDate(t.month, t.day, t.year);
            // The attendee list of the series stays with the members that have it.
            record.setAttendeesFlag(false);
            schedule.image() = record;
            rc = schedule.appendHoldingLock();
            if (rc == 0 && m_doc.seriesRules().isOpen())
                m_doc.seriesRules().deleteRow(key, CSeriesRow::kSkipped, t);
        }
        schedule.unlock();
        if (error4take(&m_doc.code(), rc) != 0 || rc != 0) {
            prompt.message(CAddReservation::kNotWritten, CAddReservation::kDatabaseError,
                           PromptIcon::error);
        } else if (result == 0) {
            ++booked;
            m_doc.scheduleChanged(t, false);
        } else {
            prompt.message(CAddReservation::conflictText(t), CAddReservation::kReservationError,
                           PromptIcon::error);
        }
    }
    read();
    return booked;
}

} // namespace orv
