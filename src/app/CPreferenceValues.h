#pragma once
// The values of the Preferences pages, apart from their widgets: taken from the view's current
// settings and the store when the sheet opens, and applied step by step, each only when it
// differs from the view's current value.

#include "app/CApplyResult.h"
#include "app/CViewSettings.h"
#include "tables/CJournal.h"

#include <string>

namespace orv {

struct CPreferenceValues {
    static constexpr int kDefaultKeepDays = 30;

    int propAttendees = 0;
    int showNotes = 0;
    int refresh = 0;
    int doDBReOpen = 0;
    int keepDays = kDefaultKeepDays;
    bool noAutoDelete = true; // "Do not automatically delete old reservations"
    int historyDays = CJournal::kDefaultKeepDays; // the history compress keeps; 0: all of it
    int useFullDay = 0;
    int startHour = CViewSettings::kStartHourDefault;
    int useLastGroup = 0;
    std::string group; // "Always open the following group"
    int lock = 0;
    int warnOldDB = 1;
    int occupied = CViewSettings::kOccupiedDefault;
    int partiallyOccupied = CViewSettings::kPartiallyOccupiedDefault;
    int unoccupied = CViewSettings::kUnoccupiedDefault;

    // What the start-up page began with; steps 13 and 14 compare against these.
    int startUseLastGroup = 0;
    std::string startGroup;
    int startHistoryDays = CJournal::kDefaultKeepDays;

    // The values a freshly opened sheet shows.
    static CPreferenceValues fromView(const CViewSettings& view, CSettings& store);

    // The stored "DeleteOldRes" for these values: -1 when old reservations are kept.
    int deleteOldRes() const { return noAutoDelete ? -1 : keepDays; }

    // Updates the view's current value first, then writes the store, for every value that
    // differs; afterwards the start-up values count as the new starting point.
    CApplyResult apply(CViewSettings& view, CSettings& store);
};

} // namespace orv
