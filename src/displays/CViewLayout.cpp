#include "displays/CViewLayout.h"

#include <algorithm>
#include <cstdio>

namespace orv {

CRect CViewLayout::boxRect(int index) const {
    const int row = index / kColumns;
    const int column = index % kColumns;
    CRect r;
    r.left = leftMargin() + column * (boxWidth() + columnGap());
    r.top = top() + row * (boxHeight() + rowGap());
    r.right = r.left + boxWidth();
    r.bottom = r.top + boxHeight();
    return r;
}

int CViewLayout::titleX(int itemCount, int titleWidth) const {
    int x = leftMargin();
    if (itemCount == 2)
        x = 8 * m_avgWidth + boxWidth() - titleWidth / 2;
    else if (itemCount >= 3)
        x = boxWidth() / 2 + boxWidth() + 8 * m_avgWidth - titleWidth / 2;
    return std::max(x, m_avgWidth);
}

CViewExtent CViewLayout::extent(int itemCount) const {
    const int rows = itemCount / kColumns;
    return {kColumns * boxWidth() + (kColumns - 1) * columnGap() + leftMargin(),
            (rows + 1) * boxHeight() + rows * rowGap() + top()};
}

int CViewLayout::centredX(const CRect& box, int textWidth) const {
    return box.left + (boxWidth() - textWidth) / 2;
}

int CViewLayout::textY(const CRect& box, int line) const {
    return box.top + m_lineHeight / 2 + line * m_lineHeight;
}

std::string CViewLayout::titleText(int itemCount, const std::string& kindUpper,
                                   const std::string& description) {
    const char* const tail = "(click item for reservations)";
    if (itemCount == 1) return "1 " + kindUpper + " - " + description + "  " + tail;
    return std::to_string(itemCount) + " " + kindUpper + "s - " + description + "  " + tail;
}

std::string CViewLayout::occupancyText(int occupancy) {
    if (occupancy == 0) return {};
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "Occupancy %3d", occupancy);
    return buffer;
}

} // namespace orv
