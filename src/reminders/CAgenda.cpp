#include "reminders/CAgenda.h"

#include "group/CORVSchedDoc.h"
#include "reservations/CReservationText.h"
#include "tables/CClock.h"
#include "tables/CFieldText.h"

#include <algorithm>
#include <cstdio>

namespace orv {

std::string CAgendaEntry::key() const {
    char text[32];
    std::snprintf(text, sizeof text, "%s%02d%02d|", date.key().c_str(), startHour, startMinute);
    return text + item + "|" + stamp + (attending ? "|a" : "");
}

std::string CAgendaEntry::describe() const {
    return item + " " + CReservationText::shortDate(date) + " " +
           CReservationText::dayListTime(startHour, startMinute) + " - " +
           CReservationText::dayListTime(endHour, endMinute);
}

std::time_t CAgenda::moment(const CDate& date, int hour, int minute) {
    std::tm tm{};
    tm.tm_year = date.year - 1900;
    tm.tm_mon = date.month - 1;
    tm.tm_mday = date.day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_isdst = -1;
    return std::mktime(&tm);
}

CAgendaEntry CAgenda::entryOf(const CScheduleRecord& r, bool attending) {
    CAgendaEntry e;
    e.date = CDate(r.year(), r.month(), r.day());
    e.startHour = r.startHour();
    e.startMinute = r.startMinute();
    e.endHour = r.endHour();
    e.endMinute = r.endMinute();
    e.item = r.itemName();
    e.note = r.note();
    e.attending = attending;
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d%02d%02d%02d", r.madeYear(), r.madeMonth(),
                  r.madeDay(), r.madeHour(), r.madeMinute(), r.madeSeconds());
    e.stamp = stamp;
    e.start = moment(e.date, e.startHour, e.startMinute);
    return e;
}

int CAgenda::collect(CORVSchedDoc& doc, const CPeopleKey& person, std::time_t from,
                     std::time_t to, std::vector<CAgendaEntry>& entries) {
    entries.clear();
    const std::tm first = CClock::local(from), last = CClock::local(to);
    const CDate firstDate(first.tm_year + 1900, first.tm_mon + 1, first.tm_mday);
    const CDate lastDate(last.tm_year + 1900, last.tm_mon + 1, last.tm_mday);
    const std::string lastKey = lastDate.key();
    const auto within = [&](const CScheduleRecord& r) {
        const std::time_t start = moment(CDate(r.year(), r.month(), r.day()), r.startHour(),
                                         r.startMinute());
        return start >= from && start < to;
    };

    // The person's own reservations: only the slot and the names are read until one matches.
    CSchedule& schedule = doc.schedule();
    int rc = schedule.seekFrom(firstDate.key());
    for (; rc == 0; rc = schedule.skip()) {
        const CScheduleRecord& slot = schedule.peekSlot();
        if (slot.dateKey() > lastKey) break;
        if (slot.isBlockout() || !within(slot)) continue;
        if (schedule.peekPerson().personKey() != person) continue;
        entries.push_back(entryOf(schedule.readCurrent(), false));
    }
    if (rc == res4eof) rc = 0;

    // The attendee lists holding the person, each with its reservation (a cancelled one, which
    // the tag no longer holds, is left out).
    if (rc == 0 && doc.attendeeAvailable()) {
        CRosterLink& links = doc.rosterLinks();
        std::vector<CScheduleRecord> attended;
        rc = links.seek(firstDate.key(), "", "", "");
        for (; rc == 0; rc = links.next()) {
            if (links.dateKey() > lastKey) break;
            if (links.personKey() != person) continue;
            const std::string dateKey = links.dateKey(), item = links.itemName();
            const int hour = links.startHour(), minute = links.startMinute();
            const int found = schedule.seek(dateKey, item, CFieldText::zeroPadded(hour, 2),
                                            CFieldText::zeroPadded(minute, 2));
            if (found == 0) {
                const CScheduleRecord& r = schedule.image();
                if (within(r)) entries.push_back(entryOf(r, true));
            } else if (found < 0) {
                rc = found;
                break;
            }
            // The link table was left where it was: the schedule has its own position.
        }
        if (rc == res4eof || rc == res4after) rc = 0;
    }
    if (doc.takeReadFailure(rc) != 0) {
        entries.clear();
        return rc;
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const CAgendaEntry& a, const CAgendaEntry& b) { return a.start < b.start; });
    return 0;
}

} // namespace orv
