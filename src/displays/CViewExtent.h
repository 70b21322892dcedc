#pragma once
// The scrollable size of a main view, in drawing coordinates.

namespace orv {

struct CViewExtent {
    int width = 0;
    int height = 0;
    friend bool operator==(const CViewExtent&, const CViewExtent&) = default;
};

} // namespace orv
