// Seeking in "SCHEDTAG" and the walks built on it: one date, one item on one date, the
// earliest date, and today's list.
#include "TableTestSupport.h"
#include "common/TempDir.h"
#include "tables/CSchedule.h"

#include <gtest/gtest.h>

#include <cstring>

namespace orv {
namespace {

using test::Reservation;

class ScheduleWalkTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(m_schedule.create(m_dir.file("Rooms.sch")), 0); }

    void add(int day, const std::string& item, int startHour, int startMinute = 0,
             const std::string& last = "Smith", const std::string& note = "", int flags = 0) {
        Reservation r;
        r.day = day;
        r.item = item;
        r.startHour = startHour;
        r.startMinute = startMinute;
        r.endHour = startHour + 1;
        r.lastName = last;
        r.note = note;
        r.flags = flags;
        ASSERT_EQ(test::addReservation(m_schedule, r), 0);
    }

    test::TempDir m_dir;
    test::QuietCode m_ctx;
    CSchedule m_schedule{m_ctx.code};
};

TEST_F(ScheduleWalkTest, ExactSeekFindsTheReservation) {
    add(15, "Boardroom", 9, 30);
    add(15, "Boardroom", 10);
    ASSERT_EQ(m_schedule.seek("20240315", "Boardroom", "10", "00"), 0);
    EXPECT_EQ(m_schedule.image().startHour(), 10);
    EXPECT_EQ(m_schedule.image().recordNumber(), 2);
    EXPECT_EQ(m_schedule.recordNumber(), 2);
}

TEST_F(ScheduleWalkTest, SeekWithAnEmptyHourAcceptsTheNextGreaterKey) {
    add(15, "Boardroom", 9, 30);
    ASSERT_EQ(m_schedule.seek("20240315", "Boardroom", "", ""), 0);
    EXPECT_EQ(m_schedule.image().startHour(), 9);
    EXPECT_EQ(m_schedule.image().startMinute(), 30);
}

TEST_F(ScheduleWalkTest, SeekWithAGivenHourThatMissesReadsNothing) {
    add(15, "Boardroom", 9, 30);
    m_schedule.image().setNote("left over");
    EXPECT_EQ(m_schedule.seek("20240315", "Boardroom", "09", "00"), res4after);
    EXPECT_EQ(m_schedule.image().itemName(), "");
    EXPECT_EQ(m_schedule.image().note(), "");
    EXPECT_EQ(m_schedule.image().year(), 0);
}

TEST_F(ScheduleWalkTest, DateWithNoRecordsLandsOnALaterDateWhichTheDateCheckRejects) {
    add(14, "Boardroom", 9);
    add(16, "Boardroom", 9);
    ASSERT_EQ(m_schedule.seek("20240315", "", "", ""), 0);
    EXPECT_EQ(m_schedule.image().day(), 16);
    EXPECT_FALSE(m_schedule.image().isOnDate("20240315"));
    std::vector<CScheduleRecord> records;
    EXPECT_EQ(m_schedule.recordsOnDate("20240315", records), 0);
    EXPECT_TRUE(records.empty());
}

TEST_F(ScheduleWalkTest, SeekPastTheLastKeyGivesEofAndAClearedImage) {
    add(14, "Boardroom", 9);
    EXPECT_EQ(m_schedule.seek("20240315", "", "", ""), res4eof);
    EXPECT_EQ(m_schedule.image().day(), 0);
    EXPECT_EQ(m_schedule.image().lastName(), "");
    std::vector<CScheduleRecord> records;
    EXPECT_EQ(m_schedule.recordsOnDate("20240315", records), 0);
    EXPECT_TRUE(records.empty());
}

TEST_F(ScheduleWalkTest, EmptyTableAnswersEofEverywhere) {
    EXPECT_EQ(m_schedule.first(), res4eof);
    EXPECT_EQ(m_schedule.seek("20240315", "", "", ""), res4eof);
    int m = 0, d = 0, y = 0;
    EXPECT_EQ(m_schedule.earliestDate(m, d, y), res4eof);
}

TEST_F(ScheduleWalkTest, DateWalkGivesTheDateInItemAndTimeOrder) {
    add(16, "Alpha", 8);
    add(15, "Charlie", 8);
    add(15, "Alpha", 14);
    add(14, "Alpha", 9);
    add(15, "Alpha", 9, 15);
    add(15, "Bravo", 7);
    std::vector<CScheduleRecord> records;
    ASSERT_EQ(m_schedule.recordsOnDate("20240315", records), 0);
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0].itemName(), "Alpha");
    EXPECT_EQ(records[0].startHour(), 9);
    EXPECT_EQ(records[1].itemName(), "Alpha");
    EXPECT_EQ(records[1].startHour(), 14);
    EXPECT_EQ(records[2].itemName(), "Bravo");
    EXPECT_EQ(records[3].itemName(), "Charlie");

    std::vector<CScheduleRecord> alpha;
    ASSERT_EQ(m_schedule.recordsOfItemOnDate("20240315", "Alpha", alpha), 0);
    ASSERT_EQ(alpha.size(), 2u);
    EXPECT_EQ(alpha[0].startMinute(), 15);
    EXPECT_EQ(alpha[1].startHour(), 14);

    std::vector<CScheduleRecord> none;
    ASSERT_EQ(m_schedule.recordsOfItemOnDate("20240315", "Alph", none), 0);
    EXPECT_TRUE(none.empty());

    int visits = 0;
    EXPECT_EQ(
        m_schedule.walkDate("20240315", [&visits](const CScheduleRecord&) { return ++visits < 2; }),
        0);
    EXPECT_EQ(visits, 2);

    int m = 0, d = 0, y = 0;
    ASSERT_EQ(m_schedule.earliestDate(m, d, y), 0);
    EXPECT_EQ(m, 3);
    EXPECT_EQ(d, 14);
    EXPECT_EQ(y, 2024);
}

TEST_F(ScheduleWalkTest, DeletedRecordsAreNotWalked) {
    add(15, "Alpha", 8);
    add(15, "Alpha", 9);
    add(15, "Alpha", 10);
    ASSERT_EQ(m_schedule.seek("20240315", "Alpha", "09", "00"), 0);
    EXPECT_EQ(m_schedule.deleteCurrent(), 0);
    EXPECT_EQ(m_schedule.unlock(), 0);
    std::vector<CScheduleRecord> records;
    ASSERT_EQ(m_schedule.recordsOnDate("20240315", records), 0);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].startHour(), 8);
    EXPECT_EQ(records[1].startHour(), 10);
}

// An item list of the kind the group document keeps: names in group order.
struct Items {
    std::vector<std::string> names;
    int count() const { return static_cast<int>(names.size()); }
    int find(const std::string& name) const {
        for (std::size_t i = 0; i < names.size(); ++i)
            if (names[i] == name) return static_cast<int>(i);
        return -1;
    }
};

TEST_F(ScheduleWalkTest, TodaysListTakesTheDatesRecordsOfItemsStillInTheGroup) {
    add(15, "Alpha", 8, 0, "Smith");
    add(15, "Gone", 9, 0, "Jones");
    add(15, "Bravo", 10, 30, "Out", "Blocked Out", 129);
    add(15, "bravo", 11, 0, "Lower");
    add(16, "Alpha", 8, 0, "Tomorrow");
    const Items items{{"Bravo", "Alpha", "Bravo"}};
    std::vector<_SCHEDITEM> list;
    ASSERT_EQ(m_schedule.loadTodaysList("20240315", items, list), 0);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].itemIndex, 1);
    EXPECT_EQ(list[0].startHour, 8);
    EXPECT_EQ(list[0].endHour, 9);
    EXPECT_EQ(list[0].blockedOut, 0);
    EXPECT_STREQ(list[0].label, "Smith");
    EXPECT_EQ(list[1].itemIndex, 0);
    EXPECT_EQ(list[1].startHour, 10);
    EXPECT_EQ(list[1].startMinute, 30);
    EXPECT_NE(list[1].blockedOut, 0);
    EXPECT_STREQ(list[1].label, "Blocked Out");
}

TEST_F(ScheduleWalkTest, TodaysListLooksANameUpOnlyWhenItChanges) {
    add(15, "Alpha", 8);
    add(15, "Alpha", 9);
    add(15, "Alpha", 10);
    add(15, "Bravo", 8);
    add(15, "Charlie", 8);
    add(15, "Charlie", 9);
    std::vector<std::string> asked;
    std::vector<_SCHEDITEM> list;
    ASSERT_EQ(m_schedule.loadTodaysList(
                  "20240315", 3,
                  [&asked](const std::string& name) {
                      asked.push_back(name);
                      return name == "Bravo" ? -1 : 7;
                  },
                  list),
              0);
    EXPECT_EQ(asked, (std::vector<std::string>{"Alpha", "Bravo", "Charlie"}));
    EXPECT_EQ(list.size(), 5u);
}

TEST_F(ScheduleWalkTest, TodaysListLabelIsTheShownNoteOrTheLastNameAtMost21Characters) {
    add(15, "Alpha", 8, 0, "Abcdefghijklmnopqrstu", "", 0);
    add(15, "Alpha", 9, 0, "Short", "Note that is far too long for a box", 1);
    add(15, "Alpha", 10, 0, "NoFlag", "A note that is not shown", 0);
    add(15, "Alpha", 11, 0, "Flagged", "", 1);
    const Items items{{"Alpha"}};
    std::vector<_SCHEDITEM> list;
    ASSERT_EQ(m_schedule.loadTodaysList("20240315", items, list), 0);
    ASSERT_EQ(list.size(), 4u);
    EXPECT_STREQ(list[0].label, "Abcdefghijklmnopqrstu");
    EXPECT_EQ(std::strlen(list[1].label), 21u);
    EXPECT_STREQ(list[1].label, "Note that is far too ");
    EXPECT_STREQ(list[2].label, "NoFlag");
    EXPECT_STREQ(list[3].label, "Flagged");
}

TEST_F(ScheduleWalkTest, TodaysListIsEmptyAtOnceWhenTheGroupHasNoItems) {
    add(15, "Alpha", 8);
    std::vector<_SCHEDITEM> list(3);
    bool asked = false;
    ASSERT_EQ(m_schedule.loadTodaysList(
                  "20240315", 0,
                  [&asked](const std::string&) {
                      asked = true;
                      return 0;
                  },
                  list),
              0);
    EXPECT_TRUE(list.empty());
    EXPECT_FALSE(asked);
    // It did not even move the table.
    EXPECT_EQ(m_schedule.image().itemName(), "Alpha");
}

} // namespace
} // namespace orv
