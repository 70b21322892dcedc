// The reservation report: the entry check, the options and their date check, and the report's
// lines for each kind of choice.
#include "common/GroupFixture.h"
#include "reports/CResReportData.h"
#include "reports/CResReportOptions.h"
#include "reports/CReservationReport.h"
#include "reports/CTextLines.h"

namespace orv::test {
namespace {

const std::string kHeading = "Item Name       Date       Start  End    Person Name";

class ReservationReportTest : public GroupFixture {
protected:
    void SetUp() override {
        GroupFixture::SetUp();
        addItems({"Lab", "Studio", "Hall"});
        jones = addPerson("Ann", "B", "Jones", "IT", "555-1234");
        smithHR = addPerson("Pat", "", "Smith", "HR");
        smithSales = addPerson("Pat", "", "Smith", "Sales");
        reserveAll({
            {"Lab", 12, 8, 2026, 12, 0, 13, 30, "Smith", "Pat", "", "Sales"},
            {"Lab", 12, 8, 2026, 0, 30, 9, 0, "Jones", "Ann", "B", "IT"},
            {"Lab", 12, 8, 2026, 14, 0, 15, 0, "", "", "", "", true},
            {"Studio", 12, 8, 2026, 10, 0, 11, 0, "Smith", "Pat", "", "HR"},
            {"Lab", 12, 9, 2026, 9, 0, 10, 0, "Smith", "Pat", "", "Sales"},
            {"Hall", 12, 7, 2026, 8, 0, 9, 0, "Jones", "Ann", "B", "IT"},
        });
    }

    // Runs View > All Reservations with these options; the report's lines.
    std::vector<std::string> report(std::function<void(CResReportOptions&)> choose) {
        std::vector<std::string> lines;
        prompt.fill<CResReportOptions>(std::move(choose));
        prompt.fill<CResReportData>([&lines](CResReportData& r) {
            EXPECT_EQ(r.build(), 0);
            lines = r.lines().strings();
        });
        EXPECT_TRUE(CReservationReport::run(*doc));
        return lines;
    }

    long jones = 0, smithHR = 0, smithSales = 0;
};

struct ReportCase {
    const char* name;
    std::array<int, 6> range; // month, day, year of start and end
    std::set<int> items;
    std::vector<int> people; // 0 Jones, 1 Smith (HR), 2 Smith (Sales)
    bool blockoutsOnly;
    std::vector<std::string> body; // between the heading and "**End of Report**"
};

TEST_F(ReservationReportTest, EachChoiceListsItsRecordsGroupedByDateAndItemWithTotals) {
    const std::vector<ReportCase> cases = {
        {"one day, everything",
         {12, 8, 2026, 12, 8, 2026},
         {},
         {},
         false,
         {"Lab             12/08/2026 00:30a 09:00a Jones, Ann B (IT)",
          "Lab             12/08/2026 12:00p 01:30p Smith, Pat  (Sales)",
          "Lab             12/08/2026 02:00p 03:00p *Blocked Out*",
          "Total Reservations for Lab for 12/08/2026 is 2", " ",
          "Studio          12/08/2026 10:00a 11:00a Smith, Pat  (HR)",
          "Total Reservations for Studio for 12/08/2026 is 1"}},
        {"a range without reservations", {12, 1, 2026, 12, 6, 2026}, {}, {}, false, {}},
        {"only blockouts",
         {12, 7, 2026, 12, 9, 2026},
         {},
         {},
         true,
         {"Lab             12/08/2026 02:00p 03:00p *Blocked Out*",
          "Total Reservations for Lab for 12/08/2026 is 0"}},
        {"only blockouts, people ignored",
         {12, 7, 2026, 12, 9, 2026},
         {},
         {0},
         true,
         {"Lab             12/08/2026 02:00p 03:00p *Blocked Out*",
          "Total Reservations for Lab for 12/08/2026 is 0"}},
        {"one person, not the namesake of another department",
         {12, 7, 2026, 12, 9, 2026},
         {},
         {2},
         false,
         {"Lab             12/08/2026 12:00p 01:30p Smith, Pat  (Sales)",
          "Total Reservations for Lab for 12/08/2026 is 1", " ",
          "Lab             12/09/2026 09:00a 10:00a Smith, Pat  (Sales)",
          "Total Reservations for Lab for 12/09/2026 is 1"}},
        {"some items",
         {12, 7, 2026, 12, 9, 2026},
         {1, 2},
         {},
         false,
         {"Hall            12/07/2026 08:00a 09:00a Jones, Ann B (IT)",
          "Total Reservations for Hall for 12/07/2026 is 1", " ",
          "Studio          12/08/2026 10:00a 11:00a Smith, Pat  (HR)",
          "Total Reservations for Studio for 12/08/2026 is 1"}},
    };
    for (const ReportCase& c : cases) {
        const std::vector<std::string> lines = report([&](CResReportOptions& o) {
            o.startMonth = c.range[0];
            o.startDay = c.range[1];
            o.startYear = c.range[2];
            o.endMonth = c.range[3];
            o.endDay = c.range[4];
            o.endYear = c.range[5];
            o.selectedItems = c.items;
            const long records[] = {jones, smithHR, smithSales};
            for (int person : c.people)
                o.selectedPeople.push_back(records[person]);
            o.blockoutsOnly = c.blockoutsOnly;
        });
        char first[96];
        std::snprintf(first, sizeof first,
                      "Reservation Report from %02d/%02d/%04d to %02d/%02d/%04d", c.range[0],
                      c.range[1], c.range[2], c.range[3], c.range[4], c.range[5]);
        std::vector<std::string> expected = {first, " ", kHeading};
        expected.insert(expected.end(), c.body.begin(), c.body.end());
        expected.push_back("**End of Report**");
        EXPECT_EQ(lines, expected) << c.name;
    }
    EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(ReservationReportTest, ProgressGoesByDateAndCancelStopsTheReportWhereItWas) {
    prompt.stopAfterSteps = 2;
    const std::vector<std::string> lines = report([](CResReportOptions& o) {
        o.startMonth = 12, o.startDay = 7, o.startYear = 2026;
        o.endMonth = 12, o.endDay = 9, o.endYear = 2026;
    });
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "Reservation Report from 12/07/2026 to 12/09/2026", " ", kHeading,
                         "Hall            12/07/2026 08:00a 09:00a Jones, Ann B (IT)",
                         "Total Reservations for Hall for 12/07/2026 is 1", " ",
                         "Lab             12/08/2026 00:30a 09:00a Jones, Ann B (IT)",
                         "Total Reservations for Lab for 12/08/2026 is 1", "**Report stopped**"}));
    ASSERT_EQ(prompt.progresses.size(), 1u);
    const auto& p = prompt.progresses[0];
    EXPECT_EQ(p.label, "Generating reservation report");
    EXPECT_TRUE(p.cancellable);
    EXPECT_EQ(p.lastDone, 1) << "the third record is on the second of three days";
    EXPECT_EQ(p.lastTotal, 3);
}

TEST_F(ReservationReportTest, TheOptionsStartAtTheEarliestReservationAndRefuseAnEndBeforeTheStart) {
    CResReportOptions options(*doc, 12, 7, 2026);
    EXPECT_EQ(std::vector<int>({options.startMonth, options.startDay, options.startYear,
                                options.endMonth, options.endDay, options.endYear}),
              std::vector<int>({12, 7, 2026, 12, 8, 2026}));
    EXPECT_EQ(options.itemsLabel(), "Include Only Selected Room(s)");
    ASSERT_EQ(options.peopleLines().size(), 3u);
    EXPECT_EQ(options.peopleLines()[0].text, "Jones, Ann B   (IT)   ** 555-1234 **   ");
    EXPECT_EQ(options.peopleLines()[1].recordNumber, smithHR);
    CResReportOptions future(*doc, 1, 15, 2027);
    EXPECT_EQ(future.startDay, 8) << "never later than today";

    options.startDay = 9; // after the ending date
    EXPECT_FALSE(options.onOk(prompt));
    EXPECT_EQ(prompt.messages,
              (std::vector<RecordedMessage>{{"The end date must be greater than the start date.",
                                             "Date Error", PromptIcon::none}}));
    options.startDay = 8; // the same day, whatever the time
    EXPECT_TRUE(options.onOk(prompt));
    EXPECT_EQ(prompt.messages.size(), 1u);
}

TEST_F(ReservationReportTest, AGroupWithoutReservationsGetsItsMessageAndNoDialog) {
    for (int rc = doc->schedule().first(); rc == 0; rc = doc->schedule().next())
        doc->schedule().deleteCurrent();
    doc->schedule().unlock();
    EXPECT_FALSE(CReservationReport::run(*doc));
    EXPECT_EQ(prompt.messages, (std::vector<RecordedMessage>{
                                   info("No reservations for this group", "No Reservations")}));
    EXPECT_TRUE(prompt.dialogsShown.empty());
}

} // namespace
// The detail line is put together by hand; it must read as the format it stands for, also for
// values no valid record holds and for names longer than the line's usual room.
TEST(ReservationReportLine, ReadsAsItsFormatForEveryValue) {
    struct Case {
        std::string item, last, first, mi, dept;
        int month, day, year, sh, sm, eh, em;
        bool blockout;
    };
    const std::string longName(90, 'x');
    const Case cases[] = {
        {"Lab", "Smith", "Pat", "", "Sales", 12, 8, 2026, 0, 30, 12, 0, false},
        {"Conference Room 12", "Jones", "Ann", "B", "IT", 1, 31, 2026, 13, 5, 23, 59, false},
        {"Hall", "", "", "", "", 7, 4, 2026, 12, 0, 12, 45, true},
        {"Odd", "A", "B", "C", "D", 0, 0, 0, 0, 0, 0, 0, false},
        {"Neg", "A", "B", "C", "D", -1, -12, -5, -3, -7, 125, 100, false},
        {"Wide", "A", "B", "C", "D", 123, 456, 12345, 99, 99, 100, 100, false},
        {"Edges", "A", "B", "C", "D", 99, 100, 999, 111, 99, 112, 0, false},
        {"Years", "A", "B", "C", "D", 10, 1, 1000, 24, 0, 0, -1, false},
        {"Years2", "A", "B", "C", "D", 1, 10, 9999, 12, 59, 23, 0, false},
        {"Years3", "A", "B", "C", "D", 1, 10, 10000, 12, 59, 23, 0, false},
        {longName, longName, longName, "Q", longName, 2, 3, 2026, 9, 0, 10, 0, false},
    };
    for (const Case& c : cases) {
        CScheduleRecord r;
        r.setItemName(c.item);
        r.setPerson(c.first, c.mi, c.last, c.dept);
        r.setDate(c.month, c.day, c.year);
        r.setStartTime(c.sh, c.sm);
        r.setEndTime(c.eh, c.em);
        r.setBlockoutFlag(c.blockout);
        const auto h12 = [](int h) { return h > 12 ? h - 12 : h; };
        const auto ap = [](int h) { return h >= 12 ? 'p' : 'a'; };
        std::vector<char> text(512);
        std::snprintf(text.data(), text.size(), "%-15s %02d/%02d/%04d %02d:%02d%c %02d:%02d%c ",
                      c.item.c_str(), c.month, c.day, c.year, h12(c.sh), c.sm, ap(c.sh),
                      h12(c.eh), c.em, ap(c.eh));
        std::string want = text.data();
        want += c.blockout ? "*Blocked Out*" : c.last + ", " + c.first + " " + c.mi + " (" + c.dept + ")";
        EXPECT_EQ(CResReportData::detailLine(r), want) << c.item;
    }
}

// The report's lines share one buffer: every line reads back as written while the buffer grows
// many times over, a line cut short by a failed allocation leaves nothing behind, and a copy
// or a clear keeps no view of another's text.
TEST(ReservationReportLines, EachLineReadsBackAsWrittenThroughGrowthDropAndCopy) {
    CTextLines lines;
    std::vector<std::string> want;
    for (int i = 0; i < 5000; ++i) {
        const std::size_t length = i % 7 == 0 ? 0 : static_cast<std::size_t>(i % 90) + 1;
        const std::string line(length, static_cast<char>('a' + i % 26));
        if (i % 3 == 0) {
            lines.push_back(line);
        } else {
            lines += std::string_view(line).substr(0, line.size() / 2);
            lines.append(line.data() + line.size() / 2, line.size() - line.size() / 2);
            lines.endLine();
        }
        want.push_back(line);
        if (i % 11 == 0) {
            lines += "half a line";
            lines.append(4000, 'x');
            lines.dropOpenLine();
        }
    }
    lines.push_back(std::string(100000, 'z'));
    want.push_back(std::string(100000, 'z'));
    EXPECT_EQ(lines.strings(), want);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.end()), want);
    EXPECT_EQ(lines[4999], want[4999]);

    const CTextLines copy = lines;
    lines.clear();
    EXPECT_TRUE(lines.empty());
    lines.push_back("again");
    EXPECT_EQ(copy.strings(), want);
    EXPECT_EQ(lines.strings(), std::vector<std::string>{"again"});
}

} // namespace orv::test
