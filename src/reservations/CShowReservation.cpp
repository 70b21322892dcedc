#include "reservations/CShowReservation.h"

#include "group/CORVSchedDoc.h"
#include "history/CChangeReason.h"
#include "history/CHistoryModel.h"
#include "history/CJournalChange.h"
#include "reservations/CAddReservation.h"
#include "reservations/CItemDayModel.h"
#include "reservations/CReservationText.h"
#include "reservations/CRosterModel.h"
#include "reservations/CSeriesChange.h"
#include "tables/CFieldText.h"
#include "tables/CSeriesDates.h"

namespace orv {

CShowReservation::CShowReservation(CORVSchedDoc& doc, const CScheduleRecord& record,
                                   std::string location, std::string phone)
    : m_doc(doc), m_record(record), m_location(std::move(location)), m_phone(std::move(phone)) {
    m_reservedFor = record.isBlockout() ? std::string("Blocked Out")
                                        : record.lastName() + ", " + record.firstName() + " " +
                                              record.middleInitial();
    note = record.note();
    m_attendeesEnabled =
        !doc.schedule().oldFormat() && !doc.people().oldLayout() && doc.rosterLinks().isOpen();
}

std::string CShowReservation::dateText() const {
    return CReservationText::longDate(m_record.date());
}
std::string CShowReservation::startText() const {
    return CReservationText::clockTime(m_record.startHour(), m_record.startMinute());
}
std::string CShowReservation::endText() const {
    return CReservationText::clockTime(m_record.endHour(), m_record.endMinute());
}
std::string CShowReservation::recurringText() const {
    return recurring() ? kRecurringNotice : "";
}

int CShowReservation::writeMember(CScheduleRecord& image, const CDate& date, int startHour,
                                  int startMinute, bool attendeeChanges) {
    CSchedule& schedule = m_doc.schedule();
    bool rewrite = false;
    if (noteChanged()) {
        image.setNote(note);
        rewrite = true;
    }
    if (showNote && ((image.flags() & CScheduleRecord::kFlagShowNote) != 0) != *showNote) {
        image.setShowNoteFlag(*showNote);
        rewrite = true;
    }
    if (viewAttendees && !image.hasAttendees()) {
        image.setAttendeesFlag(true);
        rewrite = true;
    }
    if (rewrite) {
        const int rc = schedule.update();
        if (rc != 0) return rc;
    } else {
        schedule.unlock();
    }
    if (attendeeChanges) {
        const int rc = m_doc.attendees().saveAttendeeChanges(m_doc.rosterLinks(), date.month,
                                                             date.day, date.year, startHour,
                                                             startMinute, m_record.itemName());
        // A link that could not be written, or a walk of the links that failed.
        if (CAttendeeLists::failed(rc)) m_linksFailed = true;
    }
    if (rewrite && date == m_doc.date()) m_doc.scheduleChanged(date, false);
    return 0;
}

void CShowReservation::showHistory() {
    CHistoryModel history(m_doc, m_record);
    m_doc.prompt().runDialog(history);
}

bool CShowReservation::onOk(CUserPrompt& prompt) {
    const CChangeReason because(m_doc, reason);
    CJournalChange journal(m_doc);
    bool attendeeChanges = false;
    bool includeLater = false;
    if (viewAttendees && m_attendeesEnabled) {
        CRosterModel roster(m_doc, CRosterModel::Mode::Existing, recurring(), m_record.date(),
                            m_record.startHour(), m_record.startMinute(), m_record.endHour(),
                            m_record.endMinute(), m_record.itemName());
        if (prompt.runDialog(roster)) {
            attendeeChanges = true;
            includeLater = roster.includeLater;
        } else {
            viewAttendees = false;
        }
    } else {
        viewAttendees = false;
    }
    const bool showChanged =
        showNote && ((m_record.flags() & CScheduleRecord::kFlagShowNote) != 0) != *showNote;
    if (!noteChanged() && !viewAttendees && !showChanged) return true;

    CAttendeeLists& lists = m_doc.attendees();
    CSchedule& schedule = m_doc.schedule();
    m_linksFailed = false;
    int rc = schedule.seek(m_record.date().key(), m_record.itemName(),
                           CFieldText::zeroPadded(m_record.startHour(), 2),
                           CFieldText::zeroPadded(m_record.startMinute(), 2));
    if (rc == 0) rc = schedule.relockCurrent();
    if (rc == 0 && !schedule.image().sameReservation(m_record)) {
        schedule.unlock();
        rc = res4noRecord;
    }
    if (rc != 0) {
        error4take(&m_doc.code());
        m_gone = true;
        lists.clear();
        prompt.message(CItemDayModel::kNotRead, CItemDayModel::kDatabaseError, PromptIcon::error);
        return true;
    }
    rc = writeMember(schedule.image(), m_record.date(), m_record.startHour(),
                     m_record.startMinute(), attendeeChanges);
    if (error4take(&m_doc.code(), rc) != 0) {
        // Nothing was stored: the dialog stays open with what the user typed.
        prompt.message(kNotChanged, CItemDayModel::kDatabaseError, PromptIcon::error);
        return false;
    }
    if (!includeLater) attendeeChanges = false;

    const int code = m_record.recurrenceCode();
    if (code != 0) {
        const bool overnight = code == CAddReservation::kOvernight;
        const int start = overnight ? 0 : m_record.startHhmm();
        // Without a stored end (an older table) the members are followed until more than five
        // dates in a row hold none.
        const CDate end = m_record.recurEndYear() != 0 ? m_record.recurrenceEnd() : CDate();
        rc = schedule.visitSeries(
            CSeriesDates(code, m_record.date().addDays(CSeriesDates::stepOf(code)), end), m_record,
            [start](const CDate&) { return start; },
            [&](CScheduleRecord& member) {
                const CDate t = member.date();
                if (attendeeChanges && !lists.toAdd().empty()) {
                    // So that people linked to this member already are not linked twice. The
                    // member's record lock stays held: the links are another table.
                    lists.current().clear();
                    lists.loadAttendees(m_doc.rosterLinks(), m_doc.people(), t.month, t.day, t.year,
                                        start / 100, start % 100, m_record.itemName());
                }
                return writeMember(member, t, start / 100, start % 100, attendeeChanges);
            });
        if (error4take(&m_doc.code(), rc) != 0 || rc > 0)
            prompt.message(kNotChanged, CItemDayModel::kDatabaseError, PromptIcon::error);
    }
    error4take(&m_doc.code());
    if (m_linksFailed)
        prompt.message(kAttendeesNotChanged, CItemDayModel::kDatabaseError, PromptIcon::error);
    lists.clear();
    return true;
}

bool CShowReservation::open(CORVSchedDoc& doc, const CScheduleRecord& record,
                            const char* personMissing) {
    CUserPrompt& prompt = doc.prompt();
    std::string location, phone;
    if (!record.isBlockout()) {
        CPeople& people = doc.people();
        if (people.seekPerson(record.personKey()) == res4success) {
            location = people.image().location();
            phone = people.image().phone();
        } else {
            error4take(&doc.code());
            prompt.message(personMissing, "Database Error", PromptIcon::error);
        }
    }
    CShowReservation detail(doc, record, location, phone);
    const bool ok = prompt.runDialog(detail);
    return (ok && detail.noteChanged()) || detail.recordGone() || detail.seriesChanged();
}

bool CShowReservation::changeSeries() {
    const CChangeReason because(m_doc, reason);
    CSeriesChange change(m_doc, m_record);
    if (!m_doc.prompt().runDialog(change) || change.changed() == 0) return false;
    m_seriesChanged = true;
    return true;
}

} // namespace orv
