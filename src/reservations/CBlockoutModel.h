#pragma once
// "Block Reservations for a Specified Date": closes some items (or every item) for a span of one
// date. Each blocked item gets one schedule record with the blockout flag, reserved for
// "Blocked" "Out", which every list and overlap check treats like a reservation.
//
// The overlap scan and every append of one OK run under the schedule table's whole-table lock,
// taken once and released once: nobody can book a blocked item between two appends.

#include "group/CUserPrompt.h"
#include "tables/CDate.h"

#include <set>
#include <string>
#include <vector>

namespace orv {

class CORVSchedDoc;
class CScheduleRecord;

class CBlockoutModel : public CDialogModel {
public:
    static constexpr const char* kId = "Blockout";
    static constexpr const char* kTitle = "Block Reservations for a Specified Date";
    static constexpr const char* kExplanation =
        "You can specify only certain items to be blocked. If no items are selected, all items "
        "will be blocked for the date specified.";
    static constexpr const char* kEndNotAfterStart =
        "Blockout end time must be greater than start time";
    static constexpr const char* kErrorTitle = "Blockout Error";
    static constexpr const char* kOverlap =
        "A reservation already exists in the requested blockout time, blockout cancelled. Either "
        "adjust the blockout time, cancel the existing reservation(s), or do not block out the "
        "conflicting items.";
    static constexpr const char* kNotChecked =
        "The reservation database could not be locked and checked, blockout cancelled. Please "
        "try again.";
    static constexpr const char* kBlocked = "The requested time has been blocked out.";
    static constexpr const char* kBlockedTitle = "Blockout Sucessful";
    static constexpr const char* kLastName = "Out";
    static constexpr const char* kFirstName = "Blocked";
    static constexpr const char* kNote = "Blocked Out";

    // Opens on tomorrow, 00:00 to 23:59, nothing selected.
    explicit CBlockoutModel(CORVSchedDoc& doc);

    const char* id() const override { return kId; }
    bool onOk(CUserPrompt&) override { return block(); }

    // The group's item names in item order.
    const std::vector<std::string>& itemNames() const { return m_itemNames; }

    // The values of the dialog.
    CDate date;
    int startHour = 0, startMinute = 0;
    int endHour = 23, endMinute = 59;
    std::set<int> selected; // indices in item order; none: every item

    // OK: true when every target was blocked (the dialog closes), false after a message.
    bool block();
    // The items the last OK blocked.
    const std::vector<std::string>& blocked() const { return m_blocked; }

    // The blockout record of one item, made at the clock's present minute.
    static CScheduleRecord blockoutRecord(const CDate& date, int startHour, int startMinute,
                                          int endHour, int endMinute, const std::string& item);

private:
    // Looks for a record of the date that overlaps the span among the records of the `counted`
    // items (none: every record). 0, 1 when one overlaps, or the engine's failure.
    int scan(const std::vector<std::string>& counted) const;

    CORVSchedDoc& m_doc;
    std::vector<std::string> m_itemNames;
    std::vector<std::string> m_blocked;
};

} // namespace orv
