#pragma once
// What the utilization report measures: a range between two local moments, optionally some
// items only, optionally a window of whole hours of each day. Set by the options dialog, read by
// the report.

#include "tables/CDate.h"

#include <set>

namespace orv {

struct CUtilizationCriteria {
    static constexpr long kDaySeconds = 86400;

    // Local wall-clock moments: a date and the seconds since its midnight. Differences between
    // them count calendar days, whatever daylight saving does in between.
    CDate startDate;
    int startSeconds = 0;
    CDate endDate;
    int endSeconds = 0;
    std::set<int> items; // indices in item order; empty: every item
    bool window = false;
    int startHour = 0; // 0-23
    int endHour = 24;  // 1-24; 24 is the end of the day

    static long moment(const CDate& date, int seconds) {
        return date.serial() * kDaySeconds + seconds;
    }
    long startMoment() const { return moment(startDate, startSeconds); }
    long endMoment() const { return moment(endDate, endSeconds); }
};

} // namespace orv
