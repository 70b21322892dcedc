#pragma once
// Reads the events of an iCalendar file (RFC 5545) through libical for an import. Times in UTC,
// with a TZID (a VTIMEZONE of the file, or a zone the system knows) or floating come out in
// local time; all-day events as reservations of the whole day; RRULE (through CRepeatRule),
// RDATE, EXDATE and RECURRENCE-ID overrides give one event with all its dates; events of one
// of our own exports give back their person, blockout and creation stamp.

#include "exports/CImportEvent.h"

#include <string>
#include <vector>

namespace orv {

class CIcsReader {
public:
    static constexpr const char* kNotCalendar = "The file is not an iCalendar file.";

    // The events of `text` in file order, an event the reader cannot take with its reason in
    // `invalid`. False with `error` when the text is no calendar at all.
    static bool read(const std::string& text, std::vector<CImportEvent>& events,
                     std::string& error);
};

} // namespace orv
