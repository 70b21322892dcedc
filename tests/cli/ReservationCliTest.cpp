// The reservation and people commands of orvsched-cli, run as the built program: a person added,
// a weekly series with an attendee booked, listed, changed and cancelled, with the dialogs'
// refusals on standard error and the exit codes.
#include "CliRunner.h"
#include "common/TempDir.h"
#include "tables/CDate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <sys/resource.h>

namespace orv::test {
namespace {

class ReservationCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        group = dir.file("Room.sch");
        ASSERT_EQ(run({"group-create", group, "--kind", "room", "--description", "Rooms"}).exitCode,
                  0);
        ASSERT_EQ(run({"item-add", group, "--name", "Boardroom"}).exitCode, 0);
    }
    CliResult run(const std::vector<std::string>& args) { return runCli(args, dir.path()); }
    CliResult reserve(const std::string& date, const std::string& start, const std::string& end,
                      const std::vector<std::string>& more = {}) {
        std::vector<std::string> args{"reserve", group, "Boardroom", date,
                                      start,     end,   "--person",  "Morgan|Alex|J|Sales"};
        args.insert(args.end(), more.begin(), more.end());
        return run(args);
    }
    std::string day(const std::string& date) {
        return run({"itemday", group, "Boardroom", date}).out;
    }

    TempDir dir;
    std::string group;
};

TEST_F(ReservationCliTest, PeopleAreAddedChangedAndDeletedWithTheDialogsChecks) {
    CliResult r = run({"person-add", group, "Morgan|Alex|J|Sales", "--reserve", "--attend",
                       "--phone", "555-0100"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Morgan, Alex J   (Sales)   ** 555-0100 **   \n");
    r = run({"person-add", group, "Morgan|Alex|J|Sales"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Add Error: A record for this person already exists in the database\n");
    r = run({"person-add", group, "Ames||"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Name Error: A first and last name must be specified\n");
    r = run(
        {"person-modify", group, "Morgan|Alex|J|Sales", "--last", "Morgen", "--location", "East"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(run({"people", group}).out, "Morgen, Alex J   (Sales)   ** 555-0100 **   \n");
    EXPECT_EQ(run({"person-delete", group, "Morgen|Alex|J|Sales"}).exitCode, 0);
    EXPECT_EQ(run({"people", group}).out, "");
    EXPECT_EQ(run({"person-delete", group, "Morgen|Alex|J|Sales"}).exitCode, 1);
    EXPECT_EQ(run({"person-add", group, "Morgan|Alex|J", "--phone"}).exitCode, 2);
}

TEST_F(ReservationCliTest, AWeeklySeriesIsBookedListedChangedAndCancelled) {
    ASSERT_EQ(run({"person-add", group, "Morgan|Alex|J|Sales"}).exitCode, 0);
    ASSERT_EQ(run({"person-add", group, "Ames|Pat||", "--attend"}).exitCode, 0);
    CliResult r = run({"reserve", group, "Boardroom", "2026-12-09", "09:00", "10:00", "--person",
                       "Morgan|Alex|J|Sales", "--repeat", "weekly", "--until", "20261223",
                       "--attendee", "Ames|Pat||", "--note", "Budget"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "2026-12-09 09:00-10:00 Boardroom\n2026-12-16 09:00-10:00 Boardroom\n"
                     "2026-12-23 09:00-10:00 Boardroom\n");
    EXPECT_EQ(run({"itemday", group, "Boardroom", "2026-12-16"}).out,
              "09:00 AM   10:00 AM   Morgan, Alex J    (Note)\n");
    EXPECT_EQ(run({"attendees", group, "Boardroom", "2026-12-23", "09:00"}).out, "Ames, Pat    \n");

    r = run({"reserve", group, "Boardroom", "2026-12-16", "09:30", "11:00", "--person",
             "Morgan|Alex|J|Sales"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err,
              "Reservation Error: Reservation conflicts with existing reservation on 12/16/2026\n");
    EXPECT_EQ(r.out, "");
    r = run(
        {"reserve", group, "Boardroom", "2026-12-16", "09:30", "11:00", "--person", "Nobody|X||"});
    EXPECT_EQ(r.exitCode, 1);

    r = run({"detail", group, "Boardroom", "2026-12-16", "09:00", "--note", "Budget review"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find(
                  "Reservation Date: Wednesday, December 16, 2026\nStart: 09:00 AM\nEnd: 10:00 AM\n"
                  "Reserved For: Morgan, Alex J\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(
        r.out.find("Notes: Budget review\nThis reservation is part of a recurring reservation\n"),
        std::string::npos);
    EXPECT_EQ(run({"attendees", group, "Boardroom", "2026-12-09", "09:00", "--set",
                   "Morgan|Alex|J|Sales"})
                  .exitCode,
              1)
        << "Morgan can reserve but does not attend";

    EXPECT_EQ(run({"cancel", group, "Boardroom", "2026-12-16", "09:00", "--series"}).exitCode, 0);
    EXPECT_EQ(run({"itemday", group, "Boardroom", "2026-12-23"}).out, "");
    EXPECT_EQ(run({"itemday", group, "Boardroom", "2026-12-09"}).out,
              "09:00 AM   10:00 AM   Morgan, Alex J    (Note)\n");
    EXPECT_EQ(run({"cancel", group, "Boardroom", "2026-12-16", "09:00"}).exitCode, 1);
    EXPECT_EQ(run({"itemday", group, "Boardroom", "2026-13-01"}).exitCode, 2);
    EXPECT_EQ(
        run({"reserve", group, "Boardroom", "2026-12-16", "9:30", "11:00", "--person", "A|B||"})
            .exitCode,
        2);
}

TEST_F(ReservationCliTest, ReservePrintsOnlyTheDatesThatAreInTheScheduleAfterwards) {
    ASSERT_EQ(run({"person-add", group, "Morgan|Alex|J|Sales"}).exitCode, 0);
    ASSERT_EQ(reserve("2026-12-10", "07:00", "09:00").exitCode, 0);
    struct Case {
        std::vector<std::string> args; // date, start, end, options
        int status;
        std::string out;
    };
    for (const Case& c : std::vector<Case>{
             // The span's second night meets 07:00 on the 10th: its first night is taken back.
             {{"2026-12-09", "22:00", "08:00", "--repeat", "overnight", "--until", "2026-12-10"},
              1,
              ""},
             {{"2026-12-03", "08:00", "08:30", "--repeat", "weekly", "--until", "2026-12-17"},
              3,
              "2026-12-03 08:00-08:30 Boardroom\n2026-12-17 08:00-08:30 Boardroom\n"},
             {{"2026-12-11", "22:00", "06:00", "--repeat", "overnight", "--until", "2026-12-12"},
              0,
              "2026-12-11 22:00-23:59 Boardroom\n2026-12-12 00:00-06:00 Boardroom\n"},
         }) {
        SCOPED_TRACE(c.args[0]);
        const CliResult r = reserve(c.args[0], c.args[1], c.args[2],
                                    std::vector<std::string>(c.args.begin() + 3, c.args.end()));
        EXPECT_EQ(r.exitCode, c.status) << r.err;
        EXPECT_EQ(r.out, c.out);
    }
    EXPECT_EQ(day("2026-12-09"), "") << "nothing of the refused span is left";
}

// A write beyond the file size limit fails as on a full share: the delete of the cancel cannot be
// written, the reservation stays, and the system's reason follows the message.
TEST_F(ReservationCliTest, CancelSaysWhetherTheReservationWentFromTheSchedule) {
    ASSERT_EQ(run({"person-add", group, "Morgan|Alex|J|Sales"}).exitCode, 0);
    ASSERT_EQ(reserve("2026-12-09", "09:00", "10:00").exitCode, 0);
    const std::string booked = "09:00 AM   10:00 AM   Morgan, Alex J    \n";
    struct Case {
        bool writesFail;
        int status;
        std::string err;
        std::string left;
    };
    for (const Case& c : std::vector<Case>{
             {true, 1,
              "Database Error: Could not delete record from database\nReason: " +
                  std::string(std::strerror(EFBIG)) + "\n",
              booked},
             {false, 0, "", ""},
         }) {
        SCOPED_TRACE(c.writesFail);
        const CliResult r =
            runCli({"cancel", group, "Boardroom", "2026-12-09", "09:00"}, dir.path(), "", [&c] {
                if (!c.writesFail) return;
                std::signal(SIGXFSZ, SIG_IGN);
                const rlimit small{256, 256};
                ::setrlimit(RLIMIT_FSIZE, &small);
            });
        EXPECT_EQ(r.exitCode, c.status);
        EXPECT_EQ(r.err, c.err);
        EXPECT_EQ(day("2026-12-09"), c.left);
    }
}

TEST_F(ReservationCliTest, DeleteOldRefusesADateAfterTodayUnlessConfirmed) {
    ASSERT_EQ(run({"person-add", group, "Morgan|Alex|J|Sales"}).exitCode, 0);
    auto date = [](int days) { return CDate::today().addDays(days).key(); }; // YYYYMMDD
    for (int days : {-1, 0, 3})
        ASSERT_EQ(reserve(date(days), "09:00", "10:00").exitCode, 0);
    struct Case {
        std::vector<std::string> args; // after the group file
        int status;
        std::string out;
        std::vector<int> left; // the days that still have their reservation
    };
    for (const Case& c : std::vector<Case>{
             {{date(7)}, 1, "", {-1, 0, 3}},
             {{date(1)}, 1, "", {-1, 0, 3}},
             {{date(0)}, 0, "1\n", {0, 3}},
             {{date(7), "--yes"}, 0, "2\n", {}},
         }) {
        const std::string& d = c.args[0];
        SCOPED_TRACE(d);
        std::vector<std::string> args{"delete-old", group};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CliResult r = run(args);
        EXPECT_EQ(r.exitCode, c.status);
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.err, c.status == 0 ? ""
                                       : "orvsched-cli delete-old: " + d.substr(0, 4) + "-" +
                                             d.substr(4, 2) + "-" + d.substr(6) +
                                             " is after today: reservations still to come would "
                                             "be deleted. Nothing was deleted; give --yes to "
                                             "delete them.\n");
        for (int days : {-1, 0, 3})
            EXPECT_EQ(day(date(days)).empty(),
                      std::find(c.left.begin(), c.left.end(), days) == c.left.end());
    }
}

// Every command that takes a person reads it one way, before it opens anything: at most four
// parts, a last name, and no part wider than its field.
TEST_F(ReservationCliTest, EveryPersonArgumentIsReadAsStrictlyAsTheOthers) {
    const std::vector<std::vector<std::string>> commands{
        {"reserve", group, "Boardroom", "2026-12-09", "09:00", "10:00", "--person", "@"},
        {"reserve", group, "Boardroom", "2026-12-09", "09:00", "10:00", "--person",
         "Morgan|Alex|J|Sales", "--attendee", "@"},
        {"attendees", group, "Boardroom", "2026-12-09", "09:00", "--set", "@"},
        {"person-add", group, "@"},
        {"person-modify", group, "@", "--phone", "1"},
        {"person-delete", group, "@"},
        {"person-reservations", group, "@"},
        {"attendance", group, "@"},
        {"report", group, "2026-12-01", "2026-12-31", "--person", "@"},
        {"import", group, dir.file("Other.sch"), "--people", "--person", "@"},
        {"export", group, "2026-12-01", "2026-12-31", "--format", "csv", "--person", "@"},
    };
    for (const std::string& person : {std::string("Morgan|Alex|J|Sales|More"), std::string("|Alex"),
                                      std::string(22, 'M') + "|Alex"}) {
        for (std::vector<std::string> args : commands) {
            std::replace(args.begin(), args.end(), std::string("@"), person);
            SCOPED_TRACE(args[0] + " " + person);
            const CliResult r = run(args);
            EXPECT_EQ(r.exitCode, 2) << r.err;
            EXPECT_NE(r.err.find("LAST|FIRST|MI|DEPT"), std::string::npos) << r.err;
        }
    }
}

} // namespace
} // namespace orv::test

namespace orv::test {
namespace {

TEST_F(ReservationCliTest, TextTheTablesCannotHoldIsRefusedAndNothingStoredInItsPlace) {
    ASSERT_EQ(run({"person-add", group, "Morgan|Alex|J|Sales"}).exitCode, 0);
    const std::string before = slurpFile(group) + slurpFile(dir.file("RoomSched.dbf")) +
                               slurpFile(dir.file("RoomPeople.dbf"));
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string firstLine;
    };
    const std::vector<Case> cases = {
        {{"person-add", group, "東京|太郎"},
         2,
         "The person 東京|太郎 holds characters that cannot be stored: U+6771, U+4EAC, U+592A, "
         "U+90CE."},
        {{"reserve", group, "Boardroom", "2026-12-09", "09:00", "10:00", "--person",
          "Morgan|Alex|J|Sales", "--note", "会議 room"},
         1,
         "orvsched-cli reserve: --note holds characters that cannot be stored: U+4F1A, U+8B70."},
        {{"item-add", group, "--name", "Hall ☃"},
         1,
         "orvsched-cli item-add: --name holds characters that cannot be stored: U+2603."},
        {{"group-modify", group, "--description", "Caf\xC3\xA9 \xE2\x98\x95"},
         1,
         "orvsched-cli group-modify: --description holds characters that cannot be stored: "
         "U+2615."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0]);
        const CliResult r = run(c.args);
        EXPECT_EQ(r.exitCode, c.status);
        EXPECT_EQ(r.err.substr(0, r.err.find('\n')), c.firstLine);
        EXPECT_EQ(slurpFile(group) + slurpFile(dir.file("RoomSched.dbf")) +
                      slurpFile(dir.file("RoomPeople.dbf")),
                  before);
    }
    // Accented letters and the euro sign are stored text.
    EXPECT_EQ(run({"group-modify", group, "--description", "Caf\xC3\xA9 \xE2\x82\xAC"}).exitCode,
              0);
}

} // namespace
} // namespace orv::test
