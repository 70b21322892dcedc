#include "app/CViewSettings.h"

namespace orv {
namespace {

int orDefault(int stored, int fallback) {
    return stored == -1 ? fallback : stored;
}

} // namespace

CViewSettings CViewSettings::read(CSettings& store) {
    CViewSettings s;
    s.occupied = orDefault(store.readInt("Colors", "Occupied", -1), kOccupiedDefault);
    s.unoccupied = orDefault(store.readInt("Colors", "Unoccupied", -1), kUnoccupiedDefault);
    s.partiallyOccupied =
        orDefault(store.readInt("Colors", "Partially Occupied", -1), kPartiallyOccupiedDefault);
    s.startHour = orDefault(store.readInt("Dayres", "StartHour", -1), kStartHourDefault);
    s.useFullDay = store.readInt("Dayres", "UseFullDay", 0);
    s.propAttendees = store.readInt("Reservations", "PropAttendees", 0);
    s.showNotes = store.readInt("Reservations", "ShowNotes", 0);
    s.deleteOldRes = store.readInt("Reservations", "DeleteOldRes", -1);
    s.lock = store.readInt("Groups", "Lock", 0);
    s.refresh = store.readInt("Network", "Refresh", 0);
    s.doDBReOpen = store.readInt("Network", "DoDBReOpen", 0);
    s.warnOldDB = store.readInt("Databases", "WarnOldDB", 1);
    return s;
}

} // namespace orv
