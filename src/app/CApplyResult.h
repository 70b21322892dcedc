#pragma once
// Which steps of applying the preferences wrote a value. Steps, in their order:
//  1 PropAttendees   2 ShowNotes   3 Refresh   4 Lock   5 DoDBReOpen   6 WarnOldDB
//  7 Unoccupied      8 Occupied    9 Partially Occupied   10 StartHour  11 UseFullDay
// 12 DeleteOldRes   13 UseLastGroup   14 Group

namespace orv {

struct CApplyResult {
    enum Step {
        propAttendees = 1,
        showNotes,
        refresh,
        lock,
        doDBReOpen,
        warnOldDB,
        unoccupied,
        occupied,
        partiallyOccupied,
        startHour,
        useFullDay,
        deleteOldRes,
        useLastGroup,
        group
    };

    unsigned steps = 0; // bit n set: step n wrote

    bool wrote(Step step) const { return (steps >> step) & 1u; }
    bool wroteAny() const { return steps != 0; }
    // The main view draws again at once (steps 1 to 5 and 7 to 12).
    bool needsRedraw() const { return (steps & 0b1'1111'1011'1110u) != 0; }
    // The view hands its document settings over again (steps 1 to 5 and 12).
    bool documentSettingsChanged() const { return (steps & 0b1'0000'0011'1110u) != 0; }

    void merge(const CApplyResult& other) { steps |= other.steps; }
    void mark(Step step) { steps |= 1u << step; }
};

} // namespace orv
