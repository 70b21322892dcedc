// orvsched-cli group-info, run as the built program on group files written here.
#include "group/CGroupFile.h"

#include "cli/CliRunner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdlib.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace orv {
namespace {

using namespace std::string_literals;

using RunResult = test::CliResult;

class GroupInfoTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "orv-cli-group-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }

    RunResult run(const std::vector<std::string>& args) const { return test::runCli(args, m_dir); }

    std::string writeSampleGroup() const {
        CGroupFileData data;
        data.description = "Conference Rooms \x96 East"; // en dash in Windows-1252
        data.kindWord = "room";
        CRoom a;
        a.setName("Boardroom");
        a.setLongDescription("Projector\r\nWhiteboard");
        a.setOccupancy(12);
        a.setDefaultLength(60);
        CRoom b;
        b.setName("Caf\xE9");
        b.setOccupancy(0);
        b.setDefaultLength(0);
        data.items = {a, b};
        data.reserved = {0, 5};
        data.window = CRect{10, 20, 630, 470};
        data.peopleFileName = "OfficesPeople.dbf";
        const std::string path = m_dir + "/Rooms.sch";
        std::string error;
        EXPECT_TRUE(CGroupFile::write(path, data, error)) << error;
        return path;
    }

    std::string m_dir;
};

TEST_F(GroupInfoTest, PrintsEveryValueOfTheGroupFileAndTheDerivedNames) {
    const std::string path = writeSampleGroup();
    const RunResult r = run({"group-info", path});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::string d = m_dir + "/";
    const std::string expected = "file:                " + path +
                                 "\n"
                                 "description:         Conference Rooms \xE2\x80\x93 East\n"
                                 "kind word:           Room / room\n"
                                 "new format:          yes\n"
                                 "items:               2\n"
                                 "item 1\n"
                                 "  name:              Boardroom\n"
                                 "  occupancy:         12\n"
                                 "  default length:    60\n"
                                 "  description:       Projector\\r\\nWhiteboard\n"
                                 "item 2\n"
                                 "  name:              Caf\xC3\xA9\n"
                                 "  occupancy:         0\n"
                                 "  default length:    0\n"
                                 "  description:       \n"
                                 "window rectangle:    10 20 630 470 (left top right bottom)\n"
                                 "reserved:            0 5\n"
                                 "people file name:    OfficesPeople.dbf\n"
                                 "group folder:        " +
                                 d +
                                 "\n"
                                 "base path:           " +
                                 d +
                                 "Rooms\n"
                                 "stamp file:          " +
                                 d +
                                 "RoomsUpdate.bin\n"
                                 "schedule table:      " +
                                 d +
                                 "RoomsSched\n"
                                 "people table:        " +
                                 d +
                                 "OfficesPeople.dbf\n"
                                 "roster link table:   " +
                                 d + "RoomsRosLnk\n";
    EXPECT_EQ(r.out, expected);
}

TEST_F(GroupInfoTest, GroupOwningItsPeopleShowsItsOwnPeopleTable) {
    CGroupFileData data;
    data.kindWord = "Car";
    const std::string path = m_dir + "/Cars.sch";
    std::string error;
    ASSERT_TRUE(CGroupFile::write(path, data, error)) << error;
    const RunResult r = run({"group-info", path});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("people file name:    (none: the group owns its people)\n"),
              std::string::npos);
    EXPECT_NE(r.out.find("people table:        " + m_dir + "/CarsPeople\n"), std::string::npos);
    EXPECT_NE(r.out.find("items:               0\n"), std::string::npos);
}

TEST_F(GroupInfoTest, OldFormatFileIsShownAsSuch) {
    // Header 1 without the new-format mark: the item has no default length.
    const std::string bytes = std::string("\x01\x00\x00\x00", 4) + "\x01G" + "\x01X" + "\x00"s +
                              std::string(4, '\0') + "\x04Room" + std::string(24, '\0');
    const std::string path = m_dir + "/Old.sch";
    std::ofstream(path, std::ios::binary) << bytes;
    const RunResult r = run({"group-info", path});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("new format:          no\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("  name:              X\n"), std::string::npos) << r.out;
}

TEST_F(GroupInfoTest, MissingFileFailsWithOneLineOnStandardError) {
    const RunResult r = run({"group-info", m_dir + "/Nowhere.sch"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind("orvsched-cli group-info: cannot open '", 0), 0u) << r.err;
    EXPECT_NE(r.err.find("Nowhere.sch"), std::string::npos);
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);
}

TEST_F(GroupInfoTest, CutOffFileFailsWithOneLineOnStandardError) {
    const std::string path = writeSampleGroup();
    std::filesystem::resize_file(path, 20);
    const RunResult r = run({"group-info", path});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("damaged or cut off"), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);
}

TEST_F(GroupInfoTest, WrongNumberOfArgumentsIsBadUsage) {
    EXPECT_EQ(run({"group-info"}).exitCode, 2);
    EXPECT_EQ(run({"group-info", "a.sch", "b.sch"}).exitCode, 2);
}

TEST_F(GroupInfoTest, UnknownOptionIsBadUsage) {
    const RunResult r = run({"group-info", "--verbose", "a.sch"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("--verbose"), std::string::npos) << r.err;
}

TEST_F(GroupInfoTest, HelpDescribesUsageAndExitsZero) {
    const RunResult r = run({"group-info", "--help"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out.rfind("usage: orvsched-cli group-info FILE.sch\n", 0), 0u) << r.out;
}

} // namespace
} // namespace orv
