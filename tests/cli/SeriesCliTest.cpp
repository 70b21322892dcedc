// reserve --rrule/--exdate/--preview, series and modify, run as the built program.
#include "CliRunner.h"
#include "common/TempDir.h"

#include <gtest/gtest.h>

namespace orv::test {
namespace {

class SeriesCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        group = dir.file("Room.sch");
        ASSERT_EQ(run({"group-create", group, "--kind", "room", "--description", "Rooms"}).exitCode,
                  0);
        ASSERT_EQ(run({"item-add", group, "--name", "Boardroom"}).exitCode, 0);
        ASSERT_EQ(run({"item-add", group, "--name", "Huddle"}).exitCode, 0);
        ASSERT_EQ(run({"person-add", group, "Morgan|Alex|J|Sales"}).exitCode, 0);
        ASSERT_EQ(run({"person-add", group, "Ames|Pat||"}).exitCode, 0);
    }
    CliResult run(const std::vector<std::string>& args) { return runCli(args, dir.path()); }
    CliResult reserve(const std::string& date, const std::string& start, const std::string& end,
                      const std::vector<std::string>& more,
                      const std::string& who = "Morgan|Alex|J|Sales") {
        std::vector<std::string> args{"reserve", group, "Boardroom", date,
                                      start,     end,   "--person",  who};
        args.insert(args.end(), more.begin(), more.end());
        return run(args);
    }

    TempDir dir;
    std::string group;
};

TEST_F(SeriesCliTest, TheFirstMondayOfEachMonthIsPreviewedBookedAndListed) {
    ASSERT_EQ(reserve("2027-03-01", "09:30", "10:30", {}, "Ames|Pat||").exitCode, 0);
    const std::string rule = "FREQ=MONTHLY;BYDAY=1MO;COUNT=4";
    CliResult r = reserve("2026-12-09", "09:00", "10:00",
                          {"--rrule", rule, "--exdate", "2027-02-01", "--preview"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Every month on the first Monday, 3 dates\n"
                     "01/04/2027   free\n"
                     "02/01/2027   left out\n"
                     "03/01/2027   conflicts with 09:30 AM   10:30 AM   Ames, Pat\n"
                     "04/05/2027   free\n");
    EXPECT_EQ(run({"itemday", group, "Boardroom", "2027-01-04"}).out, "")
        << "a preview writes nothing";

    r = reserve("2026-12-09", "09:00", "10:00", {"--rrule", rule, "--exdate", "2027-02-01"});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_EQ(r.out, "2027-01-04 09:00-10:00 Boardroom\n2027-04-05 09:00-10:00 Boardroom\n");
    EXPECT_EQ(r.err,
              "Reservation Error: Reservation conflicts with existing reservation on 03/01/2027\n"
              "Recurring Reservation Conflict: Part of the recurring reservation was not made "
              "because of conflicts. Any reservations not in conflict were made.\n");

    r = run({"series", group, "Boardroom", "2027-04-05", "09:00"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Every month on the first Monday, 2 dates\n"
                     "01/04/2027   09:00 AM   10:00 AM   Morgan, Alex J    \n"
                     "04/05/2027   09:00 AM   10:00 AM   Morgan, Alex J    \n"
                     "02/01/2027   left out\n"
                     "03/01/2027   skipped: conflicts with 09:30 AM   10:30 AM   Ames, Pat\n");
    ASSERT_EQ(run({"cancel", group, "Boardroom", "2027-03-01", "09:30"}).exitCode, 0);
    r = run({"series", group, "Boardroom", "2027-01-04", "09:00", "--book-free"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Every month on the first Monday, 3 dates\n"
                     "01/04/2027   09:00 AM   10:00 AM   Morgan, Alex J    \n"
                     "03/01/2027   09:00 AM   10:00 AM   Morgan, Alex J    \n"
                     "04/05/2027   09:00 AM   10:00 AM   Morgan, Alex J    \n"
                     "02/01/2027   left out\n");

    // Attendees for this and the following members.
    ASSERT_EQ(run({"person-add", group, "Baker|Sam||", "--attend"}).exitCode, 0);
    r = run({"modify", group, "Boardroom", "2027-03-01", "09:00", "--scope", "following",
             "--attendee", "Baker|Sam||"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "2 changed\n");
    EXPECT_EQ(run({"attendees", group, "Boardroom", "2027-04-05", "09:00"}).out,
              "Baker, Sam    \n");
    EXPECT_EQ(run({"attendees", group, "Boardroom", "2027-01-04", "09:00"}).out, "");
}

TEST_F(SeriesCliTest, TheSecondHalfOfASeriesGetsAnotherTimeAndBecomesASeriesOfItsOwn) {
    CliResult r = reserve("2026-12-14", "09:00", "10:00",
                          {"--rrule", "FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,WE;COUNT=6"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // Another reservation is in the way of 14:00 on one of the later dates.
    ASSERT_EQ(run({"reserve", group, "Boardroom", "2027-01-11", "14:00", "15:00", "--person",
                   "Ames|Pat||"})
                  .exitCode,
              0);
    r = run({"modify", group, "Boardroom", "2026-12-30", "09:00", "--scope", "following", "--start",
             "14:00", "--end", "15:30"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Reservation Error: The change conflicts with existing reservations on "
                     "01/11/2027.\n");
    r = run({"modify", group, "Boardroom", "2026-12-30", "09:00", "--scope", "following", "--start",
             "15:00", "--end", "16:00", "--note", "Later"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "3 changed\n");
    EXPECT_EQ(run({"itemday", group, "Boardroom", "2026-12-16"}).out,
              "09:00 AM   10:00 AM   Morgan, Alex J    \n");
    EXPECT_EQ(run({"itemday", group, "Boardroom", "2027-01-13"}).out,
              "03:00 PM   04:00 PM   Morgan, Alex J    (Note)\n");
    // Cancelling the rest of the earlier part does not reach the later one.
    ASSERT_EQ(run({"cancel", group, "Boardroom", "2026-12-14", "09:00", "--series"}).exitCode, 0);
    EXPECT_EQ(run({"itemday", group, "Boardroom", "2026-12-16"}).out, "");
    EXPECT_EQ(run({"itemday", group, "Boardroom", "2027-01-13"}).out,
              "03:00 PM   04:00 PM   Morgan, Alex J    (Note)\n");
    r = run({"series", group, "Boardroom", "2027-01-13", "15:00"});
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "Every 2 weeks on Monday and Wednesday, 3 dates");

    EXPECT_EQ(
        run({"modify", group, "Boardroom", "2027-01-13", "15:00", "--scope", "some"}).exitCode, 2);
    EXPECT_EQ(reserve("2026-12-14", "09:00", "10:00", {"--exdate", "2026-12-16"}).exitCode, 2);
    r = reserve("2026-12-14", "09:00", "10:00", {"--rrule", "FREQ=SECONDLY;COUNT=2"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Recurring Reservation Error: A reservation repeats by days, weeks, months "
                     "or years.\n");
}

} // namespace
} // namespace orv::test
