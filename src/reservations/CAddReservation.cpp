#include "reservations/CAddReservation.h"

#include "group/CORVSchedDoc.h"
#include "history/CJournalChange.h"
#include "people/CPersonModel.h"
#include "reservations/CReservationText.h"
#include "reservations/CRosterModel.h"
#include "tables/CClock.h"
#include "tables/CFieldText.h"
#include "tables/CSeriesDates.h"
#include "tables/CSeriesRules.h"
#include "tables/CTableOps.h"

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
    error4take(&m_doc.code(), m_doc.people().listPeople(CPeople::Kind::MayReserve, people));
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
    bool today = false;
    m_doc.schedule().visitSeries(
        CSeriesDates(kOvernight, first.date(), first.recurrenceEnd()), first,
        [&first](const CDate& t) { return t == first.date() ? first.startHhmm() : 0; },
        [&](CScheduleRecord& member) {
            const CScheduleRecord gone = member;
            const int rc = m_doc.deleteCurrentReservation();
            if (rc != 0) return rc;
            if (gone.date() == m_doc.date()) today = true;
            // What was written and is undone now is no longer reported as written.
            std::erase_if(m_written, [&gone](const CScheduleRecord& r) {
                return r.sameSeries(gone) && r.date() == gone.date() &&
                       r.startHhmm() == gone.startHhmm() && r.itemName() == gone.itemName();
            });
            return 0;
        });
    error4take(&m_doc.code());
    if (today) m_doc.scheduleChanged(m_doc.date(), true);
}

bool CAddReservation::customDates(CRepeatRule& rule, CRepeatRule::Dates& dates,
                                  std::string& error) const {
    return rule.parse(customRule, error) && rule.expand(date, exceptions, dates, error);
}

std::vector<CSeriesSlot> CAddReservation::plannedSlots(int code, const CDate& limit, int endHour,
                                                       int endMinute) const {
    std::vector<CSeriesSlot> planned;
    CSeriesDates dates(code, date, limit);
    for (CDate t; dates.next(t);) {
        int start = m_startHour * 100 + m_startMinute;
        int end = endHour * 100 + endMinute;
        if (code == kOvernight) {
            if (t != date) start = 0;
            if (t != limit) end = 2359;
        }
        planned.push_back({t, start, end});
    }
    return planned;
}

void CAddReservation::writeRule(const CRepeatRule& rule, const CDate& last,
                                std::vector<CSkippedDate> skipped,
                                const std::vector<CDate>& leftOut, const CScheduleRecord& member) {
    const std::string key = CSeriesRules::seriesKey(member);
    std::vector<CSeriesRow> rows;
    rows.push_back({key, CSeriesRow::kRule, date, last, ' ', rule.text()});
    for (const CDate& d : leftOut)
        rows.push_back({key, CSeriesRow::kLeftOut, d, {}, ' ', ""});
    for (const CSkippedDate& s : skipped)
        rows.push_back({key, CSeriesRow::kSkipped, s.date, {}, s.reason, s.text});
    // Under the schedule lock, as the members were: whoever reads the series sees its rule.
    CSchedule& schedule = m_doc.schedule();
    int rc = schedule.lockAll();
    if (rc == 0) rc = m_doc.seriesRules().openOrCreate(m_doc.groupFile());
    if (rc == 0) rc = m_doc.seriesRules().append(rows);
    schedule.unlock();
    if (error4take(&m_doc.code(), rc) != 0 || rc != 0)
        m_doc.prompt().message(kRuleNotWritten, kDatabaseError, PromptIcon::error);
}

std::string CAddReservation::conflictText(const CDate& t) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "Reservation conflicts with existing reservation on %02i/%02i/%04i", t.month,
                  t.day, t.year);
    return text;
}

std::string CAddReservation::classicSummary(int code, const CDate& limit, std::size_t dates) {
    const char* kind = code == kDaily      ? "Every day"
                       : code == kWeekdays ? "Every weekday"
                       : code == kWeekly   ? "Every week"
                                           : "Overnight";
    return std::string(kind) + " through " + CReservationText::shortDate(limit) + ", " +
           std::to_string(dates) + (dates == 1 ? " date" : " dates");
}

bool CAddReservation::makeReservation() {
    CJournalChange journal(m_doc);
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
    const bool custom = !customRule.empty();
    CRepeatRule rule;
    CRepeatRule::Dates ruleDates;
    if (custom) {
        // The members of a custom series need RECUREND, which the older layouts lack.
        if (schedule.oldFormat()) {
            prompt.message(CRepeatRule::kOldFormat, kOldFormatTitle, PromptIcon::information);
            return false;
        }
        std::string error;
        if (!customDates(rule, ruleDates, error)) {
            prompt.message(error, kRecurringErrorTitle, PromptIcon::error);
            return false;
        }
        code = kDaily;
        limit = recurEnd = ruleDates.dates.back();
    } else if (!schedule.noRecurrenceField() && code != kNone) {
        if (lastDate < date) {
            prompt.message(kEndBeforeStart, kRecurringErrorTitle, PromptIcon::error);
            return false;
        }
        limit = endsAtMidnight ? lastDate.addDays(-1) : lastDate;
        recurEnd = limit;
    }
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
        error4take(&m_doc.code());
        prompt.message(kPersonNotRead, kDatabaseError, PromptIcon::error);
        return false;
    }
    const CPeopleKey person = people.image().key();

    const std::tm now = CClock::current().localNow();
    m_pickedDate = date;
    const int startHour = m_startHour;
    const int startMinute = m_startMinute;

    std::vector<CSeriesSlot> planned;
    std::vector<CSkippedDate> skipped = ruleDates.noDay;
    if (custom) {
        for (const CDate& t : ruleDates.dates)
            planned.push_back({t, startHour * 100 + startMinute, endHour * 100 + endMinute});
    } else {
        planned = plannedSlots(code, limit, endHour, endMinute);
    }
    if (previewFirst && code != kNone) {
        CSeriesPreview preview(m_doc, m_itemName, planned,
                               custom ? rule.summary(ruleDates)
                                      : classicSummary(code, limit, planned.size()),
                               ruleDates.noDay, ruleDates.leftOut);
        if (preview.readFailure() != 0 || !prompt.runDialog(preview)) return false;
        // An overnight span is one reservation: all of it or nothing, as below.
        if (code != kOvernight) {
            planned = preview.freeSlots();
            const std::vector<CSkippedDate> refused = preview.refused();
            skipped.insert(skipped.end(), refused.begin(), refused.end());
        }
    }

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
    // One flush to disk for the whole series rather than one a member. When it fails, the
    // members are in the file but may not be on the disk: none is reported made.
    CTableOps::SyncHold sync(m_doc.code());
    const auto flushed = [&] {
        if (sync.release() == 0) return true;
        error4take(&m_doc.code());
        prompt.message(kNotWritten, kDatabaseError, PromptIcon::error);
        m_written.clear();
        return false;
    };
    for (const CSeriesSlot& slot : planned) {
        const CDate t = slot.date;
        const int sh = slot.start / 100, sm = slot.start % 100;
        const int eh = slot.end / 100, em = slot.end % 100;
        ++m_requested;
        // Reopening closes the table and so drops its locks: never between lock and append.
        m_doc.reopenTablesIfSet();
        int result = -1;
        int rc = schedule.lockAll();
        if (rc == 0) {
            // A day that could not be read whole cannot be checked for overlap: nothing is
            // written on it.
            rc = m_loader.loadItemDay(t, false);
            if (rc == 0)
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
            error4take(&m_doc.code());
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
                if (error4take(&m_doc.code(), linked) != 0 || CAttendeeLists::failed(linked))
                    prompt.message(kAttendeesNotWritten, kDatabaseError, PromptIcon::error);
                if (!includeLater) holdSelection = false;
            }
        } else if (result == 1) {
            prompt.message(kEndNotAfterStart, kReservationError, PromptIcon::error);
            flushed(); // days of an overnight span may be written before this one
            return false;
        } else {
            prompt.message(conflictText(t), kReservationError, PromptIcon::error);
            partlyFailed = true;
            if (custom) {
                const std::vector<CSkippedDate> refused =
                    CSeriesPreview(m_doc, m_itemName, {slot}, "").refused();
                skipped.insert(skipped.end(), refused.begin(), refused.end());
            }
            if (code == kNone) return false;
            if (code == kOvernight) {
                if (overnightWritten) removeOvernightDays(overnightFirst);
                break;
            }
        }
    }

    if (!flushed()) {
        m_doc.attendees().clear();
        return true;
    }
    if (custom && overnightWritten)
        writeRule(rule, recurEnd, std::move(skipped), ruleDates.leftOut, overnightFirst);
    if (partlyFailed) prompt.message(kPartlyMade, kPartlyMadeTitle, PromptIcon::information);
    m_doc.attendees().clear();
    return true;
}

} // namespace orv
