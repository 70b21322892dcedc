#pragma once
// The values a group file holds, as plain data. CGroupFile reads and writes them; the group
// document keeps them while the group is open.

#include "group/CRect.h"
#include "tables/CRoom.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace orv {

struct CGroupFileData {
    std::string description;
    // Kind word as typed ("Room"); CGroupNames gives its two display forms.
    std::string kindWord;
    std::vector<CRoom> items;
    // Set by reading when the header carries the new-format mark (items have default lengths).
    // Writing always produces the new format, whatever this says.
    bool newFormat = false;
    // Written as 0 by us; values found in a file are carried unchanged.
    std::array<std::int32_t, 2> reserved{};
    CRect window;
    // Bare name of another group's people file in the group's folder; empty when the group
    // owns its people file.
    std::string peopleFileName;
    // Set by reading: one text for each item whose name was longer than the tables can hold and
    // was cut to fit (the reservations of that item are stored under the cut name).
    std::vector<std::string> cutNames;
};

} // namespace orv
