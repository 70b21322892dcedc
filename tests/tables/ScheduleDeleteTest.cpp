// Deleting all records of an item, and deleting records and roster links older than a date.
#include "TableTestSupport.h"
#include "common/TempDir.h"
#include "tables/CFixedClock.h"
#include "tables/CRosterLink.h"
#include "tables/CSchedule.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::Reservation;

class ScheduleDeleteTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(m_schedule.create(group()), 0);
        ASSERT_EQ(m_links.create(group()), 0);
    }
    void TearDown() override { CClock::setCurrent(nullptr); }
    std::string group() const { return m_dir.file("Rooms.sch"); }

    void add(int month, int day, const std::string& item, int startHour, int links = 0) {
        Reservation r;
        r.month = month;
        r.day = day;
        r.item = item;
        r.startHour = startHour;
        r.endHour = startHour + 1;
        r.flags = links ? CScheduleRecord::kFlagAttendees : 0;
        ASSERT_EQ(test::addReservation(m_schedule, r), 0);
        for (int i = 0; i < links; ++i) {
            m_links.clearImage();
            m_links.setDate(month, day, 2024);
            m_links.setItemName(item);
            m_links.setStartTime(startHour, 0);
            m_links.setPerson(CPeopleKey("P" + std::to_string(i), "", "Person", ""));
            ASSERT_EQ(m_links.append(), 0);
        }
    }

    std::vector<std::string> remaining() {
        std::vector<std::string> out;
        for (int rc = m_schedule.first(); rc == 0; rc = m_schedule.next())
            out.push_back(m_schedule.image().dateKey() + " " + m_schedule.image().itemName());
        return out;
    }

    int linkCount() {
        int n = 0;
        for (int rc = m_links.first(); rc == 0; rc = m_links.next())
            ++n;
        return n;
    }

    test::TempDir m_dir;
    test::QuietCode m_ctx;
    CSchedule m_schedule{m_ctx.code};
    CRosterLink m_links{m_ctx.code};
};

TEST_F(ScheduleDeleteTest, DeletingAnItemRemovesExactlyThatNamesRecordsOnEveryDate) {
    add(3, 14, "Alpha", 9);
    add(3, 14, "Alpha2", 9);
    add(3, 15, "alpha", 9);
    add(3, 15, "Alpha", 9);
    add(3, 15, "Alpha", 10);
    add(4, 1, "Bravo", 9);
    add(5, 1, "Alpha", 9);
    int deleted = -1;
    EXPECT_EQ(m_schedule.deleteItemRecords("Alpha", &deleted), 0);
    EXPECT_EQ(deleted, 4);
    EXPECT_EQ(remaining(),
              (std::vector<std::string>{"20240314 Alpha2", "20240315 alpha", "20240401 Bravo"}));
    // The deleted records stay in the file, marked.
    m_schedule.close();
    const std::string dbf = m_dir.file("RoomsSched.dbf");
    EXPECT_EQ(test::recordCountInHeader(dbf), 7);
    EXPECT_EQ(test::recordBytes(dbf, 1)[0], '*');
    EXPECT_EQ(test::recordBytes(dbf, 2)[0], ' ');
    EXPECT_EQ(test::recordBytes(dbf, 7)[0], '*');
}

TEST_F(ScheduleDeleteTest, DeletingOldCountsScheduleRecordsAndTheirLinks) {
    add(3, 1, "Alpha", 9, 1);
    add(3, 2, "Alpha", 9, 1);
    add(3, 2, "Bravo", 9);
    add(3, 3, "Alpha", 9, 2);
    add(3, 4, "Alpha", 9);
    EXPECT_EQ(m_schedule.deleteOlderThan("20240303", &m_links), 5);
    EXPECT_EQ(remaining(), (std::vector<std::string>{"20240303 Alpha", "20240304 Alpha"}));
    EXPECT_EQ(linkCount(), 2);
    EXPECT_EQ(m_schedule.deleteOlderThan("20240303", &m_links), 0);
}

TEST_F(ScheduleDeleteTest, DeletingOldWithoutAKeyGoesBack31DaysFromTheClock) {
    CFixedClock clock;
    clock.setLocal(2024, 4, 2, 12, 0, 0); // 31 days back: 2 March, 12:00
    CClock::setCurrent(&clock);
    add(3, 1, "Alpha", 9, 1);
    add(3, 2, "Alpha", 9, 1);
    add(3, 3, "Alpha", 9);
    EXPECT_EQ(m_schedule.deleteOlderThan("", &m_links), 2);
    EXPECT_EQ(remaining(), (std::vector<std::string>{"20240302 Alpha", "20240303 Alpha"}));
    EXPECT_EQ(linkCount(), 1);
}

TEST_F(ScheduleDeleteTest, DeletingOldWithoutALinkTableCountsScheduleRecordsOnly) {
    add(3, 1, "Alpha", 9, 1);
    EXPECT_EQ(m_schedule.deleteOlderThan("20240310", nullptr), 1);
    EXPECT_EQ(linkCount(), 1);
}

TEST_F(ScheduleDeleteTest, DeletingLeavesNoLockThatWouldStopAnotherUser) {
    add(3, 1, "Alpha", 9, 1);
    add(3, 2, "Bravo", 9);
    add(3, 3, "Alpha", 9);
    EXPECT_EQ(m_schedule.deleteOlderThan("20240303", &m_links), 3);
    EXPECT_EQ(m_schedule.deleteItemRecords("Alpha"), 0);
    // Another context opens its own file descriptions, so its locks meet ours as another
    // process's would.
    test::QuietCode other;
    other.code.lockRetries = 1;
    Data4* schedule = d4open(&other.code, m_dir.file("RoomsSched"));
    ASSERT_NE(schedule, nullptr);
    EXPECT_EQ(d4lockAll(schedule), 0);
    d4unlock(schedule);
    Data4* links = d4open(&other.code, m_dir.file("RoomsRosLnk"));
    ASSERT_NE(links, nullptr);
    EXPECT_EQ(d4lockAll(links), 0);
}

} // namespace
} // namespace orv
