#pragma once
// View > All Reservations: the group must have a reservation at all; then the options, preset
// to the earliest reservation's date, and on OK the report.

namespace orv {

class CORVSchedDoc;

class CReservationReport {
public:
    static constexpr const char* kNoReservations = "No reservations for this group";
    static constexpr const char* kNoReservationsTitle = "No Reservations";

    // Runs the whole command through the document's prompt. False when no report was shown.
    static bool run(CORVSchedDoc& doc);
};

} // namespace orv
