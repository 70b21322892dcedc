#pragma once
// What the reservation report lists: a range of dates, optionally some items, some people, or
// only the blockouts. Set by the options dialog, read by the report.

#include "tables/CPeopleKey.h"

#include <set>
#include <vector>

namespace orv {

struct CReportCriteria {
    // The range, both days included; month 1-12.
    int startMonth = 0, startDay = 0, startYear = 0;
    int endMonth = 0, endDay = 0, endYear = 0;
    std::set<int> items;            // indices in item order; empty: every item
    std::vector<CPeopleKey> people; // empty: everybody
    bool blockoutsOnly = false;

    // year x 10000 + month x 100 + day, so that dates compare as whole numbers.
    static long dateNumber(int month, int day, int year) {
        return static_cast<long>(year) * 10000 + month * 100 + day;
    }
    long startNumber() const { return dateNumber(startMonth, startDay, startYear); }
    long endNumber() const { return dateNumber(endMonth, endDay, endYear); }
};

} // namespace orv
