#include "reservations/CRepeatRule.h"

#include "reservations/CReservationText.h"

#include <libical/ical.h>

#include <algorithm>
#include <cstdlib>

namespace orv {

namespace {

const char* const kWeekdayCodes[] = {"SU", "MO", "TU", "WE", "TH", "FR", "SA"};

bool readRule(const std::string& text, icalrecurrencetype& rule) {
    std::string body = text;
    if (body.rfind("RRULE:", 0) == 0) body.erase(0, 6);
    if (body.empty()) return false;
    icalerror_set_errors_are_fatal(0);
    icalerrno = ICAL_NO_ERROR;
    rule = icalrecurrencetype_from_string(body.c_str());
    return icalerrno == ICAL_NO_ERROR && rule.freq != ICAL_NO_RECURRENCE;
}

template <std::size_t N> std::vector<short> entries(const short (&array)[N]) {
    std::vector<short> out;
    for (std::size_t i = 0; i < N && array[i] != ICAL_RECURRENCE_ARRAY_MAX; ++i)
        out.push_back(array[i]);
    return out;
}

// 0 Sunday ... 6 Saturday of a BYDAY entry.
int weekdayOf(short byDay) {
    return static_cast<int>(icalrecurrencetype_day_day_of_week(byDay)) - 1;
}

std::string ordinalName(int position) {
    static const char* const names[] = {"", "first", "second", "third", "fourth", "fifth"};
    if (position >= 1 && position <= 5) return names[position];
    if (position == -1) return "last";
    if (position <= -2 && position >= -5) return std::string(names[-position]) + " to last";
    return std::to_string(position) + "th";
}

std::string joined(const std::vector<std::string>& parts) {
    std::string out;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) out += i + 1 == parts.size() ? " and " : ", ";
        out += parts[i];
    }
    return out;
}

std::string shortDate(const CDate& d) {
    return std::to_string(d.month) + "/" + std::to_string(d.day) + "/" + std::to_string(d.year);
}

int weekdaysInMonth(int weekday, int month, int year) {
    const int first = CDate(year, month, 1).weekday();
    const int firstHit = 1 + (weekday - first + 7) % 7;
    return (CDate::daysInMonth(month, year) - firstHit) / 7 + 1;
}

} // namespace

std::string CRepeatPattern::text() const {
    static const char* const freq[] = {"DAILY", "WEEKLY", "MONTHLY", "YEARLY"};
    std::string out = std::string("FREQ=") + freq[static_cast<int>(frequency)];
    if (interval > 1) out += ";INTERVAL=" + std::to_string(interval);
    switch (frequency) {
    case Frequency::daily:
        break;
    case Frequency::weekly:
        if (!weekdays.empty()) {
            out += ";BYDAY=";
            std::vector<int> sorted = weekdays;
            std::sort(sorted.begin(), sorted.end());
            for (std::size_t i = 0; i < sorted.size(); ++i)
                out += std::string(i ? "," : "") + kWeekdayCodes[sorted[i] % 7];
        }
        break;
    case Frequency::monthly:
        if (monthlyByWeekday)
            out += ";BYDAY=" + std::to_string(ordinal) + kWeekdayCodes[ordinalWeekday % 7];
        else
            out += ";BYMONTHDAY=" + std::to_string(monthDay);
        break;
    case Frequency::yearly:
        out += ";BYMONTH=" + std::to_string(month) + ";BYMONTHDAY=" + std::to_string(monthDay);
        break;
    }
    if (until.isSet())
        out += ";UNTIL=" + until.key();
    else if (count > 0)
        out += ";COUNT=" + std::to_string(count);
    return out;
}

bool CRepeatRule::parse(const std::string& text, std::string& error) {
    icalrecurrencetype rule;
    if (!readRule(text, rule)) {
        error = "The repeat rule \"" + text + "\" cannot be read.";
        return false;
    }
    if (rule.freq < ICAL_DAILY_RECURRENCE || rule.freq > ICAL_YEARLY_RECURRENCE ||
        !entries(rule.by_hour).empty() || !entries(rule.by_minute).empty() ||
        !entries(rule.by_second).empty()) {
        error = kNotDaysOrMore;
        return false;
    }
    // A time on UNTIL means its date: members keep the series' own times.
    if (!icaltime_is_null_time(rule.until) && !rule.until.is_date) {
        rule.until.is_date = 1;
        rule.until.hour = rule.until.minute = rule.until.second = 0;
        rule.until.zone = nullptr;
    }
    char* written = icalrecurrencetype_as_string_r(&rule);
    m_text = written ? written : text;
    icalmemory_free_buffer(written);
    if (m_text.size() > kMaxTextLength) {
        error = "The repeat rule is longer than " + std::to_string(kMaxTextLength) + " characters.";
        return false;
    }
    return true;
}

bool CRepeatRule::datesWithinLimits(const CDate& first, std::vector<CDate>& raw,
                                    bool& more) const {
    raw.clear();
    more = false;
    icalrecurrencetype rule;
    if (!first.isValid() || !readRule(m_text, rule)) return false;
    // A date at midnight (icaltime_null_date() marks its time parts -1, which the iterator
    // would count with).
    icaltimetype start = icaltime_null_time();
    start.is_date = 1;
    start.year = first.year;
    start.month = first.month;
    start.day = first.day;
    const CDate limit(first.year + kMaxYears, first.month,
                      std::min(first.day, CDate::daysInMonth(first.month, first.year + kMaxYears)));
    icalrecur_iterator* it = icalrecur_iterator_new(rule, start);
    if (!it) return false;
    for (icaltimetype t = icalrecur_iterator_next(it); !icaltime_is_null_time(t);
         t = icalrecur_iterator_next(it)) {
        const CDate d(t.year, t.month, t.day);
        if (d < first) continue;
        if (!raw.empty() && d == raw.back()) continue;
        if (d > limit || static_cast<int>(raw.size()) == kMaxDates) {
            more = true;
            break;
        }
        raw.push_back(d);
    }
    icalrecur_iterator_free(it);
    return true;
}

bool CRepeatRule::endAtLimits(const CDate& first) {
    icalrecurrencetype rule;
    if (!readRule(m_text, rule) || !icaltime_is_null_time(rule.until) || rule.count != 0)
        return false;
    std::vector<CDate> raw;
    bool more = false;
    if (!datesWithinLimits(first, raw, more) || !more || raw.empty()) return false;
    rule.until = icaltime_null_date();
    rule.until.year = raw.back().year;
    rule.until.month = raw.back().month;
    rule.until.day = raw.back().day;
    char* written = icalrecurrencetype_as_string_r(&rule);
    if (!written) return false;
    m_text = written;
    icalmemory_free_buffer(written);
    return true;
}

bool CRepeatRule::expand(const CDate& first, const std::vector<CDate>& exceptions, Dates& out,
                         std::string& error) const {
    out = Dates();
    icalrecurrencetype rule;
    std::vector<CDate> raw;
    bool tooMany = false;
    if (!readRule(m_text, rule) || !datesWithinLimits(first, raw, tooMany)) {
        error = "The repeat rule \"" + m_text + "\" cannot be read.";
        return false;
    }
    if (tooMany) {
        error = kTooMany;
        return false;
    }
    for (const CDate& d : raw) {
        if (std::find(exceptions.begin(), exceptions.end(), d) != exceptions.end())
            out.leftOut.push_back(d);
        else
            out.dates.push_back(d);
    }
    if (out.dates.empty()) {
        error = kNoDates;
        return false;
    }

    // Periods that lack the asked-for day, from the first date's period to the end of the rule.
    const CDate bound = !icaltime_is_null_time(rule.until)
                            ? CDate(rule.until.year, rule.until.month, rule.until.day)
                            : raw.back();
    const std::vector<short> monthDays = entries(rule.by_month_day);
    const std::vector<short> days = entries(rule.by_day);
    const std::vector<short> months = entries(rule.by_month);
    const int step = std::max<int>(rule.interval, 1);
    if (rule.freq == ICAL_MONTHLY_RECURRENCE) {
        const bool byDay = monthDays.size() == 1 && monthDays[0] > 28 && days.empty();
        const bool byOrdinal = days.size() == 1 && monthDays.empty() &&
                               std::abs(icalrecurrencetype_day_position(days[0])) >= 4;
        for (int y = first.year, m = first.month; CDate(y, m, 1) <= bound;) {
            const bool inMonths =
                months.empty() || std::find(months.begin(), months.end(), m) != months.end();
            std::string why;
            if (inMonths && byDay && CDate::daysInMonth(m, y) < monthDays[0])
                why = "has no day " + std::to_string(monthDays[0]);
            if (inMonths && byOrdinal) {
                const int pos = icalrecurrencetype_day_position(days[0]);
                const int w = weekdayOf(days[0]);
                if (std::abs(pos) > weekdaysInMonth(w, m, y))
                    why = "has no " + ordinalName(pos) + " " + CReservationText::weekdayName(w);
            }
            if (!why.empty())
                out.noDay.push_back({CDate(y, m, 1), 'M',
                                     std::string(CReservationText::monthName(m)) + " " +
                                         std::to_string(y) + " " + why});
            m += step;
            while (m > 12) {
                m -= 12;
                ++y;
            }
        }
    } else if (rule.freq == ICAL_YEARLY_RECURRENCE && months.size() == 1 && monthDays.size() == 1 &&
               monthDays[0] > 28) {
        for (int y = first.year; CDate(y, 1, 1) <= bound; y += step) {
            if (CDate(y, months[0], 1) < CDate(first.year, first.month, 1)) continue;
            if (CDate::daysInMonth(months[0], y) < monthDays[0])
                out.noDay.push_back({CDate(y, months[0], 1), 'M',
                                     std::to_string(y) + " has no " +
                                         CReservationText::monthName(months[0]) + " " +
                                         std::to_string(monthDays[0])});
        }
    }
    return true;
}

std::string CRepeatRule::words() const {
    icalrecurrencetype rule;
    if (!readRule(m_text, rule)) return m_text;
    static const char* const units[] = {"day", "week", "month", "year"};
    const int unit = rule.freq - ICAL_DAILY_RECURRENCE;
    if (unit < 0 || unit > 3) return m_text;
    std::string out = rule.interval > 1
                          ? "Every " + std::to_string(rule.interval) + " " + units[unit] + "s"
                          : std::string("Every ") + units[unit];
    std::vector<std::string> parts;
    for (short d : entries(rule.by_day)) {
        const int pos = icalrecurrencetype_day_position(d);
        const std::string name = CReservationText::weekdayName(weekdayOf(d));
        parts.push_back(pos == 0 ? name : "the " + ordinalName(pos) + " " + name);
    }
    const std::vector<short> months = entries(rule.by_month);
    if (rule.freq == ICAL_YEARLY_RECURRENCE && !months.empty()) {
        std::vector<std::string> dates;
        for (short m : months)
            for (short d : entries(rule.by_month_day))
                dates.push_back(std::string(CReservationText::monthName(m)) + " " +
                                std::to_string(d));
        parts.insert(parts.end(), dates.begin(), dates.end());
    } else {
        for (short d : entries(rule.by_month_day))
            parts.push_back((d > 0 ? "day " + std::to_string(d) : ordinalName(d) + " day"));
    }
    if (!parts.empty()) out += " on " + joined(parts);
    if (!icaltime_is_null_time(rule.until))
        out += ", until " + shortDate(CDate(rule.until.year, rule.until.month, rule.until.day));
    return out;
}

std::string CRepeatRule::summary(const Dates& d) const {
    std::string out = words();
    const std::size_t n = d.dates.size();
    out += ", " + std::to_string(n) + (n == 1 ? " date" : " dates");
    return out;
}

} // namespace orv
