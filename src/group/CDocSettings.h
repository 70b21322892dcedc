#pragma once
// The preferences the main view hands to its group document.

namespace orv {

struct CDocSettings {
    int propAttendees = 0; // "Reservations"/"PropAttendees"
    int showNotes = 0;     // "Reservations"/"ShowNotes"
    int refresh = 0;       // "Network"/"Refresh"
    int doDBReOpen = 0;    // "Network"/"DoDBReOpen"
    int lock = 0;          // "Groups"/"Lock"
    int deleteOldRes = 0;  // "Reservations"/"DeleteOldRes": days to keep; 0 or below keeps all
};

} // namespace orv
