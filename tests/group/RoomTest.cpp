// One item: occupancy as typed and shown, copying, resetting, the current-use text.
#include "tables/CRoom.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(Room, NewItemIsEmptyWithZeros) {
    const CRoom r;
    EXPECT_EQ(r.name(), "");
    EXPECT_EQ(r.longDescription(), "");
    EXPECT_EQ(r.occupancy(), 0);
    EXPECT_EQ(r.defaultLength(), 0);
    EXPECT_FALSE(r.inUse());
    EXPECT_FALSE(r.hasDefaultLength());
    EXPECT_FALSE(r.selected());
    for (int d = 0; d < 7; ++d)
        EXPECT_EQ(r.weekdayValue(d), 0.0);
}

TEST(Room, OccupancyZeroIsShownAsAnEmptyField) {
    CRoom r;
    EXPECT_EQ(r.occupancyText(), "");
    r.setOccupancy(25);
    EXPECT_EQ(r.occupancyText(), "25");
}

TEST(Room, OccupancyTextTakesTheLeadingDigits) {
    CRoom r;
    r.setOccupancyText("12 seats");
    EXPECT_EQ(r.occupancy(), 12);
    r.setOccupancyText("007");
    EXPECT_EQ(r.occupancy(), 7);
    r.setOccupancyText(" 42");
    EXPECT_EQ(r.occupancy(), 42);
}

TEST(Room, OccupancyTextAcceptsASign) {
    CRoom r;
    r.setOccupancyText("-5");
    EXPECT_EQ(r.occupancy(), -5);
    r.setOccupancyText("+9");
    EXPECT_EQ(r.occupancy(), 9);
}

TEST(Room, OccupancyTextWithoutLeadingDigitsGivesZero) {
    CRoom r;
    r.setOccupancy(3);
    r.setOccupancyText("about 12");
    EXPECT_EQ(r.occupancy(), 0);
    r.setOccupancy(3);
    r.setOccupancyText("");
    EXPECT_EQ(r.occupancy(), 0);
    r.setOccupancyText("-");
    EXPECT_EQ(r.occupancy(), 0);
}

TEST(Room, OccupancyTextBeyondTheIntegerRangeSaturates) {
    CRoom r;
    r.setOccupancyText("99999999999");
    EXPECT_EQ(r.occupancy(), 2147483647);
    r.setOccupancyText("-99999999999");
    EXPECT_EQ(r.occupancy(), -2147483647 - 1);
}

TEST(Room, CopyTakesStoredValuesAndIntegerWorkingValuesOnly) {
    CRoom from;
    from.setName("Boardroom");
    from.setLongDescription("Projector");
    from.setOccupancy(12);
    from.setDefaultLength(60);
    from.setInUse(true);
    from.setSelected(true);
    from.setHasDefaultLength(true);
    from.setCurrentUse("Smith");
    from.setWeekdayValue(3, 0.5);

    CRoom to;
    to.setCurrentUse("Jones");
    to.setWeekdayValue(1, 0.25);
    to.copyFrom(from);
    EXPECT_EQ(to.name(), "Boardroom");
    EXPECT_EQ(to.longDescription(), "Projector");
    EXPECT_EQ(to.occupancy(), 12);
    EXPECT_EQ(to.defaultLength(), 60);
    EXPECT_TRUE(to.inUse());
    EXPECT_TRUE(to.selected());
    EXPECT_TRUE(to.hasDefaultLength());
    EXPECT_EQ(to.currentUse(), "Jones");
    EXPECT_EQ(to.weekdayValue(1), 0.25);
    EXPECT_EQ(to.weekdayValue(3), 0.0);
}

TEST(Room, ResetClearsStoredAndWorkingValues) {
    CRoom r;
    r.setName("Boardroom");
    r.setLongDescription("Projector");
    r.setOccupancy(12);
    r.setDefaultLength(60);
    r.setInUse(true);
    r.setSelected(true);
    r.setHasDefaultLength(true);
    r.setCurrentUse("Smith");
    r.setWeekdayValue(6, 1.5);
    r.reset();
    EXPECT_EQ(r.name(), "");
    EXPECT_EQ(r.longDescription(), "");
    EXPECT_EQ(r.occupancy(), 0);
    EXPECT_EQ(r.defaultLength(), 0);
    EXPECT_FALSE(r.inUse());
    EXPECT_FALSE(r.selected());
    EXPECT_FALSE(r.hasDefaultLength());
    EXPECT_EQ(r.currentUse(), "");
    EXPECT_EQ(r.weekdayValue(6), 0.0);
}

TEST(Room, CurrentUseTextIsCutTo21Characters) {
    CRoom r;
    r.setCurrentUse("Rasmussen-Oberholzer, Katharina");
    EXPECT_EQ(r.currentUse(), "Rasmussen-Oberholzer,");
}

TEST(Room, WeekdayOutsideSundayToSaturdayIsIgnored) {
    CRoom r;
    r.setWeekdayValue(7, 1.0);
    r.setWeekdayValue(-1, 1.0);
    EXPECT_EQ(r.weekdayValue(7), 0.0);
    EXPECT_EQ(r.weekdayValue(-1), 0.0);
}

} // namespace
} // namespace orv
