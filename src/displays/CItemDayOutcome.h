#pragma once
// How an overview opens an item's day list, and what it learns when the list closes. The main
// view supplies the opener, so the overviews do not depend on the day list itself.

#include <functional>

namespace orv {

struct CItemDayOutcome {
    bool ok = false;      // the day list ended with OK
    bool changed = false; // something was made, cancelled or terminated there
    int month = 0;        // the date it showed at the end
    int day = 0;
    int year = 0;
};

// Opens the day list of the item at `itemIndex` (in item order) for a date; month 1-12.
using OpenItemDay = std::function<CItemDayOutcome(int itemIndex, int month, int day, int year)>;

} // namespace orv
