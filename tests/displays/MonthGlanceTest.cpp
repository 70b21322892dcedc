// Month at a glance: the minutes each record adds to the quarters of its day, the '*' and 'P'
// marks, the days of the month, and a click on a day.
#include "common/GroupFixture.h"
#include "displays/CDayGlance.h"
#include "displays/CMonthGlance.h"

namespace orv::test {
namespace {

using MonthGlanceTest = GroupFixture;

struct MinuteCase {
    const char* name;
    std::vector<Booking> bookings;            // each on its own day of December 2026
    std::vector<std::pair<int, int>> minutes; // quarter, minutes
    std::string marks;                        // quarters 36 to 41 of the day's line
};

TEST_F(MonthGlanceTest, EachRecordAddsItsMinutesToTheQuartersItTouches) {
    addItems({"Lab", "Studio"});
    const std::vector<MinuteCase> cases = {
        {"both items for a whole hour",
         {{"Lab", 12, 0, 2026, 9, 0, 10, 0}, {"Studio", 12, 0, 2026, 9, 0, 10, 0}},
         {{36, 30}, {39, 30}, {40, 0}},
         "****|."},
        {"one of two items", {{"Lab", 12, 0, 2026, 9, 0, 10, 0}}, {{36, 15}, {40, 0}}, "PPPP|."},
        {"inside one quarter", {{"Lab", 12, 0, 2026, 9, 5, 9, 10}}, {{36, 5}, {37, 0}}, "P...|."},
        {"across a full hour",
         {{"Lab", 12, 0, 2026, 9, 50, 10, 5}},
         {{38, 0}, {39, 10}, {40, 5}},
         "|..PP."},
        {"one item twice over",
         {{"Lab", 12, 0, 2026, 9, 0, 9, 30},
          {"Lab", 12, 0, 2026, 9, 15, 9, 45},
          {"Studio", 12, 0, 2026, 9, 0, 9, 45}},
         {{36, 30}, {37, 45}, {38, 30}},
         "*P*.|."},
        {"a blockout counts",
         {{"Lab", 12, 0, 2026, 9, 0, 9, 15, "", "", "", "", true},
          {"Studio", 12, 0, 2026, 9, 0, 9, 15}},
         {{36, 30}},
         "*...|."},
        {"terminated in its first minute",
         {{"Lab", 12, 0, 2026, 9, 0, 9, 0}},
         {{35, 0}, {36, 0}},
         "|...|."},
        {"to the end of the day", {{"Lab", 12, 0, 2026, 23, 45, 23, 59}}, {{95, 14}}, "|...|."},
    };
    for (std::size_t i = 0; i < cases.size(); ++i)
        for (Booking b : cases[i].bookings) {
            b.day = static_cast<int>(i) + 1;
            reserve(b);
        }
    // Neighbouring months stay out.
    reserve({"Lab", 11, 30, 2026, 9, 0, 10, 0});
    reserve({"Lab", 1, 1, 2027, 9, 0, 10, 0});

    CMonthGlance glance(*doc, 255, 65535, {});
    ASSERT_EQ(glance.month(), 12);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const MinuteCase& c = cases[i];
        const int day = static_cast<int>(i) + 1;
        for (const auto& [quarter, minutes] : c.minutes)
            EXPECT_EQ(glance.minutes(day, quarter), minutes) << c.name << ", quarter " << quarter;
        const std::string& line = glance.lines().at(static_cast<std::size_t>(day));
        EXPECT_EQ(line.substr(0, 5), (day < 10 ? "  " : " ") + std::to_string(day) + "  ")
            << c.name;
        EXPECT_EQ(line.substr(5 + 36, 6), c.marks) << c.name;
    }
    for (int day = 10; day <= 31; ++day)
        EXPECT_EQ(glance.lines().at(static_cast<std::size_t>(day)).find_first_of("*P"),
                  std::string::npos)
            << day;
}

TEST_F(MonthGlanceTest, EachDayOfTheMonthHasALineBetweenTwoHeadings) {
    const struct {
        int month, year, days;
    } months[] = {{2, 2028, 29}, {2, 2026, 28}, {2, 2100, 28},
                  {2, 2000, 29}, {4, 2026, 30}, {12, 2026, 31}};
    const std::string header = "Day  M...1...2...3...4...5...6...7...8...9..10..11...N...1...2..."
                               "3...4...5...6...7...8...9..10..11...M";
    for (const auto& m : months) {
        CMonthGlance glance(*doc, 255, 65535, {}, m.month, m.year);
        ASSERT_EQ(glance.lines().size(), static_cast<std::size_t>(m.days) + 2) << m.year;
        EXPECT_EQ(glance.lines().front(), header);
        EXPECT_EQ(glance.lines().back(), header);
        EXPECT_EQ(glance.lines()[static_cast<std::size_t>(m.days)].substr(0, 5),
                  " " + std::to_string(m.days) + "  ");
    }
    CMonthGlance december(*doc, 255, 65535, {});
    EXPECT_EQ(december.monthText(), "December, 2026");
}

TEST_F(MonthGlanceTest, ADayLineOpensThatDaysWholeDayOverviewAndTheMonthCountsAgainAfterAChange) {
    addItems({"Lab"});
    bool saysChanged = false;
    int hour = 13;
    CMonthGlance glance(*doc, 255, 65535, [&](int, int month, int day, int year) {
        reserve({"Lab", month, day, year, hour, 0, hour + 1, 0});
        return CItemDayOutcome{false, saysChanged, month, day, year};
    });
    EXPECT_FALSE(glance.openLine(0));
    EXPECT_FALSE(glance.openLine(32));
    EXPECT_TRUE(prompt.dialogsShown.empty()) << "the headings open nothing";

    const auto clickLab = [&](CDialogModel& d) {
        auto& day = dynamic_cast<CDayGlance&>(d);
        EXPECT_EQ(day.form(), CDayGlance::Form::allDay);
        EXPECT_EQ(day.dateText(), "Thursday, December 17, 2026");
        day.openLine(1);
        return true;
    };
    // A day list that changed nothing leaves the month as counted.
    prompt.dialogSteps.push_back(clickLab);
    EXPECT_FALSE(glance.openLine(17));
    EXPECT_EQ(glance.minutes(17, 52), 0);

    saysChanged = true;
    hour = 15;
    prompt.dialogSteps.push_back(clickLab);
    EXPECT_TRUE(glance.openLine(17));
    EXPECT_EQ(glance.minutes(17, 52), 15);
    EXPECT_EQ(glance.minutes(17, 60), 15);
    EXPECT_EQ(prompt.dialogsShown, (std::vector<std::string>{"DayGlance", "DayGlance"}));
}

} // namespace
} // namespace orv::test
