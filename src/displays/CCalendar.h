#pragma once
// Calendar facts the overviews show: days in a month, weekdays, and the English date texts of
// their headings (the same whatever the user's locale).

#include <string>

namespace orv {

class CCalendar {
public:
    // Month 1-12; 0 for a month outside that range.
    static int daysInMonth(int month, int year);
    // 0 = Sunday ... 6 = Saturday, for any date of the proleptic Gregorian calendar.
    static int weekday(int month, int day, int year);
    // "%A, %B %d, %Y": "Tuesday, December 08, 2026".
    static std::string longDate(int month, int day, int year);
    // "%B, %Y": "December, 2026".
    static std::string monthAndYear(int month, int year);
    static const char* monthName(int month);
};

} // namespace orv
