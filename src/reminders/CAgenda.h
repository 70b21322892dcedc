#pragma once
// A person's reservations and the reservations whose attendee list holds them, starting within
// a span of time, in start order: what reminders, change notices and `upcoming` look at.

#include "tables/CDate.h"
#include "tables/CPeopleKey.h"

#include <ctime>
#include <string>
#include <vector>

namespace orv {

class CORVSchedDoc;
class CScheduleRecord;

struct CAgendaEntry {
    CDate date;
    int startHour = 0, startMinute = 0, endHour = 0, endMinute = 0;
    std::string item;
    std::string note;
    bool attending = false; // on the attendee list, not the person of the reservation
    std::string stamp;      // the creation stamp, shared by the members of a series
    std::time_t start = 0;  // the local start as a moment

    // One per reservation and start: the date, the start, the item and the stamp.
    std::string key() const;
    // "Boardroom 12/10/2026 09:00 AM - 10:00 AM"
    std::string describe() const;
    // The member of the same reservation (stamp and date) in another state.
    bool sameMember(const CAgendaEntry& other) const {
        return stamp == other.stamp && date == other.date && attending == other.attending;
    }
};

class CAgenda {
public:
    // Entries starting at `from` or later and before `to`. Returns 0, or the failing result
    // with nothing listed (a list cut short would look complete).
    static int collect(CORVSchedDoc& doc, const CPeopleKey& person, std::time_t from,
                       std::time_t to, std::vector<CAgendaEntry>& entries);
    // The moment of a local wall-clock time (daylight saving as the zone has it that day).
    static std::time_t moment(const CDate& date, int hour, int minute);
    static CAgendaEntry entryOf(const CScheduleRecord& record, bool attending);
};

} // namespace orv
