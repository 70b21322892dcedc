// The predicates of the schedule record image, "now" taken from a fixed clock.
#include "tables/CFixedClock.h"
#include "tables/CScheduleRecord.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

CScheduleRecord onMarch15() {
    CScheduleRecord r;
    r.setDate(3, 15, 2024);
    r.setStartTime(9, 30);
    r.setEndTime(11, 0);
    return r;
}

class ClockGuard {
public:
    ClockGuard() { CClock::setCurrent(&m_clock); }
    ~ClockGuard() { CClock::setCurrent(nullptr); }
    CFixedClock& clock() { return m_clock; }

private:
    CFixedClock m_clock;
};

TEST(ScheduleImage, IsOnDateNeedsAnEightCharacterKeyNamingTheDate) {
    const CScheduleRecord r = onMarch15();
    EXPECT_TRUE(r.isOnDate("20240315"));
    EXPECT_FALSE(r.isOnDate("20240316"));
    EXPECT_FALSE(r.isOnDate("2024031"));
    EXPECT_FALSE(r.isOnDate("202403150"));
    EXPECT_FALSE(r.isOnDate(""));
}

TEST(ScheduleImage, IsBeforeComparesTheDateKeysAsText) {
    const CScheduleRecord r = onMarch15();
    EXPECT_TRUE(r.isBefore("20240316"));
    EXPECT_TRUE(r.isBefore("20250101"));
    EXPECT_FALSE(r.isBefore("20240315"));
    EXPECT_FALSE(r.isBefore("20240314"));
    EXPECT_FALSE(r.isBefore("2025"));
    EXPECT_TRUE(r.sameDate(3, 15, 2024));
    EXPECT_FALSE(r.sameDate(15, 3, 2024));
}

TEST(ScheduleImage, LabelIsTheShownNoteElseTheLastNameCutToLength) {
    CScheduleRecord r;
    r.setPerson("John", "", "Smithsonian-Whitfield-Jones", "");
    EXPECT_FALSE(r.hasNote());
    EXPECT_FALSE(r.showsNote());
    EXPECT_EQ(r.label(21), "Smithsonian-Whitfield");
    r.setShowNoteFlag(true);
    EXPECT_EQ(r.label(21), "Smithsonian-Whitfield"); // no note to show
    r.setNote("Quarterly planning with the board");
    EXPECT_TRUE(r.showsNote());
    EXPECT_EQ(r.label(21), "Quarterly planning wi");
    EXPECT_EQ(r.label(0), "");
    r.setShowNoteFlag(false);
    EXPECT_TRUE(r.hasNote());
    EXPECT_FALSE(r.showsNote());
    char buffer[6];
    r.label(buffer, 5);
    EXPECT_STREQ(buffer, "Smith");
}

TEST(ScheduleImage, FlagBitsAreSetAndClearedOneByOne) {
    CScheduleRecord r;
    r.setBlockoutFlag(true);
    r.setShowNoteFlag(true);
    EXPECT_EQ(r.flags(), 129);
    EXPECT_TRUE(r.isBlockout());
    EXPECT_FALSE(r.hasAttendees());
    r.setAttendeesFlag(true);
    r.setBlockoutFlag(false);
    EXPECT_EQ(r.flags(), 3);
    EXPECT_TRUE(r.hasAttendees());
}

TEST(ScheduleImage, IsActiveFromTheStartMinuteUpToButNotIncludingTheEnd) {
    ClockGuard guard;
    const CScheduleRecord r = onMarch15();
    guard.clock().setLocal(2024, 3, 15, 9, 29, 59);
    EXPECT_FALSE(r.isActiveNow());
    guard.clock().setLocal(2024, 3, 15, 9, 30, 0);
    EXPECT_TRUE(r.isActiveNow());
    guard.clock().setLocal(2024, 3, 15, 10, 59, 59);
    EXPECT_TRUE(r.isActiveNow());
    guard.clock().setLocal(2024, 3, 15, 11, 0, 0);
    EXPECT_FALSE(r.isActiveNow());
    guard.clock().setLocal(2024, 3, 16, 10, 0, 0);
    EXPECT_FALSE(r.isActiveNow());
}

TEST(ScheduleImage, RecurrenceEndTimeIsTheLastSecondOfTheEndDate) {
    CScheduleRecord r;
    r.setRecurrenceEnd(6, 28, 2024);
    std::time_t end = 0;
    ASSERT_TRUE(r.recurrenceEndTime(end));
    const std::tm tm = CClock::local(end);
    EXPECT_EQ(tm.tm_year, 124);
    EXPECT_EQ(tm.tm_mon, 5);
    EXPECT_EQ(tm.tm_mday, 28);
    EXPECT_EQ(tm.tm_hour, 23);
    EXPECT_EQ(tm.tm_min, 59);
    EXPECT_EQ(tm.tm_sec, 59);
}

TEST(ScheduleImage, RecurrenceEndTimeOfAnInvalidDateIsAnErrorNotACrash) {
    std::time_t end = 42;
    CScheduleRecord r;
    EXPECT_FALSE(r.recurrenceEndTime(end)); // 0/0/0: not set
    r.setRecurrenceEnd(2, 30, 2024);
    EXPECT_FALSE(r.recurrenceEndTime(end));
    r.setRecurrenceEnd(12, 31, 1899);
    EXPECT_FALSE(r.recurrenceEndTime(end));
    r.setRecurrenceEnd(13, 1, 2024);
    EXPECT_FALSE(r.recurrenceEndTime(end));
    EXPECT_EQ(end, 42);
    r.setRecurrenceEnd(2, 29, 2024);
    EXPECT_TRUE(r.recurrenceEndTime(end));
}

TEST(ScheduleImage, OlderLevelsStoreNoRecurrenceCodeOrEndDate) {
    CScheduleRecord oldest;
    oldest.setLevel(CScheduleRecord::Level::Oldest);
    oldest.setRecurrenceCode(7);
    oldest.setRecurrenceEnd(6, 28, 2024);
    EXPECT_EQ(oldest.recurrenceCode(), 0);
    EXPECT_EQ(oldest.recurEndYear(), 0);

    CScheduleRecord middle;
    middle.setLevel(CScheduleRecord::Level::Middle);
    middle.setRecurrenceCode(7);
    middle.setRecurrenceEnd(6, 28, 2024);
    EXPECT_EQ(middle.recurrenceCode(), 7);
    EXPECT_EQ(middle.recurEndYear(), 0);
    EXPECT_EQ(middle.recurEndMonth(), 0);
    EXPECT_EQ(middle.recurEndDay(), 0);

    middle.clear();
    EXPECT_EQ(middle.level(), CScheduleRecord::Level::Middle);
}

} // namespace
} // namespace orv
