// orvsched-cli sample-create: the sample group ./run shows, made and refreshed by the built
// program with the system clock.
#include "CliRunner.h"
#include "common/TempDir.h"
#include "group/CGroupFile.h"
#include "tables/CClock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

namespace orv::test {
namespace {

int lines(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

class SampleCliTest : public ::testing::Test {
protected:
    CliResult run(const std::vector<std::string>& args) { return runCli(args, dir.path()); }
    std::string folder() const { return dir.file("Samples"); }
    std::string group() const { return dir.file("Samples/Rooms.sch"); }
    TempDir dir;
};

TEST_F(SampleCliTest, CreatesRoomsPeopleAndReservationsWithConsistentIndexes) {
    const CliResult r = run({"sample-create", folder()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // "created PATH: N reservations and blockouts from today on, M running now"
    const std::string head = "created " + group() + ": ";
    ASSERT_EQ(r.out.rfind(head, 0), 0u) << r.out;
    int written = -1, running = -1;
    ASSERT_EQ(std::sscanf(r.out.c_str() + head.size(),
                          "%d reservations and blockouts from today on, %d running now", &written,
                          &running),
              2)
        << r.out;
    EXPECT_GE(written, 6);
    const std::tm now = CClock::current().localNow();
    if (now.tm_hour >= 1 && now.tm_hour < 22) {
        EXPECT_GE(running, 2) << "some rooms are in use now";
    }

    CGroupFileData data;
    std::string why;
    ASSERT_TRUE(CGroupFile::read(group(), data, why)) << why;
    EXPECT_EQ(data.kindWord, "Room");
    EXPECT_GE(data.items.size(), 6u);
    EXPECT_LE(data.items.size(), 9u);
    EXPECT_NE(data.window.right, 0) << "a window size that shows every room";

    // May reserve, and attendees.
    EXPECT_GE(lines(run({"people", group()}).out), 4);
    EXPECT_GE(lines(run({"people", group(), "--attendees"}).out), 3);
    EXPECT_GE(lines(run({"links", group()}).out), 2);
    const CliResult today = run({"today", group()});
    EXPECT_EQ(today.exitCode, 0) << today.err;
    for (const char* table : {"RoomsSched.dbf", "RoomsPeople.dbf", "RoomsRosLnk.dbf"}) {
        const CliResult check = run({"index-check", dir.file(std::string("Samples/") + table)});
        EXPECT_EQ(check.exitCode, 0) << table << check.out << check.err;
    }
    // A blockout among the coming days' records.
    EXPECT_NE(run({"dbf-dump", dir.file("Samples/RoomsSched.dbf")}).out.find("Blocked Out"),
              std::string::npos);
}

TEST_F(SampleCliTest, AnExistingSampleIsOnlyRefreshedOnRequestAndKeepsItsSize) {
    ASSERT_EQ(run({"sample-create", folder()}).exitCode, 0);
    const std::string sched = dir.file("Samples/RoomsSched.dbf");
    const int records = lines(run({"dbf-dump", sched}).out);
    const int links = lines(run({"links", group()}).out);

    const CliResult again = run({"sample-create", folder()});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_NE(again.err.find("exists already"), std::string::npos);

    const CliResult refreshed = run({"sample-create", folder(), "--refresh"});
    ASSERT_EQ(refreshed.exitCode, 0) << refreshed.err;
    EXPECT_EQ(refreshed.out.rfind("refreshed " + group(), 0), 0u) << refreshed.out;
    EXPECT_EQ(lines(run({"dbf-dump", sched}).out), records);
    EXPECT_EQ(lines(run({"links", group()}).out), links);
    EXPECT_EQ(run({"index-check", sched}).exitCode, 0);
}

TEST_F(SampleCliTest, RefreshWritesNothingForARoomTheUserDeleted) {
    ASSERT_EQ(run({"sample-create", folder()}).exitCode, 0);
    ASSERT_EQ(run({"item-delete", group(), "Boardroom", "--yes"}).exitCode, 0);
    ASSERT_EQ(run({"sample-create", folder(), "--refresh"}).exitCode, 0);
    EXPECT_EQ(run({"dbf-dump", dir.file("Samples/RoomsSched.dbf")}).out.find("|Boardroom"),
              std::string::npos);
    EXPECT_EQ(run({"index-check", dir.file("Samples/RoomsSched.dbf")}).exitCode, 0);
}

TEST_F(SampleCliTest, BadUsage) {
    EXPECT_EQ(run({"sample-create"}).exitCode, 2);
    EXPECT_EQ(run({"sample-create", folder(), "--nope"}).exitCode, 2);
}

} // namespace
} // namespace orv::test
