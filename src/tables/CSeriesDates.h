#pragma once
// The dates of a series, the one walk behind making a series, cancelling the rest or a part of
// it, undoing an overnight span and changing a note along it. It steps by the recurrence code (a
// week for a weekly series, else a day), passes over Saturdays and Sundays for a weekday series
// (a passed date is no miss), and ends after the last date or, without one (an older table, or
// no end stored), after more than kMaxMisses dates in a row without a member: the miss rule.
// A walk over stored members can also be bounded by the date of the table's last record, so that
// a damaged or far-off end date (9999) costs nothing.

#include "tables/CDate.h"

namespace orv {

class CSeriesDates {
public:
    static constexpr int kMaxMisses = 5;

    // From `first` (included) through `last`; an unset `last` walks by the miss rule. Code 0
    // gives `first` alone.
    CSeriesDates(int recurrenceCode, CDate first, CDate last);

    // The first date on or after `from` that the series with a member on `anchor` can stand on
    // (a weekly series keeps its weekday; a weekday series passes over a weekend).
    static CDate alignedFrom(int recurrenceCode, CDate anchor, CDate from);
    static int stepOf(int recurrenceCode) { return recurrenceCode == 7 ? 7 : 1; }

    // No date after this one (typically the date of the table's last record).
    void stopAfter(CDate date) { m_stopAfter = date; }
    // The next date, false once the walk is over.
    bool next(CDate& date);
    // What the walker found on the date next() gave: the miss rule counts the misses in a row.
    void hit() { m_misses = 0; }
    void miss() { ++m_misses; }

private:
    int m_code;
    int m_step;
    CDate m_next;
    CDate m_last;
    CDate m_stopAfter;
    int m_misses = 0;
    bool m_done = false;
};

} // namespace orv
