#pragma once
// The English date texts of the overviews' headings (the same whatever the user's locale). The
// day arithmetic behind them is CDate's.

#include <string>

namespace orv {

class CCalendar {
public:
    // "%A, %B %d, %Y": "Tuesday, December 08, 2026".
    static std::string longDate(int month, int day, int year);
    // "%B, %Y": "December, 2026".
    static std::string monthAndYear(int month, int year);
    static const char* monthName(int month);
};

} // namespace orv
