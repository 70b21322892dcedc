#pragma once
// What an item box tells in words at a given minute, from the document's today's list: who has
// the item from when until when, else its next reservation of the day, else that it is free for
// the rest of the day. The main view shows it as the box's tooltip and in the status bar; the
// legend names the two box colours.
//
// Stored Windows-1252 text in, stored text out (the label comes from the schedule).

#include "tables/_SCHEDITEM.h"

#include <string>
#include <vector>

namespace orv {

class CItemStateText {
public:
    static constexpr const char* kLegendInUse = "In use";
    static constexpr const char* kLegendFree = "Free";

    // "Boardroom: in use by Smith from 9:00 AM until 10:00 AM",
    // "Boardroom: blocked out from 9:00 AM until 10:00 AM",
    // "Boardroom: free until 2:00 PM, then reserved by Jones until 3:00 PM",
    // "Boardroom: free until 2:00 PM, then blocked out until 3:00 PM",
    // "Boardroom: free for the rest of the day".
    // `hhmm` is the minute (hour * 100 + minute); an entry covers it when start <= hhmm < end,
    // and the first covering entry of the list wins, as for the box's colour.
    static std::string describe(const std::string& itemName, int itemIndex,
                                const std::vector<_SCHEDITEM>& today, int hhmm);
    // "9:00 AM", "12:30 PM", "12:00 AM" for midnight.
    static std::string shortTime(int hour, int minute);
};

} // namespace orv
