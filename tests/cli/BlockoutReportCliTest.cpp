// orvsched-cli blockout, blockout-remove, blockouts, utilization, person-reservations and
// attendance: the lines of the dialogs on standard output and nothing else, the dialogs' messages
// on standard error, and the exit codes.
#include "CliRunner.h"
#include "common/GroupFixture.h"
#include "reports/CAttendance.h"
#include "reports/CPersonReservations.h"
#include "reports/CUtilizationReport.h"
#include "reservations/CBlockoutModel.h"

namespace orv::test {
namespace {

class BlockoutReportCliTest : public GroupFixture {
protected:
    void SetUp() override {
        GroupFixture::SetUp();
        addItems({"Lab", "Studio"});
        addPerson("Pat", "", "Smith", "Sales");
        reserveAll({{"Lab", 12, 9, 2026, 9, 0, 10, 0, "Smith", "Pat", "", "Sales"},
                    {"Studio", 12, 10, 2026, 13, 0, 15, 0, "Smith", "Pat", "", "Sales"}});
        CRosterLink& l = doc->rosterLinks();
        l.clearImage();
        l.setDate(12, 9, 2026);
        l.setItemName("Lab");
        l.setStartTime(9, 0);
        l.setPerson({"Pat", "", "Smith", "Sales"});
        EXPECT_EQ(l.append(), 0);
        CPeople& people = doc->people();
        ASSERT_EQ(people.seekPerson(CPeopleKey("Pat", "", "Smith", "Sales")), 0);
        people.image().setFlags(CPeopleRecord::kFlagMayReserve | CPeopleRecord::kFlagAttendee);
        ASSERT_EQ(people.update(), 0);
    }
    CliResult cli(std::vector<std::string> args) {
        args.insert(args.begin() + 1, group);
        return runCli(args, dir.path());
    }
};

TEST_F(BlockoutReportCliTest, BlockoutsAreSetListedAndRemovedWithTheDialogsMessages) {
    CliResult r = cli({"blockout", "2026-12-09", "09:30", "11:00", "--item", "Lab"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, std::string("Blockout Error: ") + CBlockoutModel::kOverlap + "\n");
    r = cli({"blockout", "2026-12-09", "10:00", "12:00"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "Blockout Sucessful: The requested time has been blocked out.\n");
    EXPECT_EQ(cli({"blockouts", "20261209"}).out,
              "10:00  -  12:00   Lab \n10:00  -  12:00   Studio \n");

    r = cli({"blockout-remove", "2026-12-09", "--item", "Studio"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "Removal Results: All selected blockouts were removed.\n");
    EXPECT_EQ(cli({"blockouts", "2026-12-09"}).out, "10:00  -  12:00   Lab \n");
    r = cli({"blockout-remove", "2026-12-10", "--item", "Studio"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Selection Error: You must select one or more blockouts to remove.\n");
    EXPECT_EQ(cli({"blockout-remove", "2026-12-09"}).exitCode, 0);
    EXPECT_EQ(cli({"itemday", "Lab", "2026-12-09"}).out, "09:00 AM   10:00 AM   Smith, Pat     \n");
    EXPECT_EQ(cli({"blockout", "2026-12-09", "10:00"}).exitCode, 2);
}

TEST_F(BlockoutReportCliTest, ReportCommandsPrintTheLinesTheirDialogsShow) {
    CUtilizationCriteria criteria;
    criteria.startDate = {2026, 12, 7};
    criteria.endDate = {2026, 12, 13};
    criteria.window = true;
    criteria.startHour = 8;
    criteria.endHour = 24;
    criteria.items = {0};
    CUtilizationReport utilization(*doc, criteria);
    ASSERT_EQ(utilization.compute(), 0);
    CliResult r =
        cli({"utilization", "2026-12-07", "20261213", "--hours", "8-24", "--item", "Lab"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, joinLines(utilization.lines()));
    r = cli({"utilization", "2026-12-07", "2026-12-06"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Utilization Dates Error: Starting date for utilization must be less or equal "
                     "to ending date\n");
    EXPECT_EQ(cli({"utilization", "2026-12-07", "2026-12-13", "--hours", "9"}).exitCode, 2);

    const CPeopleKey smith("Pat", "", "Smith", "Sales");
    r = cli({"person-reservations", "Smith|Pat||Sales", "--date", "2026-12-10"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, joinLines(CPersonReservations(*doc, smith, {2026, 12, 10}).lines()));
    EXPECT_EQ(r.out, "12/10/2026   01:00 PM   03:00 PM \tStudio   \n") << "the tab stays a tab";
    EXPECT_EQ(cli({"person-reservations", "Nobody|X||"}).exitCode, 1);
    r = cli({"attendance", "Smith|Pat||Sales"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, joinLines(CAttendance(*doc, smith).lines()));
}

} // namespace
} // namespace orv::test
