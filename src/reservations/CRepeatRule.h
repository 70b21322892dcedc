#pragma once
// A repeat rule beyond the classic choices: RFC 5545 RRULE text, read and expanded by libical.
// The dates a rule gives are calendar dates; every member keeps the series' wall-clock times, so a
// daylight-saving change moves nothing. A month (or year) that lacks the asked-for day, such as a
// day 31 or a fifth Monday, is listed as skipped rather than passed over without a word.

#include "tables/CDate.h"

#include <string>
#include <vector>

namespace orv {

// What the Custom... dialog edits; text() gives the rule.
struct CRepeatPattern {
    enum class Frequency { daily, weekly, monthly, yearly };
    Frequency frequency = Frequency::weekly;
    int interval = 1;
    std::vector<int> weekdays;     // weekly: 0 Sunday ... 6 Saturday
    bool monthlyByWeekday = false; // monthly: on the ordinal weekday instead of on the day
    int monthDay = 1;              // monthly and yearly: the day of the month
    int ordinal = 1;               // monthly by weekday: 1-4, or -1 for the last
    int ordinalWeekday = 1;        // 0 Sunday ... 6 Saturday
    int month = 1;                 // yearly
    CDate until;                   // set: ends on this date
    int count = 0;                 // otherwise: ends after this many dates

    std::string text() const;
};

// A date a series does not book, and why: CSeriesRow's reasons (conflict, blocked out, the month
// has no such day) and the line the user is shown.
struct CSkippedDate {
    CDate date;
    char reason = ' ';
    std::string text;
};

class CRepeatRule {
public:
    static constexpr int kMaxDates = 1000;
    static constexpr int kMaxYears = 10;
    // The width the series table keeps a rule in.
    static constexpr std::size_t kMaxTextLength = 200;
    static constexpr const char* kErrorTitle = "Recurring Reservation Error";
    static constexpr const char* kNotDaysOrMore =
        "A reservation repeats by days, weeks, months or years.";
    static constexpr const char* kTooMany =
        "A repeating reservation may have at most 1,000 dates and may not run past ten years.";
    static constexpr const char* kNoDates =
        "The repeat rule gives no dates from the start date on.";
    static constexpr const char* kOldFormat =
        "Repeat patterns other than every day, every weekday, every week and overnight are not "
        "allowed with this version of the database. Use the Database Converson utility to rebuild "
        "the database to accept them.";

    // The dates of a rule from a first date on.
    struct Dates {
        std::vector<CDate> dates;        // to book, in order (the left-out dates are not here)
        std::vector<CDate> leftOut;      // exceptions that fell on a date of the rule
        std::vector<CSkippedDate> noDay; // months (years) without the asked-for day
    };

    // Reads RFC 5545 RRULE text (an "RRULE:" prefix is allowed). False with the message for the
    // user in `error`.
    bool parse(const std::string& text, std::string& error);
    // The rule as libical writes it back.
    const std::string& text() const { return m_text; }

    // The dates from `first` on, without `exceptions`. False with the message when the rule gives
    // none, or more than kMaxDates, or runs past kMaxYears.
    bool expand(const CDate& first, const std::vector<CDate>& exceptions, Dates& out,
                std::string& error) const;

    // A rule without an end (no UNTIL, no COUNT) that gives more dates from `first` than the
    // limits allow ends on the last date within them; true when it was so cut.
    bool endAtLimits(const CDate& first);

    // "Every 2 weeks on Monday and Wednesday, until 3/31/2027, 16 dates".
    std::string summary(const Dates& dates) const;
    // The rule in words alone: "Every 2 weeks on Monday and Wednesday".
    std::string words() const;

private:
    // The rule's dates from `first` within the limits; false when the rule cannot be read.
    // `more`: it gives dates beyond them.
    bool datesWithinLimits(const CDate& first, std::vector<CDate>& raw, bool& more) const;

    std::string m_text;
};

} // namespace orv
