// Day at a glance: which quarters each form marks, the headings, the start hour, and the reload
// after an item's day list was opened from a line.
#include "common/GroupFixture.h"
#include "displays/CDayGlance.h"
#include "tables/CFieldText.h"

#include <array>
#include <set>

namespace orv::test {
namespace {

constexpr const char* kRuler = "M...1...2...3...4...5...6...7...8...9..10..11...N...1...2...3..."
                               "4...5...6...7...8...9..10..11...M";

class DayGlanceTest : public GroupFixture {
protected:
    // Quarter positions (0-96 of the whole day) shown as '*' on an item's line.
    static std::set<int> marked(const std::string& line, int firstPosition) {
        std::set<int> quarters;
        for (std::size_t i = 22; i < line.size(); ++i)
            if (line[i] == '*') quarters.insert(firstPosition + static_cast<int>(i) - 22);
        return quarters;
    }
    static std::set<int> range(int from, int to) {
        std::set<int> s;
        for (int q = from; q <= to; ++q)
            s.insert(q);
        return s;
    }
};

struct CellCase {
    const char* name;
    int startHour; // -1: the whole day
    std::vector<std::array<int, 4>> times;
    std::set<int> quarters;
};

TEST_F(DayGlanceTest, EachFormMarksTheQuartersFromTheStartMarkToTheEndMark) {
    const std::vector<CellCase> cases = {
        {"a whole hour", -1, {{9, 0, 10, 0}}, {36, 37, 38, 39}},
        {"start rounded down, end rounded up", -1, {{9, 5, 9, 20}}, {36, 37}},
        {"ending at midnight (stored 23:59)", -1, {{23, 0, 23, 59}}, {92, 93, 94, 95}},
        {"overlapping reservations of one item",
         -1,
         {{9, 0, 10, 0}, {9, 30, 11, 0}},
         {36, 37, 38, 39, 40, 41, 42, 43}},
        {"ends inside the twelve hours", 6, {{5, 0, 7, 0}}, {24, 25, 26, 27}},
        {"ends where the twelve hours begin", 6, {{5, 0, 6, 0}}, {}},
        {"ends in the first hour of the twelve", 6, {{5, 0, 6, 45}}, {24, 25, 26}},
        {"starts before and ends after the twelve hours", 6, {{4, 0, 19, 0}}, range(24, 72)},
        {"runs past the end of the twelve hours", 6, {{17, 30, 19, 0}}, {70, 71, 72}},
        {"starts where the twelve hours end", 6, {{18, 0, 19, 0}}, {}},
        {"the afternoon from noon", 12, {{12, 0, 12, 30}, {23, 45, 23, 59}}, {48, 49, 95}},
    };
    std::vector<Booking> bookings;
    std::vector<std::string> names;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        names.push_back("Room " + std::to_string(i));
        for (const auto& t : cases[i].times)
            bookings.push_back({names.back(), 12, 8, 2026, t[0], t[1], t[2], t[3]});
    }
    addItems(names);
    reserveAll(bookings);
    // A reservation on the next day shows on no line.
    reserve({"Room 0", 12, 9, 2026, 9, 0, 12, 0});

    for (std::size_t i = 0; i < cases.size(); ++i) {
        const CellCase& c = cases[i];
        const bool allDay = c.startHour < 0;
        CDayGlance glance(*doc, allDay ? CDayGlance::Form::allDay : CDayGlance::Form::twelveHours,
                          255, allDay ? 0 : c.startHour, {});
        const std::string& line = glance.lines().at(i + 1);
        EXPECT_EQ(line.substr(0, 22), CFieldText::padRight(names[i], 22)) << c.name;
        EXPECT_EQ(line.size(), 22u + (allDay ? 97 : 49)) << c.name;
        EXPECT_EQ(marked(line, allDay ? 0 : 4 * c.startHour), c.quarters) << c.name;
    }
}

TEST_F(DayGlanceTest, HeadingsFrameTheItemLinesAndTheTypedStartHourStaysInsideItsRange) {
    CDayGlance empty(*doc, CDayGlance::Form::twelveHours, 255, 6, {});
    EXPECT_EQ(empty.lines(), std::vector<std::string>(2, std::string(22, ' ') +
                                                             std::string(kRuler).substr(24, 49)));
    addItems({"Lab"});
    CDayGlance allDay(*doc, CDayGlance::Form::allDay, 255, 6, {});
    const std::string header = "--Name--              " + std::string(kRuler);
    ASSERT_EQ(allDay.lines().size(), 3u);
    EXPECT_EQ(allDay.lines()[0], header);
    std::string emptyLine = "|";
    for (int hour = 0; hour < 24; ++hour)
        emptyLine += "...|";
    EXPECT_EQ(allDay.lines()[1], "Lab                   " + emptyLine);
    EXPECT_EQ(allDay.lines()[2], header);
    EXPECT_EQ(allDay.dateText(), "Tuesday, December 08, 2026");

    CDayGlance glance(*doc, CDayGlance::Form::twelveHours, 255, 6, {});
    const struct {
        const char* text;
        int hourAfter;
        const char* message;
    } typed[] = {{"13", 6, "Enter an integer between 0 and 12."},
                 {"8x", 6, "Enter an integer."},
                 {" 12", 12, nullptr}};
    for (const auto& t : typed) {
        prompt.messages.clear();
        EXPECT_EQ(glance.typeStartHour(t.text, prompt), t.message == nullptr) << t.text;
        EXPECT_EQ(glance.startHour(), t.hourAfter) << t.text;
        const std::vector<RecordedMessage> expected =
            t.message ? std::vector<RecordedMessage>{{t.message, kAppTitle, PromptIcon::warning}}
                      : std::vector<RecordedMessage>{};
        EXPECT_EQ(prompt.messages, expected) << t.text;
    }
    EXPECT_STREQ(glance.hourLabel(), "PM");
    EXPECT_EQ(glance.lines()[0],
              std::string(22, ' ') + "N...1...2...3...4...5...6...7...8...9..10..11...M");
    glance.stepStartHour(1);
    EXPECT_EQ(glance.startHour(), 12);
}

TEST_F(DayGlanceTest, AnItemLineOpensItsDayListAndTheOverviewReloadsWhenThatChangedSomething) {
    addItems({"Lab", "Studio"});
    const struct {
        const char* name;
        bool ok, changed;
        int dayAtTheEnd;
        bool reloads;
    } cases[] = {{"OK after a change", true, true, 8, true},
                 {"Cancel after a change", false, true, 8, true},
                 {"OK after another date was shown", true, false, 9, true},
                 {"Cancel after another date was shown", false, false, 9, false},
                 {"OK without a change", true, false, 8, false}};
    int hour = 8;
    for (const auto& c : cases) {
        std::vector<std::array<int, 4>> calls;
        const int booked = hour++;
        CDayGlance glance(*doc, CDayGlance::Form::allDay, 255, 0,
                          [&](int item, int m, int d, int y) {
                              calls.push_back({item, m, d, y});
                              // What the day list wrote, whatever it says about it.
                              reserve({"Studio", m, d, y, booked, 0, booked + 1, 0});
                              return CItemDayOutcome{c.ok, c.changed, 12, c.dayAtTheEnd, 2026};
                          });
        EXPECT_FALSE(glance.openLine(0) || glance.openLine(3)) << "headings open nothing";
        EXPECT_EQ(glance.openLine(2), c.reloads) << c.name;
        EXPECT_EQ(calls, (std::vector<std::array<int, 4>>{{1, 12, 8, 2026}})) << c.name;
        EXPECT_EQ(glance.lines()[2][22 + 4 * booked] == '*', c.reloads) << c.name;
        EXPECT_EQ(glance.changedSomething(), c.changed) << c.name;
    }
}

} // namespace
} // namespace orv::test
