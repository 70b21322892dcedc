#pragma once
// "Custom Repeat": the pattern behind "Custom..." in Make Reservation. Every N days; every N
// weeks on chosen weekdays; monthly on a day or on the first to fourth or last weekday; yearly on
// a date; ending on a date or after a number of dates; dates to leave out. The one-line summary
// follows every change; OK refuses a pattern that gives no dates or too many.

#include "group/CUserPrompt.h"
#include "reservations/CRepeatRule.h"

#include <string>
#include <vector>

namespace orv {

class CCustomRepeat : public CDialogModel {
public:
    static constexpr const char* kId = "CustomRepeat";
    static constexpr const char* kTitle = "Custom Repeat";
    static constexpr const char* kNoWeekday = "Choose at least one day of the week.";

    // Starts as every week on the weekday of `first`, for ten dates; a rule set earlier (RFC
    // text of this dialog) is shown as it was when it is one of the dialog's patterns.
    CCustomRepeat(CDate first, const std::string& rule = {},
                  const std::vector<CDate>& exceptions = {});

    const char* id() const override { return kId; }
    bool onOk(CUserPrompt& prompt) override;

    CRepeatPattern pattern;
    std::vector<CDate> exceptions;
    const CDate& first() const { return m_first; }

    std::string rule() const { return pattern.text(); }
    // "Every 2 weeks on Monday and Wednesday, until 3/31/2027, 16 dates", or why there is none.
    std::string summary() const;

private:
    CDate m_first;
};

} // namespace orv
