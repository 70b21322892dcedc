#pragma once
// A clock that stands still at a given moment until moved; for tests and tools.

#include "tables/CClock.h"

namespace orv {

class CFixedClock : public CClock {
public:
    explicit CFixedClock(std::time_t t = 0) : m_now(t) {}
    std::time_t now() const override { return m_now; }
    void set(std::time_t t) { m_now = t; }
    // Sets local time (month 1-12) through mktime.
    void setLocal(int year, int month, int day, int hour, int minute, int second = 0) {
        std::tm tm{};
        tm.tm_year = year - 1900;
        tm.tm_mon = month - 1;
        tm.tm_mday = day;
        tm.tm_hour = hour;
        tm.tm_min = minute;
        tm.tm_sec = second;
        tm.tm_isdst = -1;
        m_now = std::mktime(&tm);
    }
    void advance(std::time_t seconds) { m_now += seconds; }

private:
    std::time_t m_now;
};

} // namespace orv
