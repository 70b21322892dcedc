#pragma once
// The settings a group's main view reads when it is created and keeps as its current values.
// The stored -1 of the colours and of the starting hour stands for the default.

#include "group/CSettings.h"

namespace orv {

struct CViewSettings {
    static constexpr int kOccupiedDefault = 255;            // red
    static constexpr int kUnoccupiedDefault = 38600;        // (200, 150, 0)
    static constexpr int kPartiallyOccupiedDefault = 65535; // yellow
    static constexpr int kStartHourDefault = 6;

    int propAttendees = 0;
    int showNotes = 0;
    int refresh = 0;
    int lock = 0;
    int doDBReOpen = 0;
    int warnOldDB = 1;
    int unoccupied = kUnoccupiedDefault;
    int occupied = kOccupiedDefault;
    int partiallyOccupied = kPartiallyOccupiedDefault;
    int startHour = kStartHourDefault;
    int useFullDay = 0;
    int deleteOldRes = -1; // days to keep old reservations; 0 or below: never delete

    // Every value from the store, missing ones and the -1 defaults replaced.
    static CViewSettings read(CSettings& store);

    bool operator==(const CViewSettings&) const = default;
};

} // namespace orv
