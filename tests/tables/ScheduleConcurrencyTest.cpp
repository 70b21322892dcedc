// A real second process appends and deletes records of a date (and of the days around it)
// while this process walks that date over and over: no walk may fail, and no walk may give a
// record of another date.
#include "TableTestSupport.h"
#include "common/TempDir.h"
#include "tables/CFieldText.h"
#include "tables/CSchedule.h"

#include <gtest/gtest.h>

#include <chrono>
#include <set>

namespace orv {
namespace {

TEST(ScheduleConcurrency, WalkingADateWhileAnotherProcessChangesItGivesOnlyThatDate) {
    test::TempDir dir;
    test::QuietCode ctx;
    // Reads take the index lock for a moment; a refused lock is retried after 10 ms instead of
    // the usual second, so that the two processes meet often within a short test.
    ctx.code.lockRetryDelay = 1;
    const std::string group = dir.file("Busy.sch");
    CSchedule schedule(ctx.code);
    ASSERT_EQ(schedule.create(group), 0);
    // Some records before and after, so the date sits in the middle of the tag.
    for (int day : {14, 15, 16}) {
        for (int hour = 0; hour < 24; hour += 3) {
            test::Reservation r;
            r.day = day;
            r.item = "Alpha";
            r.startHour = hour;
            r.endHour = hour;
            ASSERT_EQ(test::addReservation(schedule, r), 0);
        }
    }

    test::HelperProcess writer;
    ASSERT_TRUE(writer.start("tables_day_writer", {group, "2024", "3", "15", "1000"}));
    ASSERT_EQ(writer.readLine(), "ready");

    const std::set<std::string> items = {"Alpha", "Bravo", "Charlie", "Delta", "Echo"};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    int walks = 0;
    long visited = 0;
    bool writerRunning = true;
    while (writerRunning || walks < 3) {
        writerRunning = writer.running();
        std::string previousKey;
        const int rc = schedule.walkDate("20240315", [&](const CScheduleRecord& r) {
            ++visited;
            EXPECT_TRUE(r.isOnDate("20240315")) << r.dateKey();
            EXPECT_EQ(r.dateKey(), "20240315");
            EXPECT_EQ(items.count(r.itemName()), 1u) << r.itemName();
            // Tag order never goes back within one walk.
            const std::string key = CFieldText::reservationKey(
                r.dateKey(), r.itemName(), CFieldText::zeroPadded(r.startHour(), 2),
                CFieldText::zeroPadded(r.startMinute(), 2));
            EXPECT_LE(previousKey, key);
            EXPECT_GT(r.recordNumber(), 0);
            previousKey = key;
            return true;
        });
        EXPECT_EQ(rc, 0);
        ++walks;
        if (std::chrono::steady_clock::now() > deadline) break;
        if (::testing::Test::HasFailure()) break;
    }
    EXPECT_EQ(writer.readLine().rfind("done ", 0), 0u);
    EXPECT_EQ(writer.wait(), 0);
    EXPECT_GE(walks, 3);
    RecordProperty("walks", walks);
    RecordProperty("visited", static_cast<int>(visited));
    EXPECT_GT(visited, 0);
    EXPECT_EQ(ctx.code.errorCode, 0);

    // Afterwards the walk sees exactly the date's records that a fresh reader sees.
    std::vector<CScheduleRecord> mine;
    ASSERT_EQ(schedule.recordsOnDate("20240315", mine), 0);
    test::QuietCode freshCtx;
    CSchedule fresh(freshCtx.code);
    ASSERT_EQ(fresh.open(group), 0);
    std::vector<CScheduleRecord> theirs;
    ASSERT_EQ(fresh.recordsOnDate("20240315", theirs), 0);
    ASSERT_EQ(mine.size(), theirs.size());
    for (std::size_t i = 0; i < mine.size(); ++i)
        EXPECT_EQ(mine[i].recordNumber(), theirs[i].recordNumber());
}

} // namespace
} // namespace orv
