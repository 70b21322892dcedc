#pragma once
// "Cancel Part of Series": the first and last date of the members of a series to cancel.

#include "group/CUserPrompt.h"
#include "tables/CDate.h"

namespace orv {

class CCancelRangeModel : public CDialogModel {
public:
    static constexpr const char* kId = "CancelRange";
    static constexpr const char* kTitle = "Cancel Part of Series";
    static constexpr const char* kBadRange = "The last date must not be before the first date.";

    CCancelRangeModel(const CDate& first, const CDate& last) : from(first), to(last) {}

    const char* id() const override { return kId; }
    bool onOk(CUserPrompt& prompt) override {
        if (to >= from) return true;
        prompt.message(kBadRange, kTitle, PromptIcon::error);
        return false;
    }

    CDate from;
    CDate to;
};

} // namespace orv
