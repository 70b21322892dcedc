#pragma once
// One entry of today's list: the compact form of one reservation or blockout of the current
// date that the group document keeps for drawing the item boxes.

#include <cstdint>

namespace orv {

struct _SCHEDITEM {
    std::int32_t itemIndex = 0; // index in the group's item list
    std::int32_t startHour = 0;
    std::int32_t startMinute = 0;
    std::int32_t endHour = 0;
    std::int32_t endMinute = 0;
    std::int32_t blockedOut = 0; // non-zero for a blockout (FLAGS bit 128)
    // The note when it is shown instead of the person, else the last name: at most 21
    // characters and a terminating zero.
    char label[22] = {};
};

} // namespace orv
