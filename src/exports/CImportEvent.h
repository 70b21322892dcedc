#pragma once
// What an import reads from a calendar file or a spreadsheet, before it is matched against the
// group: one event (a reservation, or a series made by one calendar event) with its times in
// local time, and the texts it names its item and person by.

#include "tables/CDate.h"
#include "tables/CPeopleKey.h"

#include <string>
#include <vector>

namespace orv {

// One reservation of an event: its local date and times as hhmm values; an event that ends at
// midnight ends at 2359, as the program stores it.
struct CImportTime {
    CDate date;
    int start = 0;
    int end = 0;
    bool outsideDay = false; // it ends on a later day than it starts
};

struct CImportEvent {
    int line = 0;    // the file's line on which the event (row) begins
    std::string uid; // empty: the file gives none (CSV)
    long sequence = 0;
    std::string item;         // UTF-8, as the file names it
    std::string person;       // UTF-8, as the file names it ("Morgan, Alex J", "Alex Morgan")
    bool personParts = false; // the file gave the parts: `personKey` holds them
    CPeopleKey personKey;     // stored text
    std::vector<std::string> attendees; // UTF-8 names
    std::string note;                   // UTF-8
    bool blockout = false;
    bool cancelled = false;
    std::string rule; // the RRULE of a series made by rule
    bool cut = false; // the rule had no end: it ends on the last date within the limits
    CDate ruleStart;  // its first date
    std::vector<CDate> leftOut;
    std::string made; // creation stamp "YYYYMMDDHHMMSS" the file gives, empty: now
    std::vector<CImportTime> times;
    std::string invalid; // why the event cannot be imported, empty when it can
};

} // namespace orv
