// orvsched-cli dayglance, monthglance and report print the lines the dialogs show, one per line
// and nothing else, and refuse what the dialogs refuse.
#include "cli/CliRunner.h"
#include "common/GroupFixture.h"
#include "displays/CDayGlance.h"
#include "displays/CMonthGlance.h"
#include "reports/CResReportData.h"

namespace orv::test {
namespace {

class OverviewCliTest : public GroupFixture {
protected:
    void SetUp() override {
        GroupFixture::SetUp();
        addItems({"Lab", "Studio"});
        addPerson("Pat", "", "Smith", "Sales");
        reserveAll({{"Lab", 12, 8, 2026, 5, 0, 6, 45, "Smith", "Pat", "", "Sales"},
                    {"Studio", 12, 8, 2026, 9, 0, 10, 0, "Jones", "Ann", "B", "IT"},
                    {"Lab", 12, 8, 2026, 9, 0, 9, 30, "", "", "", "", true},
                    {"Lab", 12, 21, 2026, 9, 0, 10, 0, "Smith", "Pat", "", "Sales"}});
        reserve({"Studio", 12, 21, 2026, 9, 0, 10, 0, "Smith", "Pat", "", "Sales"});
    }
    CliResult cli(std::vector<std::string> args) {
        args.insert(args.begin() + 1, group);
        return runCli(args, dir.path());
    }
};

TEST_F(OverviewCliTest, EachListCommandPrintsTheLinesOfItsDialog) {
    const CDayGlance allDay(*doc, CDayGlance::Form::allDay, 0, 0, {});
    const CDayGlance fromSix(*doc, CDayGlance::Form::twelveHours, 0, 6, {});
    const CMonthGlance december(*doc, 0, 0, {});
    CReportCriteria criteria;
    criteria.startMonth = criteria.endMonth = 12;
    criteria.startDay = 1;
    criteria.endDay = 31;
    criteria.startYear = criteria.endYear = 2026;
    criteria.people = {CPeopleKey("Pat", "", "Smith", "Sales")};
    criteria.items = {0};
    CResReportData report(*doc, criteria);
    ASSERT_EQ(report.build(), 0);
    ASSERT_EQ(report.lines().size(), 9u);

    const struct {
        std::vector<std::string> args;
        std::string out;
    } cases[] = {
        {{"dayglance", "2026-12-08"}, joinLines(allDay.lines())},
        {{"dayglance", "20261208", "--start-hour", "6"}, joinLines(fromSix.lines())},
        {{"monthglance", "2026-12"}, joinLines(december.lines())},
        {{"report", "2026-12-01", "20261231", "--item", "Lab", "--person", "Smith|Pat||Sales"},
         joinLines(report.lines().strings())},
    };
    for (const auto& c : cases) {
        const CliResult r = cli(c.args);
        EXPECT_EQ(r.exitCode, 0) << c.args[0] << ": " << r.err;
        EXPECT_EQ(r.out, c.out) << c.args[0];
        EXPECT_EQ(r.err, "") << c.args[0];
    }
    // The lines as a person reads them.
    EXPECT_EQ(fromSix.lines()[1].substr(22, 4), "***.");
    EXPECT_EQ(december.lines()[8].substr(5 + 36, 4), "**PP");
}

TEST_F(OverviewCliTest, RefusalsGiveTheirMessageOrUsageAndNothingOnStandardOutput) {
    const struct {
        std::vector<std::string> args;
        int exitCode;
        std::string err;
    } cases[] = {
        {{"dayglance", "2026-02-30"}, 2, ""},
        {{"dayglance", "2026-12-08", "--start-hour", "13"}, 2, ""},
        {{"monthglance", "2026-13"}, 2, ""},
        {{"report", "2026-12-09", "2026-12-08"},
         1,
         "Date Error: The end date must be greater than the start date.\n"},
        {{"report", "2026-12-01", "2026-12-31", "--item", "Attic"}, 1, ""},
        {{"report", "2026-12-01", "2026-12-31", "--person", "Nobody|Pat"}, 1, ""},
    };
    for (const auto& c : cases) {
        const CliResult r = cli(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args[1] << " " << r.err;
        EXPECT_EQ(r.out, "") << c.args[1];
        if (!c.err.empty()) {
            EXPECT_EQ(r.err, c.err);
        }
        EXPECT_FALSE(r.err.empty());
    }

    for (int rc = doc->schedule().first(); rc == 0; rc = doc->schedule().next())
        doc->schedule().deleteCurrent();
    doc->schedule().unlock();
    const CliResult empty = cli({"report", "2026-12-01", "2026-12-31"});
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_EQ(empty.out, "");
    EXPECT_EQ(empty.err, "No Reservations: No reservations for this group\n");
}

} // namespace
} // namespace orv::test
