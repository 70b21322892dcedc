#pragma once
// The group document's attendee working lists for the reservation being shown (current
// attendees, attendees to add, attendees to remove) and the roster link operations built on
// them. A reservation is named by its date, start time and item name; its links are found by
// exactly those, so a reservation moved to another start time keeps none.

#include "storage/Result4.h"
#include "tables/CListLine.h"
#include "tables/CPeopleKey.h"

#include <string>
#include <vector>

namespace orv {

class CPeople;
class CRosterLink;

class CAttendeeLists {
public:
    std::vector<CPeopleKey>& current() { return m_current; }
    const std::vector<CPeopleKey>& current() const { return m_current; }
    std::vector<CPeopleKey>& toAdd() { return m_toAdd; }
    const std::vector<CPeopleKey>& toAdd() const { return m_toAdd; }
    std::vector<CPeopleKey>& toRemove() { return m_toRemove; }
    const std::vector<CPeopleKey>& toRemove() const { return m_toRemove; }
    // Empties all three lists.
    void clear();

    // Appends the reservation's attendees to the current list and, when `lines` is given, one
    // line each, "%s, %s %s   %s" of last name, first name, middle initial and
    // "(" department ")   " when there is a department, carrying the person's record number in
    // `people` or -1 when the person is no longer there. Returns the result of the last seek
    // or skip of the links.
    int loadAttendees(CRosterLink& links, CPeople& people, int month, int day, int year,
                      int startHour, int startMinute, const std::string& itemName,
                      std::vector<CListLine>* lines = nullptr);

    // Deletes every link of the reservation. Returns the result of the last seek (res4eof when
    // no link follows), or the failure of a delete, which ends it.
    static int deleteAttendees(CRosterLink& links, int month, int day, int year, int startHour,
                               int startMinute, const std::string& itemName);

    // Deletes the reservation's links of the people in the remove list, then appends a link
    // for each person of the add list who is not in the current list. Returns the result of
    // a refused append lock or a failed append (nothing more is appended then); otherwise the
    // result of the last seek or skip (0 when none was needed).
    int saveAttendeeChanges(CRosterLink& links, int month, int day, int year, int startHour,
                            int startMinute, const std::string& itemName);
    // A result of saveAttendeeChanges or deleteAttendees that means a link was not written or
    // not deleted (the end of the links, or a landing on another reservation's, is none).
    static bool failed(int rc) { return rc != res4success && rc != res4after && rc != res4eof; }

private:
    static bool contains(const std::vector<CPeopleKey>& keys, const CPeopleKey& key);

    std::vector<CPeopleKey> m_current;
    std::vector<CPeopleKey> m_toAdd;
    std::vector<CPeopleKey> m_toRemove;
};

} // namespace orv
