#include "ScheduleLayout.h"

#include <cstdio>

namespace orv::bench {

Field4info scheduleFields() {
    Field4info f;
    for (const auto& spec : kScheduleFields) f.add(spec[0], 'C', std::atoi(spec[1]));
    return f;
}

Tag4info scheduleTag() {
    Tag4info t;
    t.add("SCHEDTAG", "DATE+ROOMNAME+STARTHH+STARTMM", ".NOT. DELETED()", res4unique, 0);
    return t;
}

Booking booking(long i) {
    // 96 quarter hours a day, 500 rooms, then the next day.
    long slot = i % 96;
    long room = (i / 96) % 500;
    long day = i / (96 * 500);
    int y = 2026 + static_cast<int>(day / 336);
    int m = 1 + static_cast<int>((day / 28) % 12);
    int d = 1 + static_cast<int>(day % 28);
    char buf[64];
    Booking b;
    std::snprintf(buf, sizeof buf, "%04d%02d%02d", y, m, d);
    b.date = buf;
    std::snprintf(buf, sizeof buf, "Room %03ld", room);
    b.room = buf;
    std::snprintf(buf, sizeof buf, "%02ld", slot / 4);
    b.hh = buf;
    std::snprintf(buf, sizeof buf, "%02ld", (slot % 4) * 15);
    b.mm = buf;
    std::snprintf(buf, sizeof buf, "%02ld", (slot / 4 + 1) % 24);
    b.ehh = buf;
    b.emm = b.mm;
    std::snprintf(buf, sizeof buf, "Person%05ld", i % 99991);
    b.last = buf;
    b.first = "Pat";
    return b;
}

std::string bookingKey(const Booking& b) {
    std::string room = b.room;
    room.resize(20, ' ');
    return b.date + room + b.hh + b.mm;
}

void assignBooking(Data4* d, const Booking& b) {
    f4assign(d4fieldJ(d, 1), b.date);
    f4assign(d4fieldJ(d, 2), b.room);
    f4assign(d4fieldJ(d, 3), b.hh);
    f4assign(d4fieldJ(d, 4), b.mm);
    f4assign(d4fieldJ(d, 5), b.ehh);
    f4assign(d4fieldJ(d, 6), b.emm);
    f4assign(d4fieldJ(d, 7), b.last);
    f4assign(d4fieldJ(d, 8), b.first);
    f4assign(d4fieldJ(d, 11), "Weekly planning");
    f4assign(d4fieldJ(d, 12), "20261208");
    f4assign(d4fieldJ(d, 13), "0930");
    f4assign(d4fieldJ(d, 14), "000");
    f4assign(d4fieldJ(d, 15), "00000");
    f4assign(d4fieldJ(d, 16), "00000000");
}

} // namespace orv::bench
