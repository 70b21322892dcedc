#pragma once
// The reservations and blockouts of a date range as an iCalendar (RFC 5545) or CSV (RFC 4180)
// file. Nothing of the group is changed. The same records always give the same bytes, so an
// export of an unchanged group is byte for byte the one before, and a calendar that imports a
// later export updates its events instead of adding them again (each event's UID is made of its
// creation stamp, item, date and start).
//
// Times are floating local times: the calendar shows them at the same clock time wherever it
// is. A reservation stored as ending at 23:59 (the program's form of "until midnight") ends at
// midnight in the calendar.
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
};

class CCalendarExport {
public:
    enum class Format { ics, csv };

    // The records of the range that pass the filter, in date, item and start order, with their
    // attendees: 0, or the first read failure (taken off the context) with `entries` empty, so
    // that part of the records never passes for all of them.
    static int collect(CORVSchedDoc& doc, const CExportFilter& filter,
                       std::vector<CExportEntry>& entries);

    // The whole file: collect() and ics() or csv(), the group's description as the calendar's
    // name. `replacing` is the file the text is to replace (empty: none), read for the events'
    // sequences. 0, or collect()'s failure with `text` empty. `count` (optional) gets the
    // number of records.
    static int render(CORVSchedDoc& doc, const CExportFilter& filter, Format format,
                      const std::string& replacing, std::string& text, int* count = nullptr);
    // What the user is told when render() failed.
    static std::string notReadMessage(int failure);

    // UTF-8 text with CRLF line ends. `calendarName` becomes X-WR-CALNAME (stored text).
    // `previous` is the text of the file this one replaces (see above); a changed event is
    // stamped with the clock's now.
    static std::string ics(const std::vector<CExportEntry>& entries,
                           const std::string& calendarName, const std::string& previous = {});
    static std::string csv(const std::vector<CExportEntry>& entries);

    // Writes `text` to `path` through a new file renamed over it (file4replace). False with
    // `error` set, `path` untouched.
    static bool writeFile(const std::string& path, const std::string& text, std::string& error);
    static bool writeFile(const std::string& path, const std::string& text, std::string& error,
                          File4System& fs);

    // The pieces, for the tests of the format.
    static std::string icsText(const std::string& utf8);  // TEXT escaping: \\ \; \, \n
    static std::string foldLine(const std::string& utf8); // lines of at most 75 octets, CRLF
    static std::string csvField(const std::string& utf8); // quoted when it must be
    // A text value that a spreadsheet would take for a formula (=, +, -, @, tab, carriage
    // return first) gets a leading apostrophe; then csvField.
    static std::string csvText(const std::string& utf8);
    static std::string uid(const CScheduleRecord& record);
};

} // namespace orv
