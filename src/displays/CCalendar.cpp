#include "displays/CCalendar.h"

#include <cstdio>

namespace orv {

namespace {

constexpr const char* kMonths[] = {"January",   "February", "March",    "April",
                                   "May",       "June",     "July",     "August",
                                   "September", "October",  "November", "December"};
constexpr const char* kWeekdays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                     "Thursday", "Friday", "Saturday"};

bool leapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// Days since 1970-01-01 of a civil date.
long daysFromCivil(int year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const long era = (year >= 0 ? year : year - 399) / 400;
    const long yoe = year - era * 400;
    const long doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

} // namespace

int CCalendar::daysInMonth(int month, int year) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && leapYear(year) ? 29 : kDays[month - 1];
}

int CCalendar::weekday(int month, int day, int year) {
    const long days = daysFromCivil(year, month, day);
    // 1970-01-01 was a Thursday.
    return static_cast<int>(((days + 4) % 7 + 7) % 7);
}

const char* CCalendar::monthName(int month) {
    return month >= 1 && month <= 12 ? kMonths[month - 1] : "";
}

std::string CCalendar::longDate(int month, int day, int year) {
    char text[96];
    std::snprintf(text, sizeof text, "%s, %s %02d, %d", kWeekdays[weekday(month, day, year)],
                  monthName(month), day, year);
    return text;
}

std::string CCalendar::monthAndYear(int month, int year) {
    char text[64];
    std::snprintf(text, sizeof text, "%s, %d", monthName(month), year);
    return text;
}

} // namespace orv
