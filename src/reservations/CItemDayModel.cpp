#include "reservations/CItemDayModel.h"

#include "group/CORVSchedDoc.h"
#include "group/CWaitCursor.h"
#include "history/CChangeReason.h"
#include "history/CJournalChange.h"
#include "reservations/CAddReservation.h"
#include "reservations/CCancelRangeModel.h"
#include "reservations/CReservationText.h"
#include "reservations/CShowReservation.h"
#include "tables/CClock.h"
#include "tables/CFieldText.h"
#include "tables/CSeriesDates.h"

namespace orv {

CItemDayModel::CItemDayModel(CORVSchedDoc& doc, int itemIndex, CDate date) : m_doc(doc) {
    const CRoom& item = doc.items().at(itemIndex);
    m_itemName = item.name();
    m_description = item.longDescription();
    m_occupancy = item.occupancy();
    m_defaultLength = item.defaultLength();
    m_date = date.isSet() ? date : CDate::today();
    m_openingDate = m_date;
    reload();
}

std::string CItemDayModel::occupancyText() const {
    return m_occupancy != 0 ? "Occupancy : " + std::to_string(m_occupancy) : std::string();
}

std::string CItemDayModel::printedHeading() const {
    return m_occupancy != 0 ? m_description + "   Occupancy " + std::to_string(m_occupancy)
                            : m_description;
}

std::string CItemDayModel::lineFor(const CScheduleRecord& r) {
    std::string reservedFor;
    if (r.isBlockout()) {
        reservedFor = "*Blocked Out*";
    } else {
        reservedFor = r.lastName() + ", " + r.firstName() + " " + r.middleInitial() + "    " +
                      (r.hasNote() ? "(Note)" : "");
    }
    return CReservationText::dayListTime(r.startHour(), r.startMinute()) + "   " +
           CReservationText::dayListTime(r.endHour(), r.endMinute()) + "   " + reservedFor;
}

int CItemDayModel::loadItemDay(const CDate& date, bool reopen) {
    m_lines.clear();
    m_records.clear();
    m_starts.clear();
    m_ends.clear();
    m_selected = -1;
    CSchedule& schedule = m_doc.schedule();
    schedule.clearImage();
    if (reopen) m_doc.reopenTablesIfSet();
    const int rc =
        schedule.walkItemOnDate(date.key(), m_itemName, [this](const CScheduleRecord& r) {
            m_records.push_back(r);
            m_lines.push_back(lineFor(r));
            m_starts.push_back(r.startHhmm());
            m_ends.push_back(r.endHhmm());
            return true;
        });
    const int failure = error4take(&m_doc.code(), rc);
    if (failure == 0 && rc == 0) return 0;
    // A list cut short by a failed read would show its later reservations as free time.
    m_lines.clear();
    m_records.clear();
    m_starts.clear();
    m_ends.clear();
    return failure != 0 ? failure : rc;
}

void CItemDayModel::reload() {
    if (loadItemDay(m_date) != 0)
        m_doc.prompt().message(kNotRead, kDatabaseError, PromptIcon::error);
}

void CItemDayModel::setDate(const CDate& date) {
    m_date = date;
    reload();
}

void CItemDayModel::select(int line) {
    m_selected = line >= 0 && line < lineCount() ? line : -1;
}

int CItemDayModel::lineStartingAt(int hhmm) const {
    for (int i = 0; i < lineCount(); ++i)
        if (m_starts[i] == hhmm) return i;
    return -1;
}

bool CItemDayModel::refind(bool lock) {
    const CScheduleRecord& shown = m_records.at(m_selected);
    CSchedule& schedule = m_doc.schedule();
    int rc = schedule.seek(m_date.key(), m_itemName, CFieldText::zeroPadded(shown.startHour(), 2),
                           CFieldText::zeroPadded(shown.startMinute(), 2));
    if (rc == 0 && lock) rc = schedule.relockCurrent();
    if (rc == 0 && !schedule.image().sameReservation(shown)) {
        if (lock) schedule.unlock();
        rc = res4noRecord;
    }
    error4take(&m_doc.code(), rc);
    return rc == 0;
}

void CItemDayModel::touched(const CDate& date) {
    if (date == m_doc.date()) m_todayTouched = true;
}

void CItemDayModel::finishChange(bool reset) {
    reload();
    if (m_todayTouched) m_doc.scheduleChanged(m_doc.date(), reset);
    m_todayTouched = false;
}

bool CItemDayModel::makeReservation(const std::function<void(CAddReservation&)>& preset) {
    if (!m_doc.mayWrite()) return false;
    const CChangeReason because(m_doc, reason);
    CAddReservation dialog(m_doc, m_itemName, m_date, m_defaultLength, *this);
    if (preset) preset(dialog);
    const bool ok = m_doc.prompt().runDialog(dialog);
    m_lastWritten = dialog.written();
    m_lastRequested = dialog.requested();
    // A refused OK may still have written dates before it, and a Cancel after that keeps them.
    if (ok || !m_lastWritten.empty()) m_changed = true;
    if (ok) m_date = dialog.pickedDate();
    reload();
    return ok;
}

void CItemDayModel::cancelReservation() {
    if (!m_doc.mayWrite()) return;
    const CChangeReason because(m_doc, reason);
    CJournalChange journal(m_doc);
    CUserPrompt& prompt = m_doc.prompt();
    if (m_selected < 0) {
        prompt.message(kSelectToCancel, "Error", PromptIcon::error);
        return;
    }
    if (!prompt.ask(kConfirmCancel, kConfirmTitle)) return;
    if (!refind(true)) {
        prompt.message(kNotDeleted, kDatabaseError, PromptIcon::error);
        reload();
        return;
    }
    // The series values are taken now: the record image may be reused while a question is open.
    const CScheduleRecord record = m_doc.schedule().image();
    if (error4take(&m_doc.code(), m_doc.deleteCurrentReservation()) != 0) {
        // Not flushed: the cancel is not reported done.
        prompt.message(kNotDeleted, kDatabaseError, PromptIcon::error);
        reload();
        return;
    }
    m_changed = true;
    touched(record.date());
    const int line = m_selected;
    m_lines.erase(m_lines.begin() + line);
    m_records.erase(m_records.begin() + line);
    m_starts.erase(m_starts.begin() + line);
    m_ends.erase(m_ends.begin() + line);
    m_selected = -1;

    const int code = record.recurrenceCode();
    if (code == CAddReservation::kOvernight)
        cancelLaterInSeries(record, 0, 0);
    else if (code != 0 && prompt.ask(kSeriesQuestion, kSeriesTitle))
        cancelLaterInSeries(record, record.startHour(), record.startMinute());
    finishChange(true);
}

int CItemDayModel::deleteMembers(CSeriesDates dates, const CScheduleRecord& series, int startHhmm) {
    int deleted = 0;
    const bool overnight = series.recurrenceCode() == CAddReservation::kOvernight;
    const int rc = m_doc.schedule().visitSeries(
        dates, series,
        [&](const CDate& t) {
            // An overnight span's later days begin at midnight.
            return overnight && t != series.date() ? 0 : startHhmm;
        },
        [&](CScheduleRecord& member) {
            const CDate date = member.date();
            const int result = m_doc.deleteCurrentReservation();
            if (result == 0) {
                ++deleted;
                touched(date);
            }
            return result;
        });
    if (error4take(&m_doc.code(), rc) != 0 || rc > 0)
        m_doc.prompt().message(kNotDeleted, kDatabaseError, PromptIcon::error);
    return deleted;
}

void CItemDayModel::cancelLaterInSeries(const CScheduleRecord& record, int startHour,
                                        int startMinute) {
    const int code = record.recurrenceCode();
    if (code == 0) return;
    CWaitCursor wait(m_doc.prompt());
    // Without an end date (an older table, or none stored) the series ends after more than
    // five dates in a row without a member.
    const bool byEnd =
        m_doc.schedule().level() == CSchedule::Level::Current && record.recurEndYear() != 0;
    const CDate first = record.date().addDays(CSeriesDates::stepOf(code));
    deleteMembers(CSeriesDates(code, first, byEnd ? record.recurrenceEnd() : CDate()), record,
                  startHour * 100 + startMinute);
}

void CItemDayModel::cancelPartOfSeries() {
    if (!m_doc.mayWrite()) return;
    CUserPrompt& prompt = m_doc.prompt();
    if (m_selected < 0) {
        prompt.message(kSelectToCancel, "Error", PromptIcon::error);
        return;
    }
    const CScheduleRecord shown = m_records.at(m_selected);
    if (shown.recurrenceCode() == 0) {
        prompt.message(kNotASeries, kSeriesTitle, PromptIcon::error);
        return;
    }
    CCancelRangeModel range(shown.date(),
                            shown.recurEndYear() != 0 ? shown.recurrenceEnd() : shown.date());
    if (!prompt.runDialog(range)) return;
    const std::string question =
        "Are you sure you want to cancel the members of this series from " +
        CReservationText::shortDate(range.from) + " to " + CReservationText::shortDate(range.to) +
        "?";
    if (!prompt.ask(question, kConfirmTitle)) return;
    cancelSeriesRange(range.from, range.to);
}

int CItemDayModel::cancelSeriesRange(const CDate& from, const CDate& to) {
    const CChangeReason because(m_doc, reason);
    CJournalChange journal(m_doc);
    CUserPrompt& prompt = m_doc.prompt();
    if (m_selected < 0) {
        prompt.message(kSelectToCancel, "Error", PromptIcon::error);
        return 0;
    }
    if (!refind(false)) {
        prompt.message(kNotDeleted, kDatabaseError, PromptIcon::error);
        reload();
        return 0;
    }
    const CScheduleRecord series = m_doc.schedule().image();
    const int code = series.recurrenceCode();
    if (code == 0) {
        prompt.message(kNotASeries, kSeriesTitle, PromptIcon::error);
        return 0;
    }
    if (to < from || to.serial() - from.serial() > kRangeLimitDays) {
        prompt.message(kBadRange, kSeriesTitle, PromptIcon::error);
        return 0;
    }
    CWaitCursor wait(prompt);
    // Members stand only on the series' own dates, at its start time (an overnight span's later
    // days at 00:00), and carry its stamp and code.
    const int deleted =
        deleteMembers(CSeriesDates(code, CSeriesDates::alignedFrom(code, series.date(), from), to),
                      series, series.startHhmm());
    if (deleted > 0) m_changed = true;
    finishChange(true);
    return deleted;
}

void CItemDayModel::terminateReservation() {
    if (!m_doc.mayWrite()) return;
    const CChangeReason because(m_doc, reason);
    CJournalChange journal(m_doc, CJournalChange::kTerminated);
    CUserPrompt& prompt = m_doc.prompt();
    if (m_date != m_doc.date()) {
        prompt.message(kOnlyActive, kOnlyActiveTitle, PromptIcon::error);
        return;
    }
    if (m_selected < 0) {
        prompt.message(kSelectToTerminate, "Error", PromptIcon::error);
        return;
    }
    if (!prompt.ask(kConfirmTerminate, kConfirmTitle)) return;
    if (!refind(true)) {
        prompt.message(kNotTerminated, kDatabaseError, PromptIcon::error);
        reload();
        return;
    }
    CSchedule& schedule = m_doc.schedule();
    if (!schedule.image().isActiveNow()) {
        schedule.unlock();
        prompt.message(kOnlyActive, kOnlyActiveTitle, PromptIcon::error);
        return;
    }
    const std::tm now = CClock::current().localNow();
    schedule.image().setEndTime(now.tm_hour, now.tm_min);
    const CScheduleRecord record = schedule.image();
    if (error4take(&m_doc.code(), schedule.update()) != 0) {
        prompt.message(kNotTerminated, kDatabaseError, PromptIcon::error);
        reload();
        return;
    }
    m_changed = true;
    m_todayTouched = true;
    m_lines[m_selected] = lineFor(record);
    m_records[m_selected] = record;
    m_ends[m_selected] = record.endHhmm();
    if (record.recurrenceCode() == CAddReservation::kOvernight) cancelLaterInSeries(record, 0, 0);
    finishChange(true);
}

void CItemDayModel::showReservation() {
    CUserPrompt& prompt = m_doc.prompt();
    if (lineCount() == 1) m_selected = 0;
    if (m_selected < 0) {
        prompt.message(kSelectToView, "Error", PromptIcon::error);
        return;
    }
    if (!refind(false)) {
        prompt.message(kNotRead, kDatabaseError, PromptIcon::error);
        reload();
        return;
    }
    const CScheduleRecord record = m_doc.schedule().image();
    if (CShowReservation::open(m_doc, record, kPersonGone)) reload();
}

} // namespace orv
