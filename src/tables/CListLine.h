#pragma once
// One finished line of a dialog list together with the record it stands for.

#include <string>

namespace orv {

struct CListLine {
    std::string text;       // stored Windows-1252 bytes
    long recordNumber = -1; // -1: no record stands behind the line
};

} // namespace orv
