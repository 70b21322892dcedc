#include "reservations/CCustomRepeat.h"

#include <libical/ical.h>

namespace orv {

CCustomRepeat::CCustomRepeat(CDate first, const std::string& rule,
                             const std::vector<CDate>& leftOut)
    : exceptions(leftOut), m_first(first) {
    pattern.weekdays = {first.weekday()};
    pattern.monthDay = first.day;
    pattern.month = first.month;
    pattern.ordinalWeekday = first.weekday();
    pattern.ordinal = (first.day - 1) / 7 + 1;
    if (pattern.ordinal > 4) pattern.ordinal = -1;
    pattern.count = 10;
    if (rule.empty()) return;
    // Take the earlier rule back into the fields it was made from.
    icalerrno = ICAL_NO_ERROR;
    const icalrecurrencetype r = icalrecurrencetype_from_string(rule.c_str());
    if (icalerrno != ICAL_NO_ERROR || r.freq < ICAL_DAILY_RECURRENCE ||
        r.freq > ICAL_YEARLY_RECURRENCE)
        return;
    pattern.frequency = static_cast<CRepeatPattern::Frequency>(r.freq - ICAL_DAILY_RECURRENCE);
    pattern.interval = r.interval > 0 ? r.interval : 1;
    if (r.by_day[0] != ICAL_RECURRENCE_ARRAY_MAX) {
        if (pattern.frequency == CRepeatPattern::Frequency::weekly) {
            pattern.weekdays.clear();
            for (int i = 0; r.by_day[i] != ICAL_RECURRENCE_ARRAY_MAX; ++i)
                pattern.weekdays.push_back(icalrecurrencetype_day_day_of_week(r.by_day[i]) - 1);
        } else {
            pattern.monthlyByWeekday = true;
            pattern.ordinal = icalrecurrencetype_day_position(r.by_day[0]);
            pattern.ordinalWeekday = icalrecurrencetype_day_day_of_week(r.by_day[0]) - 1;
        }
    }
    if (r.by_month_day[0] != ICAL_RECURRENCE_ARRAY_MAX) pattern.monthDay = r.by_month_day[0];
    if (r.by_month[0] != ICAL_RECURRENCE_ARRAY_MAX) pattern.month = r.by_month[0];
    pattern.count = r.count;
    pattern.until =
        icaltime_is_null_time(r.until) ? CDate() : CDate(r.until.year, r.until.month, r.until.day);
}

std::string CCustomRepeat::summary() const {
    if (pattern.frequency == CRepeatPattern::Frequency::weekly && pattern.weekdays.empty())
        return kNoWeekday;
    CRepeatRule rule;
    CRepeatRule::Dates dates;
    std::string error;
    if (!rule.parse(pattern.text(), error) || !rule.expand(m_first, exceptions, dates, error))
        return error;
    return rule.summary(dates);
}

bool CCustomRepeat::onOk(CUserPrompt& prompt) {
    if (pattern.frequency == CRepeatPattern::Frequency::weekly && pattern.weekdays.empty()) {
        prompt.message(kNoWeekday, kTitle, PromptIcon::error);
        return false;
    }
    CRepeatRule rule;
    CRepeatRule::Dates dates;
    std::string error;
    if (!rule.parse(pattern.text(), error) || !rule.expand(m_first, exceptions, dates, error)) {
        prompt.message(error, CRepeatRule::kErrorTitle, PromptIcon::error);
        return false;
    }
    return true;
}

} // namespace orv
