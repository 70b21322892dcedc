// The utilization report: the entry check, the options and their refusals, the available time of
// each weekday, and a hand-computed report with and without a window of hours (a reservation
// clipped at either end of it), from a range starting mid-week and for chosen items.
#include "common/GroupFixture.h"
#include "reports/CUtilizationOptions.h"
#include "reports/CUtilizationReport.h"

namespace orv::test {
namespace {

constexpr const char* kColumns =
    "Name                 Sun   Mon   Tue   Wed   Thur  Fri   Sat    Weekly Avg    Mon-Fri Avg";

class UtilizationTest : public GroupFixture {
protected:
    // Runs View > Utilization with these options; the report's lines (none when it was not shown).
    std::vector<std::string> report(std::function<void(CUtilizationOptions&)> choose,
                                    int startHour = 6) {
        std::vector<std::string> lines;
        prompt.fill<CUtilizationOptions>(std::move(choose));
        prompt.fill<CUtilizationReport>([&lines](CUtilizationReport& r) { lines = r.lines(); });
        CUtilizationReport::run(*doc, startHour);
        return lines;
    }
    static std::function<void(CUtilizationOptions&)>
    range(CDate from, CDate to, std::set<int> items = {}, int ws = -1, int we = -1) {
        return [=](CUtilizationOptions& o) {
            o.startDate = from;
            o.startSeconds = 0;
            o.endDate = to;
            o.endSeconds = 0;
            o.selectedItems = items;
            o.window = ws >= 0;
            if (o.window) {
                o.startPickerHour = ws;
                o.endPickerHour = we;
            }
        };
    }
};

TEST_F(UtilizationTest, NoReportWithoutReservationsOrWithARecordOfAnImpossibleDate) {
    addItems({"Lab"});
    EXPECT_TRUE(report(range({2026, 12, 1}, {2026, 12, 8})).empty());
    EXPECT_EQ(prompt.messages,
              std::vector<RecordedMessage>{
                  info("No reservations for this group, utilization is 0", "No Reservations")});
    EXPECT_TRUE(prompt.dialogsShown.empty());

    prompt.messages.clear();
    reserve({"Lab", 12, 1, 2026, 9, 0, 10, 0});
    reserve({"Lab", 13, 2, 2026, 9, 0, 10, 0});
    EXPECT_TRUE(report(range({2026, 12, 1}, {2026, 12, 8})).empty());
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].title, "Utilization Error");
    EXPECT_EQ(prompt.messages[0].icon, PromptIcon::error);
    EXPECT_NE(prompt.messages[0].text.find("20261302"), std::string::npos)
        << prompt.messages[0].text;
}

TEST_F(UtilizationTest, OptionsArePresetFromTheEarliestReservationAndCheckHoursThenDates) {
    addItems({"Lab"});
    reserve({"Lab", 11, 2, 2026, 9, 0, 10, 0});
    CUtilizationOptions o(*doc, {2026, 11, 2}, 12);
    EXPECT_EQ(o.startDate, CDate(2026, 11, 2));
    EXPECT_EQ(o.startSeconds, 0);
    EXPECT_EQ(o.endDate, CDate(2026, 12, 8));
    EXPECT_EQ(o.endSeconds, 10 * 3600 + 30);
    EXPECT_EQ(o.startPickerHour, 12);
    EXPECT_EQ(o.endPickerHour, 0) << "12 AM, the end of the day";
    EXPECT_EQ(o.itemsLabel(), "Include Only Selected Room(s)");
    EXPECT_EQ(CUtilizationOptions(*doc, {2027, 1, 4}, 6).startSeconds, 10 * 3600 + 30)
        << "the present moment";

    struct Case {
        int ws, we;
        CDate end;
        const char* refusal;
        int windowEnd;
    } cases[] = {
        {17, 8, {2026, 12, 8}, CUtilizationOptions::kHourError, 0},
        {0, 0, {2026, 12, 8}, nullptr, 24},
        {12, 0, {2026, 12, 8}, nullptr, 24},
        {8, 17, {2026, 11, 1}, CUtilizationOptions::kDateError, 0},
        {17, 8, {2026, 11, 1}, CUtilizationOptions::kHourError, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.ws) + "-" + std::to_string(c.we));
        prompt.messages.clear();
        CUtilizationOptions options(*doc, {2026, 11, 2}, 6);
        range({2026, 11, 2}, c.end, {}, c.ws, c.we)(options);
        EXPECT_EQ(options.onOk(prompt), c.refusal == nullptr);
        if (c.refusal) {
            const char* title = c.refusal == CUtilizationOptions::kHourError
                                    ? "Time Window Error"
                                    : "Utilization Dates Error";
            EXPECT_EQ(prompt.messages, std::vector<RecordedMessage>{error(c.refusal, title)});
        } else {
            EXPECT_EQ(options.criteria().endHour, c.windowEnd);
            EXPECT_TRUE(prompt.messages.empty());
        }
    }
}

TEST_F(UtilizationTest, AvailableTimeCountsWholeWeeksAndTheWeekdaysLeftOver) {
    const double d = 86400, w = 9 * 3600;
    struct Case {
        CDate from, to;
        int toSeconds;
        bool window; // 8 to 17
        CUtilizationReport::Week expected;
    };
    const Case cases[] = {
        // One Tuesday, 00:00 to 15:00: 1.625 days, only Tuesday.
        {{2026, 12, 8}, {2026, 12, 8}, 15 * 3600, false, {0, 0, d, 0, 0, 0, 0}},
        // Monday to the Sunday 13 days later: two of each.
        {{2026, 11, 30},
         {2026, 12, 13},
         0,
         false,
         {2 * d, 2 * d, 2 * d, 2 * d, 2 * d, 2 * d, 2 * d}},
        // Wednesday to the Monday 12 days later: Tuesday once.
        {{2026, 12, 2}, {2026, 12, 14}, 0, false, {2 * d, 2 * d, d, 2 * d, 2 * d, 2 * d, 2 * d}},
        // Monday to Monday: Monday twice.
        {{2026, 11, 30}, {2026, 12, 7}, 0, false, {d, 2 * d, d, d, d, d, d}},
        {{2026, 11, 30}, {2026, 12, 6}, 0, true, {w, w, w, w, w, w, w}},
    };
    for (const Case& c : cases) {
        CUtilizationCriteria criteria;
        criteria.startDate = c.from;
        criteria.endDate = c.to;
        criteria.endSeconds = c.toSeconds;
        criteria.window = c.window;
        criteria.startHour = 8;
        criteria.endHour = 17;
        EXPECT_EQ(CUtilizationReport::available(criteria), c.expected)
            << c.from.key() << "-" << c.to.key();
    }
}

TEST_F(UtilizationTest, ReportsEachItemsShareOfEachWeekdayWithAndWithoutAWindow) {
    addItems({"Lab", "Studio", "Hall"});
    reserveAll({
        {"Lab", 11, 29, 2026, 9, 0, 17, 0},                       // the Sunday before the range
        {"Lab", 11, 30, 2026, 9, 0, 12, 0},                       // Monday
        {"Lab", 12, 7, 2026, 6, 0, 18, 30},                       // Monday
        {"Lab", 12, 1, 2026, 7, 0, 19, 30},                       // Tuesday
        {"Lab", 12, 2, 2026, 0, 0, 23, 59, "", "", "", "", true}, // a blockout never counts
        {"Lab", 12, 13, 2026, 10, 0, 22, 0},                      // the last day of the range
        {"Lab", 12, 14, 2026, 9, 0, 10, 0},                       // after it
        {"Studio", 12, 5, 2026, 8, 0, 16, 0},
        {"Studio", 12, 12, 2026, 12, 0, 20, 0},
        {"Studio", 12, 8, 2026, 9, 0, 14, 30},
        {"Hall", 12, 3, 2026, 7, 0, 8, 30},
    });
    EXPECT_EQ(
        report(range({2026, 11, 30}, {2026, 12, 13})),
        (std::vector<std::string>{
            "Utilization from 11/30/2026 to 12/13/2026 ",
            " ",
            kColumns,
            "Lab                  0.25  0.32  0.26  0.00  0.00  0.00  0.00      0.12         0.12",
            "Studio               0.00  0.00  0.11  0.00  0.00  0.00  0.33      0.06         0.02",
            "Hall                 0.00  0.00  0.00  0.00  0.03  0.00  0.00      0.00         0.01",
        }));
    EXPECT_EQ(
        report(range({2026, 11, 30}, {2026, 12, 13}, {}, 8, 17)),
        (std::vector<std::string>{
            "Utilization from 11/30/2026 to 12/13/2026 for the hours of 08am to 05pm",
            " ",
            kColumns,
            "Lab                  0.39  0.67  0.50  0.00  0.00  0.00  0.00      0.22         0.23",
            "Studio               0.00  0.00  0.31  0.00  0.00  0.00  0.72      0.15         0.06",
            "Hall                 0.00  0.00  0.00  0.00  0.03  0.00  0.00      0.00         0.01",
        }));
    // Wednesday to the Monday 12 days later: every weekday twice but Tuesday; Studio only.
    EXPECT_EQ(
        report(range({2026, 12, 2}, {2026, 12, 14}, {1}, 0, 0)),
        (std::vector<std::string>{
            "Utilization from 12/02/2026 to 12/14/2026 for the hours of 00am to 00am",
            " ",
            kColumns,
            "Studio               0.00  0.00  0.23  0.00  0.00  0.00  0.33      0.08         0.05",
        }));
    EXPECT_EQ(CUtilizationReport::heading([] {
                  CUtilizationCriteria c;
                  c.startDate = c.endDate = {2026, 12, 8};
                  c.window = true;
                  c.startHour = 12;
                  c.endHour = 13;
                  return c;
              }()),
              "Utilization from 12/08/2026 to 12/08/2026 for the hours of 12pm to 01pm");
}

} // namespace
} // namespace orv::test
