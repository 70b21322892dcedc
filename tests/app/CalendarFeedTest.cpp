// The calendar file kept for a group follows the schedule: written at the first showing, and
// rewritten at the next tick after another process changed the group.
#include "ViewTestSupport.h"

#include "cli/CliRunner.h"
#include "exports/CCalendarFeed.h"

#include <filesystem>

namespace orv::test {
namespace {

class CalendarFeedTest : public ViewFixture {};

TEST_F(CalendarFeedTest, FollowsAnotherProcessesChangeWithinOneTick) {
    addNumberedItems(2);
    reserve("Room 1", 9, 9, 0, 10, 0, "First");
    reserve("Room 2", 9, 9, 0, 10, 0, "Second");
    const std::string folder = dir.file("feed");
    std::filesystem::create_directory(folder);
    doc = openDoc();
    CCalendarFeed(*doc).setFolder(folder);
    view = std::make_unique<CORVSchedView>(doc);
    view->show();
    const std::string file = folder + "/Room.ics";
    const std::string first = slurpFile(file);
    EXPECT_NE(first.find("SUMMARY:Room 1: First\\, Pat\r\n"), std::string::npos) << first;
    EXPECT_NE(first.find("SUMMARY:Room 2: Second\\, Pat\r\n"), std::string::npos);

    view->timerTick();
    EXPECT_EQ(slurpFile(file), first) << "nothing changed, nothing rewritten";
    const CliResult cancel = runCli({"cancel", group, "Room 1", "20261209", "09:00"}, dir.path());
    ASSERT_EQ(cancel.exitCode, 0) << cancel.err;
    view->timerTick();
    const std::string second = slurpFile(file);
    EXPECT_EQ(second.find("Room 1: First"), std::string::npos) << second;
    EXPECT_NE(second.find("SUMMARY:Room 2: Second\\, Pat\r\n"), std::string::npos);
    std::vector<std::string> left;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        left.push_back(e.path().filename().string());
    EXPECT_EQ(left, std::vector<std::string>{"Room.ics"}) << "no temporary file left behind";
}

} // namespace
} // namespace orv::test
