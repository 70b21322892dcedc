#include "reservations/CAddReservation.h"

#include "group/CORVSchedDoc.h"
#include "people/CPersonModel.h"
#include "reservations/CReservationText.h"
#include "reservations/CRosterModel.h"
#include "tables/CClock.h"
#include "tables/CFieldText.h"

#include <cstdio>

namespace orv {

namespace {
constexpr int kMinutesPerDay = 24 * 60;
} // namespace

CAddReservation::CAddReservation(CORVSchedDoc& doc, std::string itemName, CDate openDate,
                                 int defaultLength, CDayLoader& loader)
    : m_doc(doc), m_itemName(std::move(itemName)), m_defaultLength(defaultLength),
      m_loader(loader) {
    const std::tm now = CClock::current().localNow();
    m_startHour = m_endHour = now.tm_hour;
    m_startMinute = m_endMinute = now.tm_min;
    setStartTime(now.tm_hour, now.tm_min);
    date = lastDate = m_pickedDate = openDate;
    // FLAGS holds the show-note bit; the two older table levels have no FLAGS.
    m_showNoteEnabled = !doc.schedule().oldFormat();
    showNote = m_showNoteEnabled && doc.settings().showNotes != 0;
    m_attendeesEnabled = doc.attendeeAvailable();
    fillPersonList(-1);
}

std::string CAddReservation::title() const {
    return m_itemName.empty() ? std::string("Make Reservation")
                              : "Make a Reservation for " + m_itemName;
}

void CAddReservation::setStartTime(int hour, int minute) {
    m_startHour = hour;
    m_startMinute = minute;
    if (m_defaultLength == 0 || m_endEdited) return;
    const int end = hour * 60 + minute + m_defaultLength;
    if (end < kMinutesPerDay) {
        m_endHour = end / 60;
        m_endMinute = end % 60;
    }
}

void CAddReservation::setEndTime(int hour, int minute) {
    m_endHour = hour;
    m_endMinute = minute;
    m_endEdited = true;
}

int CAddReservation::personLine(const CPeopleKey& key) const {
    for (std::size_t i = 1; i < m_personLines.size(); ++i) {
        CPeople& people = m_doc.people();
        if (people.goTo(m_personLines[i].recordNumber) == res4success &&
            people.image().key() == key)
            return static_cast<int>(i);
    }
    return -1;
}

void CAddReservation::fillPersonList(long select) {
    m_personLines.clear();
    m_personLines.push_back({kAddNewPerson, -1});
    selectedPerson = -1;
    std::vector<CPeopleRecord> people;
    if (m_doc.people().listPeople(CPeople::Kind::MayReserve, people) < 0)
        m_doc.code().errorCode = 0;
    for (const CPeopleRecord& p : people) {
        if (p.recordNumber() == select) selectedPerson = static_cast<int>(m_personLines.size());
        m_personLines.push_back({p.listLine(), p.recordNumber()});
    }
}

int CAddReservation::checkTimes(int startHour, int startMinute, int endHour, int endMinute,
                                const std::vector<int>& starts, const std::vector<int>& ends) {
    const int start = startHour * 100 + startMinute;
    const int end = endHour * 100 + endMinute;
    if (start >= end) return 1;
    for (std::size_t i = 0; i < starts.size() && i < ends.size(); ++i)
        if (start < ends[i] && end > starts[i]) return 2;
    return 0;
}

void CAddReservation::removeOvernightDays(const CScheduleRecord& first) {
    CSchedule& schedule = m_doc.schedule();
    bool today = false;
    CDate t = first.date();
    int hour = first.startHour();
    int minute = first.startMinute();
    for (;;) {
        int rc = schedule.seek(t.key(), m_itemName, CFieldText::zeroPadded(hour, 2),
                               CFieldText::zeroPadded(minute, 2));
        if (rc == 0) rc = schedule.relockCurrent();
        if (rc != 0) break;
        if (!schedule.image().sameSeries(first)) {
            schedule.unlock();
            break;
        }
        const CScheduleRecord& r = schedule.image();
        if (r.hasAttendees() && m_doc.rosterLinks().isOpen())
            CAttendeeLists::deleteAttendees(m_doc.rosterLinks(), r.month(), r.day(), r.year(),
                                            r.startHour(), r.startMinute(), m_itemName);
        schedule.deleteCurrent();
        if (t == m_doc.date()) today = true;
        t = t.addDays(1);
        hour = minute = 0;
    }
    if (m_doc.code().errorCode < 0) m_doc.code().errorCode = 0;
    if (today) m_doc.scheduleChanged(m_doc.date(), true);
}

bool CAddReservation::makeReservation() {
    CUserPrompt& prompt = m_doc.prompt();
    CSchedule& schedule = m_doc.schedule();
    int code = m_recurrence;

    int endHour = m_endHour;
    int endMinute = m_endMinute;
    const bool endsAtMidnight = endHour == 0 && endMinute == 0;
    if (endsAtMidnight) {
        endHour = 23;
        endMinute = 59;
    }

    CDate limit = date;
    CDate recurEnd;
    if (!schedule.noRecurrenceField() && code != kNone) {
        if (lastDate < date) {
            prompt.message(kEndBeforeStart, kRecurringErrorTitle, PromptIcon::error);
            return false;
        }
        limit = endsAtMidnight ? lastDate.addDays(-1) : lastDate;
        recurEnd = limit;
    }
    const int step = code == kWeekly ? 7 : 1;
    if (schedule.noRecurrenceField() && code != kNone) {
        prompt.message(kOldFormat, kOldFormatTitle, PromptIcon::information);
        code = kNone;
    }

    if (selectedPerson < 0 || selectedPerson >= static_cast<int>(m_personLines.size())) {
        prompt.message(kNoPerson, kNoPersonTitle, PromptIcon::error);
        return false;
    }
    if (selectedPerson == 0) {
        CPersonModel person(m_doc.people(), CPersonModel::Mode::AddFromList, true, false);
        if (prompt.runDialog(person)) fillPersonList(person.recordNumber());
        return false;
    }
    CPeople& people = m_doc.people();
    if (people.goTo(m_personLines[selectedPerson].recordNumber) != res4success) {
        if (m_doc.code().errorCode < 0) m_doc.code().errorCode = 0;
        prompt.message(kPersonNotRead, kDatabaseError, PromptIcon::error);
        return false;
    }
    const CPeopleKey person = people.image().key();

    const std::tm now = CClock::current().localNow();
    m_pickedDate = date;
    const int startHour = m_startHour;
    const int startMinute = m_startMinute;

    bool attendeeFlag = attendees && m_attendeesEnabled;
    bool holdSelection = false;
    bool includeLater = false;
    if (attendeeFlag) {
        const bool recurring = code == kDaily || code == kWeekdays || code == kWeekly;
        CRosterModel roster(m_doc, CRosterModel::Mode::NewReservation, recurring, date, startHour,
                            startMinute, endHour, endMinute, m_itemName);
        if (prompt.runDialog(roster)) {
            holdSelection = true;
            includeLater = roster.includeLater || code == kOvernight;
        } else {
            attendeeFlag = false;
        }
    }

    // Every record of this OK carries the same creation stamp.
    CScheduleRecord image;
    image.setLevel(schedule.level());
    image.setShowNoteFlag(showNote && m_showNoteEnabled);
    image.setPerson(person);
    image.setNote(note);
    image.setRecurrenceCode(code);
    image.setItemName(m_itemName);
    image.setMade(m_doc.month(), m_doc.day(), m_doc.year(), now.tm_hour, now.tm_min, now.tm_sec);
    image.setRecurrenceEnd(recurEnd.month, recurEnd.day, recurEnd.year);
    image.setAttendeesFlag(attendeeFlag);

    bool partlyFailed = false;
    bool overnightWritten = false;
    CScheduleRecord overnightFirst;
    m_requested = 0;
    for (CDate t = date;; t = t.addDays(step)) {
        if (!(code == kWeekdays && t.isWeekend())) {
            int sh = startHour, sm = startMinute, eh = endHour, em = endMinute;
            if (code == kOvernight) {
                if (t != date) sh = sm = 0;
                if (t != limit) {
                    eh = 23;
                    em = 59;
                }
            }
            ++m_requested;
            // Reopening closes the table and so drops its locks: never between lock and append.
            m_doc.reopenTablesIfSet();
            int result = -1;
            int rc = schedule.lockAll();
            if (rc == 0) {
                m_loader.loadItemDay(t, false);
                result = checkTimes(sh, sm, eh, em, m_loader.dayStarts(), m_loader.dayEnds());
            }
            if (result == 0) {
                image.setDate(t.month, t.day, t.year);
                image.setStartTime(sh, sm);
                image.setEndTime(eh, em);
                schedule.image() = image;
                rc = schedule.append();
            }
            schedule.unlock();
            if (rc != 0) {
                if (m_doc.code().errorCode < 0) m_doc.code().errorCode = 0;
                prompt.message(kNotWritten, kDatabaseError, PromptIcon::error);
                if (code == kOvernight) {
                    // An overnight span is one reservation: all of it, or nothing.
                    if (overnightWritten) removeOvernightDays(overnightFirst);
                    break;
                }
            } else if (result == 0) {
                m_written.push_back(schedule.image());
                if (!overnightWritten) {
                    overnightFirst = schedule.image();
                    overnightWritten = true;
                }
                m_doc.scheduleChanged(t, false);
                if (holdSelection) {
                    const int linked = m_doc.attendees().saveAttendeeChanges(
                        m_doc.rosterLinks(), t.month, t.day, t.year, sh, sm, m_itemName);
                    if (m_doc.code().errorCode < 0) m_doc.code().errorCode = 0;
                    if (linked != 0)
                        prompt.message(kAttendeesNotWritten, kDatabaseError, PromptIcon::error);
                    if (!includeLater) holdSelection = false;
                }
            } else if (result == 1) {
                prompt.message(kEndNotAfterStart, kReservationError, PromptIcon::error);
                return false;
            } else {
                char text[160];
                std::snprintf(text, sizeof text,
                              "Reservation conflicts with existing reservation on %02i/%02i/%04i",
                              t.month, t.day, t.year);
                prompt.message(text, kReservationError, PromptIcon::error);
                partlyFailed = true;
                if (code == kNone) return false;
                if (code == kOvernight) {
                    if (overnightWritten) removeOvernightDays(overnightFirst);
                    break;
                }
            }
        }
        if (code == kNone || t.addDays(step) > limit) break;
    }

    if (partlyFailed) prompt.message(kPartlyMade, kPartlyMadeTitle, PromptIcon::information);
    m_doc.attendees().clear();
    return true;
}

} // namespace orv
