#pragma once
// Where the main view puts its title and item boxes, from two text metrics of the surface it
// draws on. Plain integers, so that the screen, the printer and the tests share one answer.
//
//   CViewLayout layout(fm.height() + fm.leading(), fm.averageCharWidth());
//   CRect box = layout.boxRect(i);            // also the item's hit rectangle
//   int x = layout.titleX(count, titleWidth);

#include "displays/CViewExtent.h"
#include "group/CRect.h"

#include <string>

namespace orv {

class CViewLayout {
public:
    static constexpr int kColumns = 3;
    // Extent of a view that has not drawn yet, so has no metrics.
    static constexpr CViewExtent kInitialExtent{100, 100};

    // `lineHeight`: character height plus external leading; `avgWidth`: average character width.
    CViewLayout(int lineHeight, int avgWidth) : m_lineHeight(lineHeight), m_avgWidth(avgWidth) {}

    int lineHeight() const { return m_lineHeight; }
    int avgWidth() const { return m_avgWidth; }
    int boxWidth() const { return 22 * m_avgWidth; }
    int boxHeight() const { return 4 * m_lineHeight; }
    int leftMargin() const { return 3 * m_avgWidth; }
    int columnGap() const { return 5 * m_avgWidth; }
    int top() const { return 3 * m_lineHeight; }
    int rowGap() const { return m_lineHeight + m_lineHeight / 2; }

    // The box of item `index`: three to a row, in item order.
    CRect boxRect(int index) const;
    // Left edge of the title of a group of `itemCount` items whose title is `titleWidth` wide.
    int titleX(int itemCount, int titleWidth) const;
    int titleY() const { return m_lineHeight; }
    // Scrollable size for `itemCount` items; a full last row still leaves one row of space.
    CViewExtent extent(int itemCount) const;

    // Left edge of a text `textWidth` wide, centred in `box`.
    int centredX(const CRect& box, int textWidth) const;
    // Top of text line `line` of a box: 0 the name, 1 the occupancy, 2 the current use.
    int textY(const CRect& box, int line) const;

    // "1 Room - Description  (click item for reservations)", or with the count and a plural.
    static std::string titleText(int itemCount, const std::string& kindUpper,
                                 const std::string& description);
    // "Occupancy %3d"; empty for an occupancy of 0.
    static std::string occupancyText(int occupancy);

private:
    int m_lineHeight;
    int m_avgWidth;
};

} // namespace orv
