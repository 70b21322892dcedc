#include "app/CPreferenceValues.h"

namespace orv {

CPreferenceValues CPreferenceValues::fromView(const CViewSettings& view, CSettings& store) {
    CPreferenceValues v;
    v.propAttendees = view.propAttendees;
    v.showNotes = view.showNotes;
    v.refresh = view.refresh;
    v.doDBReOpen = view.doDBReOpen;
    if (view.deleteOldRes > 0) {
        v.keepDays = view.deleteOldRes;
        v.noAutoDelete = false;
    } else {
        v.keepDays = kDefaultKeepDays;
        v.noAutoDelete = true;
    }
    v.useFullDay = view.useFullDay;
    v.startHour = view.startHour;
    v.lock = view.lock;
    v.warnOldDB = view.warnOldDB;
    v.occupied = view.occupied;
    v.partiallyOccupied = view.partiallyOccupied;
    v.unoccupied = view.unoccupied;
    v.useLastGroup = store.readInt("Startup", "UseLastGroup", 0);
    v.group = store.readText("Startup", "Group");
    v.startUseLastGroup = v.useLastGroup;
    v.startGroup = v.group;
    v.historyDays = store.readInt("History", "KeepDays", CJournal::kDefaultKeepDays);
    v.startHistoryDays = v.historyDays;
    return v;
}

CApplyResult CPreferenceValues::apply(CViewSettings& view, CSettings& store) {
    CApplyResult result;
    auto step = [&](CApplyResult::Step s, int value, int& current, const char* section,
                    const char* key) {
        if (value == current) return;
        current = value;
        store.writeInt(section, key, value);
        result.mark(s);
    };
    using S = CApplyResult;
    step(S::propAttendees, propAttendees, view.propAttendees, "Reservations", "PropAttendees");
    step(S::showNotes, showNotes, view.showNotes, "Reservations", "ShowNotes");
    step(S::refresh, refresh, view.refresh, "Network", "Refresh");
    step(S::lock, lock, view.lock, "Groups", "Lock");
    step(S::doDBReOpen, doDBReOpen, view.doDBReOpen, "Network", "DoDBReOpen");
    step(S::warnOldDB, warnOldDB, view.warnOldDB, "Databases", "WarnOldDB");
    step(S::unoccupied, unoccupied, view.unoccupied, "Colors", "Unoccupied");
    step(S::occupied, occupied, view.occupied, "Colors", "Occupied");
    step(S::partiallyOccupied, partiallyOccupied, view.partiallyOccupied, "Colors",
         "Partially Occupied");
    step(S::startHour, startHour, view.startHour, "DayRes", "StartHour");
    step(S::useFullDay, useFullDay, view.useFullDay, "DayRes", "UseFullDay");
    step(S::deleteOldRes, deleteOldRes(), view.deleteOldRes, "Reservations", "DeleteOldRes");
    step(S::useLastGroup, useLastGroup, startUseLastGroup, "Startup", "UseLastGroup");
    if (group != startGroup) {
        startGroup = group;
        store.writeText("Startup", "Group", group);
        result.mark(S::group);
    }
    if (historyDays != startHistoryDays) {
        startHistoryDays = historyDays;
        store.writeInt("History", "KeepDays", historyDays);
    }
    return result;
}

} // namespace orv
