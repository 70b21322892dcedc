#pragma once
// The date and time texts of the reservation dialogs, always in English whatever the locale.

#include "tables/CDate.h"

#include <string>

namespace orv {

class CReservationText {
public:
    // "%02d:%02d %s" of a day list time: an hour below 12 unchanged with "AM" (00:30 AM), 12
    // with "PM", 13 to 23 less 12 with "PM".
    static std::string dayListTime(int hour, int minute);
    // "%I:%M %p": 12-hour clock with a leading zero (12:05 AM, 02:30 PM).
    static std::string clockTime(int hour, int minute);
    // "%A, %B %d, %Y": Tuesday, December 08, 2026.
    static std::string longDate(const CDate& date);
    // "%m/%d/%Y".
    static std::string shortDate(const CDate& date);
    static const char* weekdayName(int weekday);
    static const char* monthName(int month);
};

} // namespace orv
