// Blockouts on the day and month overviews: their quarters stay '*' in the list lines, are
// marked apart beside them for the screen, and are named after the list on paper.
#include "common/GroupFixture.h"
#include "displays/CDayGlance.h"
#include "displays/CMonthGlance.h"

namespace orv::test {
namespace {

class GlanceBlockoutTest : public GroupFixture {};

// Positions of `c` in a text.
std::vector<int> positions(const std::string& text, char c) {
    std::vector<int> at;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == c) at.push_back(static_cast<int>(i));
    return at;
}

TEST_F(GlanceBlockoutTest, BlockedQuartersAreMarkedApartOnScreenAndListedAfterTheLinesOnPaper) {
    addItems({"Lab", "Studio"});
    Booking blocked{"Studio", 12, 8, 2026, 9, 0, 10, 0};
    blocked.blockout = true;
    reserveAll({{"Lab", 12, 8, 2026, 9, 0, 10, 0}, blocked});

    CDayGlance day(*doc, CDayGlance::Form::allDay, 255, 0, {}, 12, 8, 2026);
    const std::vector<std::string>& lines = day.lines();
    ASSERT_EQ(lines.size(), 4u);
    ASSERT_EQ(day.blockoutMarks().size(), lines.size());
    // Both lines are reserved alike: 09:00-10:00 is positions 22 + 36 to 22 + 39.
    const std::vector<int> hour = {58, 59, 60, 61};
    EXPECT_EQ(positions(lines[1], '*'), hour);
    EXPECT_EQ(positions(lines[2], '*'), hour);
    EXPECT_EQ(positions(day.blockoutMarks()[1], 'B'), std::vector<int>{}) << "a reservation";
    EXPECT_EQ(positions(day.blockoutMarks()[2], 'B'), hour) << "the blockout";
    for (std::size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(day.blockoutMarks()[i].size(), lines[i].size());

    const std::vector<std::string> dayPrinted = day.printRequest().lines;
    std::vector<std::string> expected = lines;
    expected.insert(expected.end(),
                    {"", "Blocked out:", "  Studio                9:00 AM - 10:00 AM"});
    EXPECT_EQ(dayPrinted, expected);

    CMonthGlance month(*doc, 255, 65535, {}, 12, 2026);
    const std::vector<std::string>& days = month.lines();
    ASSERT_EQ(month.blockoutMarks().size(), days.size());
    // Day 8 is line 8; its quarters start at character 5.
    const std::vector<int> monthHour = {41, 42, 43, 44};
    EXPECT_EQ(positions(days[8], '*'), monthHour) << "both items are taken, one by a blockout";
    EXPECT_EQ(positions(month.blockoutMarks()[8], 'B'), monthHour);
    EXPECT_EQ(positions(month.blockoutMarks()[9], 'B'), std::vector<int>{});
    std::vector<std::string> monthExpected = days;
    monthExpected.insert(monthExpected.end(),
                         {"", "Blocked out:", "  8  Studio                9:00 AM - 10:00 AM"});
    EXPECT_EQ(month.printRequest().lines, monthExpected);
}

TEST_F(GlanceBlockoutTest, WithoutBlockoutsNothingIsMarkedAndNothingFollowsTheList) {
    addItems({"Lab"});
    reserve({"Lab", 12, 8, 2026, 9, 0, 10, 0});
    CDayGlance day(*doc, CDayGlance::Form::twelveHours, 255, 6, {}, 12, 8, 2026);
    for (const std::string& marks : day.blockoutMarks())
        EXPECT_EQ(marks.find('B'), std::string::npos);
    EXPECT_EQ(day.printRequest().lines, day.lines());
    CMonthGlance month(*doc, 255, 65535, {}, 12, 2026);
    EXPECT_EQ(month.printRequest().lines, month.lines());
}

} // namespace
} // namespace orv::test
