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
    EXPECT_EQ(merged.exitCode, 1) << "Bob Moe is in both groups";
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

} // namespace
} // namespace orv::test
