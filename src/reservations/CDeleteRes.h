#pragma once
// "Delete Old Reservations...": the date before which every schedule record (and attendee
// link) goes, a confirmation, the deletion and its count. Dates step by calendar days.

#include "group/CUserPrompt.h"
#include "tables/CDate.h"

namespace orv {

class CORVSchedDoc;

class CDeleteRes : public CDialogModel {
public:
    static constexpr const char* kId = "DeleteRes";
    static constexpr const char* kTitle = "Delete Old Reservations";
    static constexpr const char* kPrompt =
        "All reservations before the following date will be deleted :";
    static constexpr const char* kInFuture = "The deletion date cannot be in the future";
    static constexpr const char* kInFutureTitle = "Invalid Deletion Date";
    static constexpr const char* kConfirmTitle = "Confirm Delete";
    static constexpr const char* kDeletedTitle = "Items Deleted";
    // Days back the dialog proposes when the "DeleteOldRes" setting is negative.
    static constexpr int kDefaultDays = 31;

    // Opens `daysToKeep` calendar days before today (31 when negative, today when 0).
    explicit CDeleteRes(int daysToKeep);

    const char* id() const override { return kId; }
    // Refuses a date after today; today itself is accepted.
    bool onOk(CUserPrompt& prompt) override;

    CDate date;

    // "Are you sure you want to delete all reservations prior to %02d/%02d/%04d".
    static std::string question(const CDate& date);
    // "%d schedule items deleted", or "No reservations found before %02d/%02d/%04d, nothing
    // deleted" when nothing was.
    static std::string report(int count, const CDate& date);

    // The whole command: the dialog, the question, the deletion and its report. The count
    // deleted, or -1 when the user stopped it.
    static int run(CORVSchedDoc& doc, int daysToKeep);
};

} // namespace orv
