#include "tables/CDate.h"

#include "tables/CClock.h"
#include "tables/CFieldText.h"

namespace orv {

// Civil-day arithmetic on the proleptic Gregorian calendar (days from 1970-01-01).
long CDate::serial() const {
    const long y = month <= 2 ? year - 1 : year;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long m = month;
    const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

CDate CDate::fromSerial(long serial) {
    serial += 719468;
    const long era = (serial >= 0 ? serial : serial - 146096) / 146097;
    const long doe = serial - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    const long d = doy - (153 * mp + 2) / 5 + 1;
    const long m = mp < 10 ? mp + 3 : mp - 9;
    const long y = yoe + era * 400 + (m <= 2 ? 1 : 0);
    return {static_cast<int>(y), static_cast<int>(m), static_cast<int>(d)};
}

int CDate::daysInMonth(int month, int year) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

CDate CDate::fromKey(std::string_view key) {
    CDate date;
    CFieldText::splitDate(key, date.year, date.month, date.day);
    return date;
}

CDate CDate::today() {
    const std::tm now = CClock::current().localNow();
    return {now.tm_year + 1900, now.tm_mon + 1, now.tm_mday};
}

bool CDate::isValid() const {
    return CFieldText::isValidDate(year, month, day);
}

std::string CDate::key() const {
    return CFieldText::dateKey(year, month, day);
}

int CDate::weekday() const {
    const long s = serial();
    // 1970-01-01 was a Thursday.
    const long w = (s % 7 + 7 + 4) % 7;
    return static_cast<int>(w);
}

} // namespace orv
