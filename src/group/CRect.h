#pragma once
// A rectangle in window coordinates: the saved window of a group and the items' hit areas.
// Plain integers so that logic and the group file need no windowing toolkit.

#include <cstdint>

namespace orv {

struct CRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    bool isEmpty() const { return right <= left || bottom <= top; }
    bool contains(std::int32_t x, std::int32_t y) const {
        return x >= left && x < right && y >= top && y < bottom;
    }
    friend bool operator==(const CRect&, const CRect&) = default;
};

} // namespace orv
