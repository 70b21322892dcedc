#include "displays/CItemStateText.h"

#include <cstdio>

namespace orv {

std::string CItemStateText::shortTime(int hour, int minute) {
    // A reservation may end at 24:00.
    hour %= 24;
    const int shown = hour % 12 == 0 ? 12 : hour % 12;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d:%02d %s", shown, minute, hour < 12 ? "AM" : "PM");
    return buf;
}

std::string CItemStateText::describe(const std::string& itemName, int itemIndex,
                                     const std::vector<_SCHEDITEM>& today, int hhmm) {
    const _SCHEDITEM* current = nullptr;
    const _SCHEDITEM* next = nullptr;
    for (const _SCHEDITEM& e : today) {
        if (e.itemIndex != itemIndex) continue;
        const int start = e.startHour * 100 + e.startMinute;
        const int end = e.endHour * 100 + e.endMinute;
        if (start <= hhmm && hhmm < end) {
            if (!current) current = &e;
        } else if (start > hhmm && (!next || start < next->startHour * 100 + next->startMinute)) {
            next = &e;
        }
    }
    const std::string head = itemName + ": ";
    if (current) {
        const std::string span = " from " + shortTime(current->startHour, current->startMinute) +
                                 " until " + shortTime(current->endHour, current->endMinute);
        if (current->blockedOut) return head + "blocked out" + span;
        return head + "in use by " + current->label + span;
    }
    if (!next) return head + "free for the rest of the day";
    const std::string until = " until " + shortTime(next->endHour, next->endMinute);
    return head + "free until " + shortTime(next->startHour, next->startMinute) + ", then " +
           (next->blockedOut ? std::string("blocked out")
                             : "reserved by " + std::string(next->label)) +
           until;
}

} // namespace orv
