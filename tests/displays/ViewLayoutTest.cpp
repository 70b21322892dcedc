// Where the main view puts its title and boxes, for metrics chosen here: a line height of 17 and
// an average character width of 7.
#include "displays/CViewLayout.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

const CViewLayout kLayout(17, 7);

TEST(ViewLayout, BoxesGoThreeToARowWithTheirGaps) {
    // Box 154 x 68, left margin 21, column gap 35, top 51, row gap 25.
    EXPECT_EQ(kLayout.boxRect(0), (CRect{21, 51, 175, 119}));
    EXPECT_EQ(kLayout.boxRect(1), (CRect{210, 51, 364, 119}));
    EXPECT_EQ(kLayout.boxRect(2), (CRect{399, 51, 553, 119}));
    EXPECT_EQ(kLayout.boxRect(3), (CRect{21, 144, 175, 212}));
    EXPECT_EQ(kLayout.boxRect(6), (CRect{21, 237, 175, 305}));
    EXPECT_EQ(kLayout.boxRect(7), (CRect{210, 237, 364, 305}));
}

TEST(ViewLayout, RowGapIsOneAndAHalfLinesRoundedDown) {
    const CViewLayout odd(15, 6);
    EXPECT_EQ(odd.rowGap(), 22);
    EXPECT_EQ(odd.boxRect(3).top - odd.boxRect(0).bottom, 22);
}

TEST(ViewLayout, TitleOfNoneOrOneItemStartsAtTheLeftMargin) {
    EXPECT_EQ(kLayout.titleX(0, 300), 21);
    EXPECT_EQ(kLayout.titleX(1, 300), 21);
    EXPECT_EQ(kLayout.titleY(), 17);
}

TEST(ViewLayout, TitleOfTwoItemsIsCentredOnTheFirstGapNotOnTheGrid) {
    // 8 x 7 + 154 - 300 / 2
    EXPECT_EQ(kLayout.titleX(2, 300), 60);
    EXPECT_EQ(kLayout.titleX(2, 301), 60);
}

TEST(ViewLayout, TitleOfThreeOrMoreItemsIsCentredOnTheMiddleColumn) {
    // 154 / 2 + 154 + 8 x 7 - 300 / 2
    EXPECT_EQ(kLayout.titleX(3, 300), 137);
    EXPECT_EQ(kLayout.titleX(7, 300), 137);
}

TEST(ViewLayout, TitleNeverStartsLeftOfOneAverageCharacter) {
    EXPECT_EQ(kLayout.titleX(3, 1000), 7);
    EXPECT_EQ(kLayout.titleX(2, 1000), 7);
}

TEST(ViewLayout, ExtentAlwaysHasRoomForOneMoreRow) {
    const int width = 3 * 154 + 2 * 35 + 21;
    EXPECT_EQ(kLayout.extent(0), (CViewExtent{width, 68 + 51}));
    EXPECT_EQ(kLayout.extent(1), (CViewExtent{width, 68 + 51}));
    EXPECT_EQ(kLayout.extent(2), (CViewExtent{width, 68 + 51}));
    EXPECT_EQ(kLayout.extent(3), (CViewExtent{width, 2 * 68 + 25 + 51}));
    EXPECT_EQ(kLayout.extent(4), (CViewExtent{width, 2 * 68 + 25 + 51}));
    EXPECT_EQ(kLayout.extent(7), (CViewExtent{width, 3 * 68 + 2 * 25 + 51}));
}

TEST(ViewLayout, BoxTextsAreCentredAndOneLineApart) {
    const CRect box = kLayout.boxRect(1);
    EXPECT_EQ(kLayout.centredX(box, 54), 210 + 50);
    EXPECT_EQ(kLayout.textY(box, 0), 51 + 8);
    EXPECT_EQ(kLayout.textY(box, 1), 51 + 8 + 17);
    EXPECT_EQ(kLayout.textY(box, 2), 51 + 8 + 34);
}

TEST(ViewLayout, TitleNamesTheCountAndThePluralKind) {
    EXPECT_EQ(CViewLayout::titleText(0, "Room", "Sample Rooms"),
              "0 Rooms - Sample Rooms  (click item for reservations)");
    EXPECT_EQ(CViewLayout::titleText(1, "Car", "Pool"),
              "1 Car - Pool  (click item for reservations)");
    EXPECT_EQ(CViewLayout::titleText(3, "Room", "Main"),
              "3 Rooms - Main  (click item for reservations)");
}

TEST(ViewLayout, OccupancyLineOnlyForANonZeroOccupancy) {
    EXPECT_EQ(CViewLayout::occupancyText(0), "");
    EXPECT_EQ(CViewLayout::occupancyText(8), "Occupancy   8");
    EXPECT_EQ(CViewLayout::occupancyText(120), "Occupancy 120");
    EXPECT_EQ(CViewLayout::occupancyText(1500), "Occupancy 1500");
}

} // namespace
} // namespace orv
