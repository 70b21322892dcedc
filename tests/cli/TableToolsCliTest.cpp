// The table tools of the command line: building, filling, reading, seeking, deleting, packing and
// checking a table, on tables of our own and of other software.
#include "cli/CliRunner.h"
#include "common/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace orv::test;

namespace {

class TableTools : public ::testing::Test {
protected:
    CliResult cli(const std::vector<std::string>& args, const std::string& input = "") {
        return runCli(args, dir.path(), input);
    }
    TempDir dir;
};

TEST_F(TableTools, BuildFillReadSeekDeleteAndPackATable) {
    const std::string t = dir.file("Rooms");
    auto r = cli({"dbf-create", t, "--field", "NAME:6", "--field", "SIZE:3", "--tag",
                  "NAMETAG:NAME:.NOT. DELETED():unique"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    r = cli({"dbf-append", t + ".dbf"}, "Lab|12\nBoard|16\nLab|99\nAtrium|200\n");
    ASSERT_EQ(r.exitCode, 3) << "done in part: " << r.err;
    EXPECT_EQ(r.out, "line 3: 20 (res4unique)\n");
    EXPECT_EQ(r.err, "3 appended, 1 refused\n");

    r = cli({"dbf-dump", t + ".dbf"});
    EXPECT_EQ(r.out, "Lab   |12 \nBoard |16 \nAtrium|200\n");
    r = cli({"dbf-dump", t + ".dbf", "--tag", "NAMETAG"});
    EXPECT_EQ(r.out, "Atrium|200\nBoard |16 \nLab   |12 \n");

    r = cli({"seek", t + ".dbf", "NAMETAG", "Bo"});
    EXPECT_EQ(r.out, "result: 0 (res4success)\nrecord 2: Board |16 \n");
    r = cli({"seek", t + ".dbf", "NAMETAG", "C"});
    EXPECT_EQ(r.out, "result: 2 (res4after)\nrecord 1: Lab   |12 \n");
    r = cli({"seek", t + ".dbf", "NAMETAG", "Z"});
    EXPECT_EQ(r.out, "result: 3 (res4eof)\n");

    ASSERT_EQ(cli({"dbf-delete", t + ".dbf", "2"}).exitCode, 0);
    r = cli({"dbf-dump", t + ".dbf", "--deleted"});
    EXPECT_EQ(r.out, " |Lab   |12 \n*|Board |16 \n |Atrium|200\n");
    r = cli({"index-check", t + ".dbf"});
    EXPECT_EQ(r.out, "ok NAMETAG=2\n");

    r = cli({"pack", t + ".dbf"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "packed: 2 records kept, 1 removed\n");
    r = cli({"dbf-info", t + ".dbf"});
    EXPECT_NE(r.out.find("records: 2\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("  1   NAME       C        6        0      1\n"), std::string::npos) << r.out;
    EXPECT_EQ(cli({"reindex", t + ".dbf"}).out, "reindexed\n");
    EXPECT_EQ(cli({"index-check", t + ".dbf"}).out, "ok NAMETAG=2\n");
}

TEST_F(TableTools, IndexCheckFindsADamagedTagAndReindexRepairsIt) {
    for (const char* f : {"FSCHED.dbf", "FSCHED.cdx"}) {
        std::filesystem::copy_file(std::string(ORV_FIXTURE_DIR) + "/foreign/" + f, dir.file(f));
        std::filesystem::permissions(dir.file(f), std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add);
    }
    const std::string t = dir.file("FSCHED.dbf");
    EXPECT_EQ(cli({"index-check", t}).out, "ok SCHEDTAG=4800\n");
    // A record rewritten behind the index's back: its key no longer matches.
    {
        std::fstream f(t, std::ios::binary | std::ios::in | std::ios::out);
        f.seekp(258 + 10 * 58 + 1);
        f.write("19990101", 8);
    }
    auto r = cli({"index-check", t});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("tag SCHEDTAG:"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("; repair it with: orvsched-cli reindex " + t + "\n"), std::string::npos) << r.err;
    EXPECT_EQ(cli({"reindex", t}).exitCode, 0);
    EXPECT_EQ(cli({"index-check", t}).out, "ok SCHEDTAG=4800\n");
}

TEST_F(TableTools, ValuesWithBarsBackslashesAndLineBreaksReadBackAsDumped) {
    const std::string t = dir.file("Notes");
    ASSERT_EQ(cli({"dbf-create", t, "--field", "A:6", "--field", "B:6"}).exitCode, 0);
    // Written the way dbf-dump shows them: "\\|" is a bar inside a value, "\\\\" a backslash.
    const std::string lines = "a\\|b|c\\\\d\nx\\ny|\\x01\\r\n";
    ASSERT_EQ(cli({"dbf-append", t + ".dbf"}, lines).exitCode, 0);
    const std::string dumped = cli({"dbf-dump", t + ".dbf"}).out;
    EXPECT_EQ(dumped, "a\\|b   |c\\\\d   \nx\\ny   |\\x01\\r    \n");
    ASSERT_EQ(cli({"dbf-append", t + ".dbf"}, dumped).exitCode, 0);
    EXPECT_EQ(cli({"dbf-dump", t + ".dbf"}).out, dumped + dumped);
}

TEST_F(TableTools, BadUsageAndMissingFilesGiveTheirExitCodes) {
    EXPECT_EQ(cli({"dbf-dump"}).exitCode, 2);
    EXPECT_EQ(cli({"dbf-create", dir.file("x"), "--field", "NAME"}).exitCode, 2);
    auto r = cli({"dbf-info", dir.file("missing.dbf")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "orvsched-cli dbf-info: cannot open " + dir.file("missing.dbf") +
                         ": -64 File Find Error Opening File\n");
    EXPECT_EQ(cli({"seek", "--help"}).exitCode, 0);
}

} // namespace
