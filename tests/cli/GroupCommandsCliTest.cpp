// orvsched-cli compress, merge and import: the desktop program's commands run as the built
// program, with another copy of the program holding the group open where it matters.
#include "CliRunner.h"
#include "common/GroupMaker.h"
#include "common/TempDir.h"
#include "tables/TableTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace orv::test {
namespace {

namespace fs = std::filesystem;

class GroupCommandsCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directory(groups());
        ASSERT_TRUE(makeGroup(group("Main"), "Main rooms"));
        ASSERT_TRUE(makeGroup(group("Annex"), "Annex rooms"));
        CMemorySettings settings;
        ScriptedPrompt p;
        CORVSchedDoc main(p, settings);
        ASSERT_TRUE(main.openGroup(group("Main")));
        addItems(main, {"A1"});
        for (int hour = 8; hour < 12; ++hour)
            ASSERT_EQ(reserve(main, "A1", hour, "Moe"), 0);
        ASSERT_EQ(main.schedule().goTo(2), 0);
        main.schedule().deleteCurrent();
        main.schedule().unlock();
        ASSERT_EQ(addLink(main, "A1", 8, "Ng"), 0);
        ASSERT_EQ(addPerson(main.people(), "Bob", "Moe", 2), 0);
        CORVSchedDoc annex(p, settings);
        ASSERT_TRUE(annex.openGroup(group("Annex")));
        addItems(annex, {"B1"});
        ASSERT_EQ(reserve(annex, "B1", 9, "Lee"), 0);
        ASSERT_EQ(addPerson(annex.people(), "Ann", "Lee", 2), 0);
        ASSERT_EQ(addPerson(annex.people(), "Bob", "Moe", 3), 0);
    }
    std::string groups() const { return dir.file("groups"); }
    std::string group(const std::string& stem) const { return groups() + "/" + stem + ".sch"; }
    CliResult run(const std::vector<std::string>& args) { return runCli(args, dir.path()); }

    TempDir dir;
};

TEST_F(GroupCommandsCliTest, CompressWaitsForTheOtherCopyToCloseTheGroupAndLeavesSoundIndexes) {
    HelperProcess other;
    ASSERT_TRUE(other.start("cli_group_holder", {group("Main")}));
    ASSERT_EQ(other.readLine(), "ready");
    const auto before = groupBytes(groups(), "Main");
    CliResult refused = run({"compress", group("Main")});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err,
              "Compress Error: The Schedule database is in use by another user, no database "
              "compression performed.\n");
    EXPECT_EQ(groupBytes(groups(), "Main"), before);

    other.closeInput();
    ASSERT_EQ(other.wait(), 0);
    CliResult done = run({"compress", group("Main")});
    EXPECT_EQ(done.exitCode, 0) << done.err;
    EXPECT_EQ(
        done.out,
        "Excess space has been removed from the databases, normal operation can be resumed.\n");
    EXPECT_EQ(rawRecords(groups() + "/MainSched.dbf").size(), 3u);
    for (const char* table : {"MainSched.dbf", "MainRosLnk.dbf", "MainPeople.dbf"}) {
        CliResult check = run({"index-check", groups() + "/" + table});
        EXPECT_EQ(check.exitCode, 0) << table << ": " << check.out << check.err;
        EXPECT_EQ(check.out.compare(0, 3, "ok "), 0) << check.out;
    }
}

TEST_F(GroupCommandsCliTest, MergePrintsItsMessageAndRefusesASecondMergeOfTheSameItems) {
    CliResult merged = run({"merge", group("Main"), group("Annex")});
    EXPECT_EQ(merged.exitCode, 1) << "Bob Moe is in both groups";
    EXPECT_EQ(merged.out, "Some people from merged group already exist in current group, those "
                          "people were not merged\n");
    EXPECT_EQ(merged.err, "");
    const auto after = groupBytes(groups(), "Main");
    CliResult again = run({"merge", group("Main"), group("Annex")});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_EQ(again.out, "");
    EXPECT_EQ(again.err,
              "Merge Cancelled: A room with the same name as one in current group exists in from "
              "group, merge cancelled.\n");
    EXPECT_EQ(groupBytes(groups(), "Main"), after);

    ASSERT_TRUE(makeGroup(group("Empty"), "Nothing yet"));
    CliResult clean = run({"merge", group("Empty"), group("Annex")});
    EXPECT_EQ(clean.exitCode, 0) << clean.err;
    EXPECT_EQ(clean.out,
              "Group merged successfully. You should no longer use the merged from group and it is "
              "recommended that it be deleted.\n");
}

TEST_F(GroupCommandsCliTest, ImportTakesThePeopleNamedAndSaysHowItWent) {
    struct Case {
        std::vector<std::string> options;
        int exitCode;
        std::string out;
    };
    const std::vector<Case> cases = {
        {{"--people", "--person", "Lee|Ann||"}, 0, "1 people have been imported into this group\n"},
        {{"--people", "--all"}, 1, "2 duplicates were not imported out of 2 selections\n"},
        {{"--attendees", "--person", "Nobody"}, 1, ""},
        {{"--people", "--attendees"}, 2, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options[0] + " " + c.options[1]);
        std::vector<std::string> args{"import", group("Main"), group("Annex")};
        args.insert(args.end(), c.options.begin(), c.options.end());
        CliResult r = run(args);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
        EXPECT_EQ(r.out, c.out);
    }
    EXPECT_EQ(rawRecords(groups() + "/MainPeople.dbf").size(), 2u);
}

} // namespace
} // namespace orv::test
