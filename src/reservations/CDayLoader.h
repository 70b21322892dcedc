#pragma once
// What the reservation dialog needs of the day list that opened it: a loader of one item's
// records of a date and the starts and ends (hhmm values) of what it loaded, on which the
// overlap check works.

#include "tables/CDate.h"

#include <vector>

namespace orv {

class CDayLoader {
public:
    virtual ~CDayLoader() = default;
    // Loads the item's records of `date`. With `reopen` the tables are first reopened when the
    // settings say so; a caller that holds the schedule table's lock passes false, since
    // closing the table would drop the lock. 0, or the failure of a read that left the list
    // short: an overlap check must not trust it then.
    virtual int loadItemDay(const CDate& date, bool reopen) = 0;
    virtual const std::vector<int>& dayStarts() const = 0;
    virtual const std::vector<int>& dayEnds() const = 0;
};

} // namespace orv
