#include "reservations/CReservationText.h"

#include "tables/CFieldText.h"

#include <cstdio>

namespace orv {

namespace {
constexpr const char* kWeekdays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                     "Thursday", "Friday", "Saturday"};
constexpr const char* kMonths[] = {"January",   "February", "March",    "April",
                                   "May",       "June",     "July",     "August",
                                   "September", "October",  "November", "December"};
} // namespace

const char* CReservationText::weekdayName(int weekday) {
    return weekday >= 0 && weekday < 7 ? kWeekdays[weekday] : "";
}

const char* CReservationText::monthName(int month) {
    return month >= 1 && month <= 12 ? kMonths[month - 1] : "";
}

std::string CReservationText::dayListTime(int hour, int minute) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d %s", CFieldText::hour12(hour), minute,
                  CFieldText::afternoon(hour) ? "PM" : "AM");
    return buffer;
}

std::string CReservationText::clockTime(int hour, int minute) {
    int shown = hour % 12;
    if (shown == 0) shown = 12;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d %s", shown, minute, hour >= 12 ? "PM" : "AM");
    return buffer;
}

std::string CReservationText::longDate(const CDate& date) {
    char buffer[80];
    std::snprintf(buffer, sizeof buffer, "%s, %s %02d, %04d", weekdayName(date.weekday()),
                  monthName(date.month), date.day, date.year);
    return buffer;
}

std::string CReservationText::shortDate(const CDate& date) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d", date.month, date.day, date.year);
    return buffer;
}

} // namespace orv
