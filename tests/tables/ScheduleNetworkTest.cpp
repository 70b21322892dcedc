// The schedule's walks on the engine's network path (a counting file layer that reports every
// path as a network one): today's list and an item's day make a few reads, not one per record,
// and a new list sees another user's change.
#include "TableTestSupport.h"
#include "common/CountingFs.h"
#include "common/TempDir.h"
#include "tables/CSchedule.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

constexpr int kItems = 60;
constexpr int kPerItem = 8;

std::string itemName(int i) {
    return "Room " + std::to_string(100 + i);
}

class ScheduleNetworkTest : public ::testing::Test {
protected:
    void SetUp() override {
        {
            test::QuietCode maker;
            CSchedule schedule(maker.code);
            ASSERT_EQ(schedule.create(m_dir.file("Rooms.sch")), 0);
            ASSERT_EQ(schedule.lockAll(), 0);
            for (int day = 14; day <= 16; ++day)
                for (int item = 0; item < kItems; ++item)
                    for (int j = 0; j < kPerItem; ++j) {
                        test::Reservation r;
                        r.day = day;
                        r.item = itemName(item);
                        r.startHour = 7 + j;
                        r.endHour = 8 + j;
                        r.lastName = "Person" + std::to_string(j);
                        schedule.clearImage();
                        CScheduleRecord& image = schedule.image();
                        image.setDate(r.month, r.day, r.year);
                        image.setItemName(r.item);
                        image.setStartTime(r.startHour, r.startMinute);
                        image.setEndTime(r.endHour, r.endMinute);
                        image.setPerson(r.firstName, r.middleInitial, r.lastName, r.department);
                        image.setMade(3, 1, 2024, 8, 0, 0);
                        ASSERT_EQ(schedule.appendHoldingLock(), 0);
                    }
            ASSERT_EQ(schedule.unlock(), 0);
        }
        m_fs.network = true;
        code4init(&m_code, &m_fs);
        m_code.silentErrors = 1;
        ASSERT_EQ(m_schedule.open(m_dir.file("Rooms.sch")), 0);
    }
    void TearDown() override { code4initUndo(&m_code); }

    int loadToday(std::vector<_SCHEDITEM>& list) {
        return m_schedule.loadTodaysList(
            "20240315", kItems,
            [](const std::string& name) { return std::stoi(name.substr(5)) - 100; }, list);
    }

    test::TempDir m_dir;
    test::CountingFs m_fs;
    Code4 m_code;
    CSchedule m_schedule{m_code};
};

TEST_F(ScheduleNetworkTest, TodaysListReadsBlocksNotRecords) {
    std::vector<_SCHEDITEM> list;
    m_fs.reset();
    ASSERT_EQ(loadToday(list), 0);
    EXPECT_EQ(list.size(), static_cast<std::size_t>(kItems * kPerItem));
    // 480 records of 202 bytes (95 KiB): the index header, index blocks, record blocks of 4,
    // 8, 16, 32 and 64 KiB.
    EXPECT_LE(m_fs.counts.reads, 10);
    // The same list again: a new walk reads the index header and the records anew.
    m_fs.reset();
    ASSERT_EQ(loadToday(list), 0);
    EXPECT_EQ(list.size(), static_cast<std::size_t>(kItems * kPerItem));
    EXPECT_LE(m_fs.counts.reads, 8);
    EXPECT_GE(m_fs.counts.reads, 3);
}

TEST_F(ScheduleNetworkTest, AnItemsDayIsAFewReads) {
    std::vector<CScheduleRecord> records;
    ASSERT_EQ(m_schedule.recordsOfItemOnDate("20240315", itemName(30), records), 0);
    records.clear();
    m_fs.reset();
    ASSERT_EQ(m_schedule.recordsOfItemOnDate("20240315", itemName(31), records), 0);
    EXPECT_EQ(records.size(), static_cast<std::size_t>(kPerItem));
    EXPECT_LE(m_fs.counts.reads, 4);
}

TEST_F(ScheduleNetworkTest, ANewListSeesAnotherUsersChange) {
    std::vector<_SCHEDITEM> list;
    ASSERT_EQ(loadToday(list), 0);
    ASSERT_STRNE(list[5].label, "Changed");
    {
        // Another user (another context: its own open of the files and its own locks).
        test::QuietCode other;
        CSchedule schedule(other.code);
        ASSERT_EQ(schedule.open(m_dir.file("Rooms.sch")), 0);
        ASSERT_EQ(schedule.seek("20240315", itemName(0), "12", "00"), 0);
        ASSERT_EQ(schedule.relockCurrent(), 0);
        schedule.image().setPerson("John", "Q", "Changed", "Sales");
        ASSERT_EQ(schedule.update(), 0);
        ASSERT_EQ(schedule.unlock(), 0);
    }
    ASSERT_EQ(loadToday(list), 0);
    EXPECT_STREQ(list[5].label, "Changed");
}

TEST_F(ScheduleNetworkTest, TheRecordReReadBeforeAChangeSeesAnotherUsersWrite) {
    ASSERT_EQ(m_schedule.seek("20240315", itemName(2), "09", "00"), 0);
    {
        test::QuietCode other;
        CSchedule schedule(other.code);
        ASSERT_EQ(schedule.open(m_dir.file("Rooms.sch")), 0);
        ASSERT_EQ(schedule.seek("20240315", itemName(2), "09", "00"), 0);
        ASSERT_EQ(schedule.relockCurrent(), 0);
        schedule.image().setNote("theirs");
        ASSERT_EQ(schedule.update(), 0);
        ASSERT_EQ(schedule.unlock(), 0);
    }
    EXPECT_EQ(m_schedule.image().note(), "");
    ASSERT_EQ(m_schedule.relockCurrent(), 0);
    EXPECT_EQ(m_schedule.image().note(), "theirs");
    ASSERT_EQ(m_schedule.unlock(), 0);
}

} // namespace
} // namespace orv
