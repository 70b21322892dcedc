#pragma once
// A calendar date (year, month 1-12, day). Series and "n days back" step by calendar days, so a
// daylight-saving change never moves a date or a time of day.

#include <compare>
#include <string>
#include <string_view>

namespace orv {

struct CDate {
    int year = 0;
    int month = 0;
    int day = 0;

    CDate() = default;
    CDate(int y, int m, int d) : year(y), month(m), day(d) {}

    // From a date key "YYYYMMDD" (positions as the tables store them).
    static CDate fromKey(std::string_view key);
    // The clock's local date.
    static CDate today();
    // Month 1-12; 0 for a month outside that range.
    static int daysInMonth(int month, int year);
    // Days since 1970-01-01 and back.
    static CDate fromSerial(long serial);
    long serial() const;

    bool isSet() const { return year != 0 || month != 0 || day != 0; }
    // A calendar date that exists, from 1900 to 9999.
    bool isValid() const;
    // "%04d%02d%02d".
    std::string key() const;
    CDate addDays(long days) const { return fromSerial(serial() + days); }
    // 0 Sunday ... 6 Saturday.
    int weekday() const;
    bool isWeekend() const {
        const int w = weekday();
        return w == 0 || w == 6;
    }

    auto operator<=>(const CDate&) const = default;
};

} // namespace orv
