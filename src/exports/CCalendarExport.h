#pragma once
// The reservations and blockouts of a date range as an iCalendar (RFC 5545) or CSV (RFC 4180)
// file. Nothing of the group is changed. The same records always give the same bytes, so an
// export of an unchanged group is byte for byte the one before, and a calendar that imports a
// later export updates its events instead of adding them again (each event's UID is made of its
// creation stamp, item, date and start).
//
// The calendar file is written by libical. Times carry the user's time zone (TZID and its
// VTIMEZONE; UTC times when the zone is UTC) so that a calendar elsewhere shows them at the right
// moment; floating times (the same clock time wherever the calendar is) are an option for groups
// used in several zones, and the form when the zone has no name libical knows. A reservation
// stored as ending at 23:59 (the program's form of "until midnight") ends at midnight in the
// calendar. A series made by a repeat rule is one event with its RRULE, and an EXDATE for each
// date of the rule it does not book as its other members are; every other reservation (and a
// member that differs from the rest) is an event of its own.
//
// SEQUENCE and LAST-MODIFIED tell a calendar that an event it holds changed (terminated, another
// note, other attendees). The records keep no revision, and the group's files are not ours to
// change, so the count lives in the one place a calendar reads it from: the file the export
// replaces. Its events are read back by UID; an event whose lines (all but UID, DTSTAMP,
// SEQUENCE and LAST-MODIFIED) are unchanged keeps its SEQUENCE and LAST-MODIFIED, a changed one
// gets SEQUENCE one higher and LAST-MODIFIED now; an event the file does not hold starts at
// SEQUENCE 0, last modified when it was made. The calendar file, shared by everyone who keeps it
// in one folder, so counts the same for all of them. An export to standard output or to a new
// file has nothing to count from and starts every event at 0.

#include "tables/CDate.h"
#include "tables/CPeopleKey.h"
#include "tables/CScheduleRecord.h"

#include <string>
#include <vector>

namespace orv {

class CORVSchedDoc;
class File4System;

struct CExportFilter {
    CDate from;
    CDate to;
    std::vector<std::string> items; // item names; empty: every item
    std::vector<CPeopleKey> people; // empty: everybody, and the blockouts
};

struct CExportEntry {
    CScheduleRecord record;
    std::vector<CPeopleKey> attendees;
    // A series made by a repeat rule: `record` is its first member's form on the rule's first
    // date, `rule` the RFC 5545 text, `leftOut` the rule's dates without such a member.
    std::string rule;
    std::vector<CDate> leftOut;
    int records = 1; // the schedule records the entry stands for
};

class CCalendarExport {
public:
    enum class Format { ics, csv };

    // The records of the range that pass the filter, in date, item and start order, with their
    // attendees: 0, or the first read failure (taken off the context) with `entries` empty, so
    // that part of the records never passes for all of them.
    static int collect(CORVSchedDoc& doc, const CExportFilter& filter,
                       std::vector<CExportEntry>& entries);
    // Folds the members of each series made by a repeat rule into one entry for the whole series
    // (its members out of the range too), leaving as entries of their own the members that differ
    // from the rest. 0, or the first read failure with `entries` empty.
    static int foldSeries(CORVSchedDoc& doc, const CExportFilter& filter,
                          std::vector<CExportEntry>& entries);

    // The whole file: collect() and ics() or csv(), the group's description as the calendar's
    // name. `replacing` is the file the text is to replace (empty: none), read for the events'
    // sequences. 0, or collect()'s failure with `text` empty. `count` (optional) gets the
    // number of records. `floating` writes floating times instead of the user's zone.
    static int render(CORVSchedDoc& doc, const CExportFilter& filter, Format format,
                      const std::string& replacing, std::string& text, int* count = nullptr,
                      bool floating = false);
    // What the user is told when render() failed.
    static std::string notReadMessage(int failure);

    // UTF-8 text with CRLF line ends. `calendarName` becomes X-WR-CALNAME (stored text).
    // `previous` is the text of the file this one replaces (see above); a changed event is
    // stamped with the clock's now. `zone` names the zone of the times (localZone()); empty:
    // floating times.
    static std::string ics(const std::vector<CExportEntry>& entries,
                           const std::string& calendarName, const std::string& previous,
                           const std::string& zone);
    // The user's time zone as libical knows it ("America/New_York", "UTC"), from TZ or the
    // system's setting; empty when it has no such name.
    static std::string localZone();
    static std::string csv(const std::vector<CExportEntry>& entries);

    // Writes `text` to `path` through a new file renamed over it (file4replace). False with
    // `error` set, `path` untouched.
    static bool writeFile(const std::string& path, const std::string& text, std::string& error);
    static bool writeFile(const std::string& path, const std::string& text, std::string& error,
                          File4System& fs);

    // The pieces, for the tests of the format.
    static std::string csvField(const std::string& utf8); // quoted when it must be
    // A text value that a spreadsheet would take for a formula (=, +, -, @, tab, carriage
    // return first) gets a leading apostrophe; then csvField.
    static std::string csvText(const std::string& utf8);
    static std::string uid(const CScheduleRecord& record);
};

} // namespace orv
