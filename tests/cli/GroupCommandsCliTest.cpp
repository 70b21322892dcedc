// orvsched-cli compress, merge and import: the desktop program's commands run as the built
// program, with another copy of the program holding the group open where it matters.
#include "CliRunner.h"
#include "common/GroupMaker.h"
#include "common/TempDir.h"
#include "tables/TableTestSupport.h"

#include <gtest/gtest.h>

namespace orv::test {
namespace {

class GroupCommandsCliTest : public ::testing::Test {
protected:
    // Main: A1 with four reservations (one deleted), an attendee and Bob Moe. Annex: B1 with a
    // reservation, Ann Lee and Bob Moe.
    void SetUp() override {
        std::filesystem::create_directory(group(""));
        ASSERT_TRUE(makeGroup(group("Main.sch")));
        ASSERT_TRUE(makeGroup(group("Annex.sch")));
        CMemorySettings settings;
        ScriptedPrompt p;
        CORVSchedDoc main(p, settings), annex(p, settings);
        ASSERT_TRUE(main.openGroup(group("Main.sch")) && annex.openGroup(group("Annex.sch")));
        addItems(main, {"A1"});
        for (int hour = 8; hour < 12; ++hour)
            reserve(main, "A1", hour, "Moe");
        main.schedule().goTo(2);
        main.schedule().deleteCurrent();
        addLink(main, "A1", 8, "Ng");
        addPerson(main.people(), "Bob", "Moe", 2);
        addItems(annex, {"B1"});
        reserve(annex, "B1", 9, "Lee");
        addPerson(annex.people(), "Ann", "Lee", 2);
        addPerson(annex.people(), "Bob", "Moe", 3);
    }
    std::string group(const std::string& name) const { return dir.file("groups/" + name); }
    CliResult run(const std::vector<std::string>& args) { return runCli(args, dir.path()); }

    TempDir dir;
};

TEST_F(GroupCommandsCliTest, CompressWaitsForTheOtherCopyToCloseTheGroupAndLeavesSoundIndexes) {
    HelperProcess other;
    ASSERT_TRUE(other.start("cli_group_holder", {group("Main.sch")}));
    ASSERT_EQ(other.readLine(), "ready");
    const auto before = groupBytes(group(""));
    CliResult refused = run({"compress", group("Main.sch")});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err, "Compress Error: The Schedule database is in use by another user, no "
                           "database compression performed.\n");
    EXPECT_EQ(groupBytes(group("")), before);

    other.closeInput();
    ASSERT_EQ(other.wait(), 0);
    CliResult done = run({"compress", group("Main.sch")});
    EXPECT_EQ(done.exitCode, 0) << done.err;
    EXPECT_EQ(done.out, "Excess space has been removed from the databases, normal operation can be "
                        "resumed.\n");
    EXPECT_EQ(rawRecords(group("MainSched.dbf")).size(), 3u);
    for (const char* table : {"MainSched.dbf", "MainRosLnk.dbf", "MainPeople.dbf"}) {
        CliResult check = run({"index-check", group(table)});
        EXPECT_EQ(check.exitCode, 0) << table << ": " << check.out << check.err;
        EXPECT_EQ(check.out.rfind("ok ", 0), 0u) << check.out;
    }
}

TEST_F(GroupCommandsCliTest, MergePrintsWarningsOnStandardOutputAndRefusalsOnStandardError) {
    CliResult merged = run({"merge", group("Main.sch"), group("Annex.sch")});
    EXPECT_EQ(merged.exitCode, 3) << "Bob Moe is in both groups";
    EXPECT_EQ(merged.out, "Some people from merged group already exist in current group, those "
                          "people were not merged\n");
    CliResult again = run({"merge", group("Main.sch"), group("Annex.sch")});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_EQ(again.err,
              "Merge Cancelled: A room with the same name as one in current group exists "
              "in from group, merge cancelled.\n");
    ASSERT_TRUE(makeGroup(group("Empty.sch")));
    CliResult clean = run({"merge", group("Empty.sch"), group("Annex.sch")});
    EXPECT_EQ(clean.exitCode, 0) << clean.err;
    EXPECT_EQ(clean.out,
              "Group merged successfully. You should no longer use the merged from group "
              "and it is recommended that it be deleted.\n");
}

TEST_F(GroupCommandsCliTest, ImportTakesThePeopleNamedAndSaysHowItWent) {
    struct Case {
        std::vector<std::string> options;
        int exitCode;
        std::string out;
    };
    for (const Case& c : std::vector<Case>{
             {{"--people", "--person", "Lee|Ann"},
              0,
              "1 people have been imported into this group\n"},
             {{"--people", "--all"}, 1, "2 duplicates were not imported out of 2 selections\n"},
             {{"--attendees", "--person", "Nobody"}, 1, ""},
             {{"--people", "--attendees"}, 2, ""}}) {
        std::vector<std::string> args{"import", group("Main.sch"), group("Annex.sch")};
        args.insert(args.end(), c.options.begin(), c.options.end());
        CliResult r = run(args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.options[1] << r.err;
        EXPECT_EQ(r.out, c.out);
    }
    EXPECT_EQ(rawRecords(group("MainPeople.dbf")).size(), 2u);
}

// A script tells from the status alone whether anything changed: 1 only when nothing did, 3 when
// some of the work was done.
TEST_F(GroupCommandsCliTest, EveryCommandEndsWithAStatusThatSaysWhetherAnythingChanged) {
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string heldTable; // open in another process meanwhile
    };
    const std::string main = group("Main.sch"), annex = group("Annex.sch");
    const std::vector<std::string> reserve{"reserve", main, "A1", "--person", "Moe|Bob"};
    auto with = [](std::vector<std::string> args, const std::vector<std::string>& more) {
        args.insert(args.end(), more.begin(), more.end());
        return args;
    };
    for (const Case& c : std::vector<Case>{
             // A1 is taken on 8 December from 08:00 to 09:00 and from 10:00 to 12:00.
             {with(reserve,
                   {"2026-12-01", "10:30", "11:30", "--repeat", "weekly", "--until", "2026-12-15"}),
              3,
              ""},
             {with(reserve, {"2026-12-08", "08:30", "09:30"}), 1, ""},
             {with(reserve, {"2026-12-08", "8:30", "09:30"}), 2, ""},
             {with(reserve, {"2026-12-08", "09:00", "10:00"}), 0, ""},
             {{"import", main, annex, "--people", "--all"}, 3, ""}, // Bob Moe is there already
             {{"import", main, annex, "--people", "--all"}, 1, ""},
             {{"merge", main, annex}, 3, ""}, // the people are there already
             {{"merge", main, annex}, 1, ""}, // B1 is now in both
             {{"merge", main}, 2, ""},
             {{"compress", main}, 3, "MainPeople.dbf"}, // schedule and roster packed
             {{"compress", main}, 1, "MainSched.dbf"},
             {{"compress", main}, 0, ""},
         }) {
        SCOPED_TRACE(c.args[0] + " " + c.heldTable);
        HelperProcess other;
        if (!c.heldTable.empty()) {
            ASSERT_TRUE(other.start("tables_table_holder", {group(c.heldTable)}));
            ASSERT_EQ(other.readLine(), "ready");
        }
        const auto before = groupBytes(group(""));
        const CliResult r = run(c.args);
        EXPECT_EQ(r.exitCode, c.status) << r.err;
        if (c.status == 1 || c.status == 2) {
            EXPECT_EQ(groupBytes(group("")), before);
        }
        if (c.status == 3) {
            EXPECT_NE(r.out + r.err, "") << "what was not done is said";
        }
    }
    const CliResult help = run({"--help"});
    EXPECT_NE(help.out.find("exit status of every command:\n  0  done\n  1  refused or failed, "
                            "nothing changed (the reason on standard error)\n  2  bad usage\n"
                            "  3  done in part or with warnings"),
              std::string::npos)
        << help.out;
}

} // namespace
} // namespace orv::test
