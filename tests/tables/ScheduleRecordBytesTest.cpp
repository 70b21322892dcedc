// The stored form of schedule records, byte for byte, and the field encodings.
#include "TableTestSupport.h"
#include "common/TempDir.h"
#include "tables/CSchedule.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace orv {
namespace {

using test::padded;

class ScheduleBytesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(m_schedule.create(group()), 0); }
    std::string group() const { return m_dir.file("Rooms.sch"); }
    std::string dbf() const { return m_dir.file("RoomsSched.dbf"); }

    test::TempDir m_dir;
    test::QuietCode m_ctx;
    CSchedule m_schedule{m_ctx.code};
};

TEST_F(ScheduleBytesTest, TableIsNamedAfterTheGroupAndHasSeventeenFields) {
    EXPECT_EQ(m_schedule.tableName(), m_dir.file("RoomsSched"));
    EXPECT_TRUE(std::filesystem::exists(m_dir.file("RoomsSched.cdx")));
    EXPECT_FALSE(m_schedule.oldFormat());
    EXPECT_FALSE(m_schedule.noRecurrenceField());
    const auto b = test::readBytes(dbf());
    EXPECT_EQ(test::le16At(b, 8), 32 * 17 + 33);
    EXPECT_EQ(test::le16At(b, 10),
              1 + 8 + 20 + 2 + 2 + 2 + 2 + 21 + 16 + 2 + 10 + 80 + 8 + 4 + 3 + 5 + 8 + 8);
}

TEST_F(ScheduleBytesTest, ReservationRecordIsStoredExactly) {
    m_schedule.clearImage();
    CScheduleRecord& r = m_schedule.image();
    r.setDate(3, 15, 2024);
    r.setItemName("Boardroom");
    r.setStartTime(9, 30);
    r.setEndTime(11, 0);
    r.setPerson("John", "Q", "Smith", "Sales");
    r.setNote("Budget review");
    r.setMade(3, 1, 2024, 14, 5, 37);
    r.setRecurrenceCode(7);
    r.setRecurrenceEnd(6, 28, 2024);
    r.setAttendeesFlag(true);
    r.setShowNoteFlag(true);
    ASSERT_EQ(m_schedule.append(), 0);
    m_schedule.close();

    const std::string expected = " 20240315" + padded("Boardroom", 20) + "0930" + "1100" +
                                 padded("Smith", 21) + padded("John", 16) + "Q " +
                                 padded("Sales", 10) + padded("Budget review", 80) + "20240301" +
                                 "1405" + "377" + "00003" + "20240628" + padded("", 8);
    EXPECT_EQ(test::recordBytes(dbf(), 1), expected);
    const auto b = test::readBytes(dbf());
    EXPECT_EQ(test::le32At(b, 4), 1u);
    EXPECT_EQ(b.back(), 0x1A);
}

TEST_F(ScheduleBytesTest, BlockoutRecordIsStoredExactly) {
    m_schedule.clearImage();
    CScheduleRecord& r = m_schedule.image();
    r.setDate(12, 1, 2025);
    r.setItemName("Lab 2");
    r.setStartTime(13, 0);
    r.setEndTime(17, 45);
    r.setPerson("Blocked", "", "Out", "");
    r.setNote("Blocked Out");
    r.setMade(11, 30, 2025, 8, 7, 12);
    r.setBlockoutFlag(true);
    r.setShowNoteFlag(true);
    ASSERT_EQ(m_schedule.append(), 0);
    m_schedule.close();

    const std::string expected = " 20251201" + padded("Lab 2", 20) + "1300" + "1745" +
                                 padded("Out", 21) + padded("Blocked", 16) + "  " + padded("", 10) +
                                 padded("Blocked Out", 80) + "20251130" + "0807" + "000" + "00129" +
                                 "00000000" + padded("", 8);
    EXPECT_EQ(test::recordBytes(dbf(), 1), expected);
}

TEST_F(ScheduleBytesTest, RecurDaysIsCodePlusTenTimesSecondsAndZeroWithoutRecurrence) {
    test::Reservation a;
    ASSERT_EQ(test::addReservation(m_schedule, a), 0);
    m_schedule.clearImage();
    m_schedule.image().setDate(3, 15, 2024);
    m_schedule.image().setItemName("Boardroom");
    m_schedule.image().setStartTime(10, 0);
    m_schedule.image().setMade(3, 1, 2024, 8, 0, 37);
    m_schedule.image().setRecurrenceCode(0);
    ASSERT_EQ(m_schedule.append(), 0);
    // The seconds of a record without recurrence are dropped from the image as well.
    EXPECT_EQ(m_schedule.image().madeSeconds(), 0);
    m_schedule.image().setStartTime(11, 0);
    m_schedule.image().setMade(3, 1, 2024, 8, 0, 37);
    m_schedule.image().setRecurrenceCode(7);
    ASSERT_EQ(m_schedule.append(), 0);
    m_schedule.close();
    const std::size_t recurDays = 1 + 8 + 20 + 2 + 2 + 2 + 2 + 21 + 16 + 2 + 10 + 80 + 8 + 4;
    EXPECT_EQ(test::recordBytes(dbf(), 2).substr(recurDays, 3), "000");
    EXPECT_EQ(test::recordBytes(dbf(), 3).substr(recurDays, 3), "377");

    CSchedule reopened(m_ctx.code);
    ASSERT_EQ(reopened.open(group()), 0);
    ASSERT_EQ(reopened.goTo(3), 0);
    EXPECT_EQ(reopened.image().recurrenceCode(), 7);
    EXPECT_EQ(reopened.image().madeSeconds(), 37);
    EXPECT_EQ(reopened.image().madeHour(), 8);
    ASSERT_EQ(reopened.goTo(2), 0);
    EXPECT_EQ(reopened.image().recurrenceCode(), 0);
    EXPECT_EQ(reopened.image().madeSeconds(), 0);
}

TEST_F(ScheduleBytesTest, ItemNameOfTwentyCharactersFillsTheKeyAndLongerNamesAreCut) {
    const std::string twenty = "ABCDEFGHIJKLMNOPQRST";
    test::Reservation a;
    a.item = twenty;
    ASSERT_EQ(test::addReservation(m_schedule, a), 0);
    ASSERT_EQ(m_schedule.seek("20240315", twenty, "09", "00"), 0);
    EXPECT_EQ(m_schedule.image().itemName(), twenty);

    test::Reservation b;
    b.item = twenty + "U";
    b.startHour = 10;
    ASSERT_EQ(test::addReservation(m_schedule, b), 0);
    EXPECT_EQ(test::recordBytes(dbf(), 2).substr(9, 20), twenty);
    ASSERT_EQ(m_schedule.goTo(2), 0);
    EXPECT_EQ(m_schedule.image().itemName(), twenty);
    // The cut name is the same item as far as the table can tell: same key, same start.
    test::Reservation c = b;
    c.startHour = 9;
    EXPECT_EQ(test::addReservation(m_schedule, c), res4unique);
}

TEST_F(ScheduleBytesTest, DuplicateReservationIsRefusedWith20AndTheFilesStayAsTheyWere) {
    test::Reservation a;
    ASSERT_EQ(test::addReservation(m_schedule, a), 0);
    const auto dbfBefore = test::readBytes(dbf());
    const auto cdxBefore = test::readBytes(m_dir.file("RoomsSched.cdx"));
    test::Reservation same = a;
    same.endHour = 12;
    same.lastName = "Other";
    EXPECT_EQ(test::addReservation(m_schedule, same), res4unique);
    EXPECT_EQ(test::readBytes(dbf()), dbfBefore);
    EXPECT_EQ(test::readBytes(m_dir.file("RoomsSched.cdx")), cdxBefore);
    // Another start time or another item is free.
    same.startMinute = 1;
    EXPECT_EQ(test::addReservation(m_schedule, same), 0);
    EXPECT_EQ(test::recordCountInHeader(dbf()), 2);
}

TEST_F(ScheduleBytesTest, ReadingConvertsLeadingDigitsAndKeepsExtraWhenUpdating) {
    // A record written by other software: odd digits, a spare text in EXTRA.
    m_schedule.close();
    {
        test::QuietCode raw;
        Data4* d = d4open(&raw.code, dbf());
        ASSERT_NE(d, nullptr);
        d4appendStart(d, 0);
        d4blank(d);
        f4assign(d4field(d, "DATE"), "20240315");
        f4assign(d4field(d, "ROOMNAME"), "Boardroom");
        f4assign(d4field(d, "STARTHH"), " 9");
        f4assign(d4field(d, "STARTMM"), "3x");
        f4assign(d4field(d, "ENDHH"), "xx");
        f4assign(d4field(d, "ENDMM"), "");
        f4assign(d4field(d, "TIMEMADE"), "1");
        f4assign(d4field(d, "RECURDAYS"), "9");
        f4assign(d4field(d, "FLAGS"), "abc");
        f4assign(d4field(d, "RECUREND"), "2024");
        f4assign(d4field(d, "EXTRA"), "SPARE");
        ASSERT_EQ(d4append(d), 0);
        d4flush(d);
        d4close(d);
    }
    ASSERT_EQ(m_schedule.open(group()), 0);
    ASSERT_EQ(m_schedule.first(), 0);
    const CScheduleRecord& r = m_schedule.image();
    EXPECT_EQ(r.startHour(), 9);
    EXPECT_EQ(r.startMinute(), 3);
    EXPECT_EQ(r.endHour(), 0);
    EXPECT_EQ(r.endMinute(), 0);
    EXPECT_EQ(r.madeHour(), 1);
    EXPECT_EQ(r.madeMinute(), 0);
    EXPECT_EQ(r.recurrenceCode(), 9);
    EXPECT_EQ(r.madeSeconds(), 0);
    EXPECT_EQ(r.flags(), 0);
    EXPECT_EQ(r.recurEndYear(), 2024);
    EXPECT_EQ(r.recurEndMonth(), 0);
    EXPECT_EQ(r.extra(), "SPARE");
    m_schedule.image().setNote("changed");
    EXPECT_EQ(m_schedule.update(), 0);
    m_schedule.close();
    const std::string record = test::recordBytes(dbf(), 1);
    EXPECT_EQ(record.substr(record.size() - 8), "SPARE   ");
    EXPECT_EQ(record.substr(1 + 8 + 20, 8), "09030000");
}

} // namespace
} // namespace orv

namespace orv {
namespace {

TEST_F(ScheduleBytesTest, UpdateOntoATakenStartTimeIsRefusedAndTheRecordKeepsItsContents) {
    test::Reservation a;
    ASSERT_EQ(test::addReservation(m_schedule, a), 0);
    test::Reservation b = a;
    b.startHour = 10;
    b.endHour = 11;
    ASSERT_EQ(test::addReservation(m_schedule, b), 0);
    const std::string before = test::recordBytes(dbf(), 2);
    ASSERT_EQ(m_schedule.seek("20240315", "Boardroom", "10", "00"), 0);
    m_schedule.image().setStartTime(9, 0);
    EXPECT_EQ(m_schedule.update(), res4unique);
    EXPECT_EQ(test::recordBytes(dbf(), 2), before);
    // Giving the image a free start time lets the change through.
    m_schedule.image().setStartTime(9, 45);
    EXPECT_EQ(m_schedule.update(), 0);
    ASSERT_EQ(m_schedule.seek("20240315", "Boardroom", "09", "45"), 0);
    EXPECT_EQ(m_schedule.image().recordNumber(), 2);
}

} // namespace
} // namespace orv
