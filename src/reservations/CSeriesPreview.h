#pragma once
// The preview of a series before anything is written: each date with its state, "free",
// "conflicts with <the day list line of the reservation in the way>" or "blocked out", and the
// dates the rule itself passes over. OK books the free dates (the booking checks each again
// under the schedule lock); Cancel writes nothing. The command line's --preview prints the
// same lines.

#include "group/CUserPrompt.h"
#include "reservations/CRepeatRule.h"
#include "tables/CDate.h"

#include <string>
#include <vector>

namespace orv {

class CORVSchedDoc;

// One date of a series to be booked, with its times as hhmm values.
struct CSeriesSlot {
    CDate date;
    int start = 0;
    int end = 0;
};

class CSeriesPreview : public CDialogModel {
public:
    static constexpr const char* kId = "SeriesPreview";
    static constexpr const char* kTitle = "Preview of the Series";
    static constexpr const char* kNothingFree = "No date of the series is free.";

    enum class State { free, conflict, blockedOut, skipped };
    struct Entry {
        CDate date;
        int start = 0;
        int end = 0;
        State state = State::free;
        std::string text; // the state in words
    };

    // Reads the item's records of every slot's date (no lock: the booking checks again).
    // `noDay` and `leftOut` are listed in date order among the dates, as skipped.
    CSeriesPreview(CORVSchedDoc& doc, std::string itemName, std::vector<CSeriesSlot> planned,
                   std::string summary, const std::vector<CSkippedDate>& noDay = {},
                   const std::vector<CDate>& leftOut = {});

    const char* id() const override { return kId; }
    // Refuses when nothing is free.
    bool onOk(CUserPrompt& prompt) override;

    // 0, or the failure of a read (the states are not shown then; the user was told).
    int readFailure() const { return m_failure; }
    const std::string& summary() const { return m_summary; }
    const std::vector<Entry>& entries() const { return m_entries; }
    // "12/14/2026   free", one per entry.
    std::vector<std::string> lines() const;
    std::vector<CSeriesSlot> freeSlots() const;
    // The conflicts and blockouts, as the series table keeps them.
    std::vector<CSkippedDate> refused() const;

    static std::string line(const Entry& entry);

private:
    std::string m_itemName;
    std::string m_summary;
    std::vector<Entry> m_entries;
    int m_failure = 0;
};

} // namespace orv
