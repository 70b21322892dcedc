#include "displays/CCalendar.h"

#include "reservations/CReservationText.h"

#include <cstdio>

namespace orv {

const char* CCalendar::monthName(int month) {
    return CReservationText::monthName(month);
}

std::string CCalendar::longDate(int month, int day, int year) {
    return CReservationText::longDate(CDate(year, month, day));
}

std::string CCalendar::monthAndYear(int month, int year) {
    char text[64];
    std::snprintf(text, sizeof text, "%s, %d", monthName(month), year);
    return text;
}

} // namespace orv
