#include "reservations/CShowReservation.h"

#include "group/CORVSchedDoc.h"
#include "reservations/CAddReservation.h"
#include "reservations/CItemDayModel.h"
#include "reservations/CReservationText.h"
#include "reservations/CRosterModel.h"
#include "tables/CFieldText.h"

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

bool CShowReservation::writeMember(const CDate& date, int startHour, int startMinute,
                                   bool attendeeChanges, bool first) {
    CSchedule& schedule = m_doc.schedule();
    int rc = schedule.seek(date.key(), m_record.itemName(), CFieldText::zeroPadded(startHour, 2),
                           CFieldText::zeroPadded(startMinute, 2));
    if (rc == 0) rc = schedule.relockCurrent();
    if (rc != 0) return false;
    CScheduleRecord& image = schedule.image();
    const bool same = first ? image.sameReservation(m_record) : image.sameSeries(m_record);
    if (!same) {
        schedule.unlock();
        return false;
    }
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
    if (rewrite)
        schedule.update();
    else
        schedule.unlock();
    if (attendeeChanges) {
        m_doc.attendees().saveAttendeeChanges(m_doc.rosterLinks(), date.month, date.day, date.year,
                                              startHour, startMinute, m_record.itemName());
    }
    if (rewrite && date == m_doc.date()) m_doc.scheduleChanged(date, false);
    return true;
}

bool CShowReservation::onOk(CUserPrompt& prompt) {
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
    if (!writeMember(m_record.date(), m_record.startHour(), m_record.startMinute(), attendeeChanges,
                     true)) {
        if (m_doc.code().errorCode < 0) m_doc.code().errorCode = 0;
        m_gone = true;
        lists.clear();
        prompt.message(CItemDayModel::kNotRead, CItemDayModel::kDatabaseError, PromptIcon::error);
        return true;
    }
    if (!includeLater) attendeeChanges = false;

    const int code = m_record.recurrenceCode();
    if (code != 0) {
        const int step = code == CAddReservation::kWeekly ? 7 : 1;
        const bool overnight = code == CAddReservation::kOvernight;
        const int hour = overnight ? 0 : m_record.startHour();
        const int minute = overnight ? 0 : m_record.startMinute();
        // Without a stored end (an older table) the members are followed until more than five
        // dates in a row hold none.
        const bool byEnd = m_record.recurEndYear() != 0;
        const CDate end = m_record.recurrenceEnd();
        int misses = 0;
        for (CDate t = m_record.date().addDays(step); byEnd ? t <= end : misses <= 5;
             t = t.addDays(step)) {
            if (attendeeChanges && !lists.toAdd().empty()) {
                // So that people linked to this member already are not linked twice.
                lists.current().clear();
                lists.loadAttendees(m_doc.rosterLinks(), m_doc.people(), t.month, t.day, t.year,
                                    hour, minute, m_record.itemName());
            }
            if (writeMember(t, hour, minute, attendeeChanges, false))
                misses = 0;
            else
                ++misses;
            if (t.year >= 9999) break;
        }
    }
    if (m_doc.code().errorCode < 0) m_doc.code().errorCode = 0;
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
            if (doc.code().errorCode < 0) doc.code().errorCode = 0;
            prompt.message(personMissing, "Database Error", PromptIcon::error);
        }
    }
    CShowReservation detail(doc, record, location, phone);
    const bool ok = prompt.runDialog(detail);
    return (ok && detail.noteChanged()) || detail.recordGone();
}

} // namespace orv
