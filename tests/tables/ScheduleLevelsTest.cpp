// Schedule tables of the older levels (13 and 14 fields), built here with the engine: the
// fields they lack read as 0 or empty and are never written.
#include "TableTestSupport.h"
#include "common/TempDir.h"
#include "tables/CRosterLink.h"
#include "tables/CSchedule.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::padded;

class ScheduleLevelsTest : public ::testing::Test {
protected:
    std::string group() const { return m_dir.file("Old.sch"); }
    std::string dbf() const { return m_dir.file("OldSched.dbf"); }

    // The first `fieldCount` fields of the current layout, one record filled in.
    void build(int fieldCount) {
        static const std::pair<const char*, int> kFields[] = {
            {"DATE", 8},     {"ROOMNAME", 20},   {"STARTHH", 2},   {"STARTMM", 2},
            {"ENDHH", 2},    {"ENDMM", 2},       {"LASTNAME", 21}, {"FIRSTNAME", 16},
            {"MI", 2},       {"DEPARTMENT", 10}, {"NOTES", 80},    {"DATEMADE", 8},
            {"TIMEMADE", 4}, {"RECURDAYS", 3},   {"FLAGS", 5},     {"RECUREND", 8},
            {"EXTRA", 8}};
        Field4info fields;
        for (int i = 0; i < fieldCount; ++i)
            fields.add(kFields[i].first, 'C', kFields[i].second);
        Tag4info tags;
        tags.add("SCHEDTAG", "DATE+ROOMNAME+STARTHH+STARTMM", ".NOT. DELETED()", res4unique);
        test::QuietCode raw;
        Data4* d = d4create(&raw.code, m_dir.file("OldSched"), fields, &tags);
        ASSERT_NE(d, nullptr);
        d4appendStart(d, 0);
        d4blank(d);
        f4assign(d4field(d, "DATE"), "20200110");
        f4assign(d4field(d, "ROOMNAME"), "Hall");
        f4assign(d4field(d, "STARTHH"), "08");
        f4assign(d4field(d, "STARTMM"), "15");
        f4assign(d4field(d, "ENDHH"), "09");
        f4assign(d4field(d, "ENDMM"), "45");
        f4assign(d4field(d, "LASTNAME"), "Elder");
        f4assign(d4field(d, "DATEMADE"), "20200101");
        f4assign(d4field(d, "TIMEMADE"), "1230");
        if (fieldCount >= 14) f4assign(d4field(d, "RECURDAYS"), "253");
        ASSERT_EQ(d4append(d), 0);
        d4flush(d);
        d4close(d);
    }

    static std::string coreFields(const std::string& date, const std::string& item,
                                  const std::string& times, const std::string& last,
                                  const std::string& note, const std::string& made) {
        return " " + date + padded(item, 20) + times + padded(last, 21) + padded("", 16 + 2 + 10) +
               padded(note, 80) + made;
    }

    test::TempDir m_dir;
    test::QuietCode m_ctx;
};

TEST_F(ScheduleLevelsTest, ThirteenFieldsAreTheOldestLevelAndReadWithoutRecurrence) {
    build(13);
    CSchedule schedule(m_ctx.code);
    ASSERT_EQ(schedule.open(group()), 0);
    EXPECT_EQ(schedule.level(), CSchedule::Level::Oldest);
    EXPECT_TRUE(schedule.noRecurrenceField());
    EXPECT_TRUE(schedule.oldFormat());
    ASSERT_EQ(schedule.first(), 0);
    const CScheduleRecord& r = schedule.image();
    EXPECT_EQ(r.itemName(), "Hall");
    EXPECT_EQ(r.startHour(), 8);
    EXPECT_EQ(r.startMinute(), 15);
    EXPECT_EQ(r.madeHour(), 12);
    EXPECT_EQ(r.madeMinute(), 30);
    EXPECT_EQ(r.recurrenceCode(), 0);
    EXPECT_EQ(r.madeSeconds(), 0);
    EXPECT_EQ(r.flags(), 0);
    EXPECT_EQ(r.recurEndYear(), 0);
    EXPECT_EQ(r.extra(), "");
}

TEST_F(ScheduleLevelsTest, WritingAThirteenFieldTableLeavesTheMissingFieldsOut) {
    build(13);
    CSchedule schedule(m_ctx.code);
    ASSERT_EQ(schedule.open(group()), 0);
    schedule.clearImage();
    CScheduleRecord& r = schedule.image();
    r.setDate(1, 11, 2020);
    r.setItemName("Hall");
    r.setStartTime(10, 0);
    r.setEndTime(11, 0);
    r.setPerson("", "", "Newer", "");
    r.setNote("Blocked Out");
    r.setMade(1, 2, 2020, 7, 5, 44);
    r.setRecurrenceCode(7);
    r.setRecurrenceEnd(2, 1, 2020);
    r.setFlags(129);
    r.setExtra("XX");
    EXPECT_EQ(r.recurrenceCode(), 0);
    ASSERT_EQ(schedule.append(), 0);
    ASSERT_EQ(schedule.first(), 0);
    ASSERT_EQ(schedule.image().startHour(), 8);
    schedule.image().setNote("changed");
    schedule.image().setFlags(2);
    ASSERT_EQ(schedule.update(), 0);
    schedule.close();

    const auto b = test::readBytes(dbf());
    EXPECT_EQ(test::le16At(b, 8), 32 * 13 + 33);
    EXPECT_EQ(test::le16At(b, 10), 1 + 8 + 20 + 2 + 2 + 2 + 2 + 21 + 16 + 2 + 10 + 80 + 8 + 4);
    EXPECT_EQ(test::recordBytes(dbf(), 2),
              coreFields("20200111", "Hall", "10001100", "Newer", "Blocked Out", "202001020705"));
    EXPECT_EQ(test::recordBytes(dbf(), 1),
              coreFields("20200110", "Hall", "08150945", "Elder", "changed", "202001011230"));
}

TEST_F(ScheduleLevelsTest, FourteenFieldsHaveRecurDaysButNoFlagsEndDateOrExtra) {
    build(14);
    CSchedule schedule(m_ctx.code);
    ASSERT_EQ(schedule.open(group()), 0);
    EXPECT_EQ(schedule.level(), CSchedule::Level::Middle);
    EXPECT_FALSE(schedule.noRecurrenceField());
    EXPECT_TRUE(schedule.oldFormat());
    ASSERT_EQ(schedule.first(), 0);
    EXPECT_EQ(schedule.image().recurrenceCode(), 3);
    EXPECT_EQ(schedule.image().madeSeconds(), 25);
    EXPECT_EQ(schedule.image().flags(), 0);

    schedule.clearImage();
    CScheduleRecord& r = schedule.image();
    r.setDate(1, 11, 2020);
    r.setItemName("Hall");
    r.setStartTime(10, 0);
    r.setEndTime(11, 0);
    r.setPerson("", "", "Newer", "");
    r.setMade(1, 2, 2020, 7, 5, 37);
    r.setRecurrenceCode(7);
    r.setRecurrenceEnd(2, 1, 2020);
    r.setFlags(129);
    ASSERT_EQ(schedule.append(), 0);
    schedule.close();

    const auto b = test::readBytes(dbf());
    EXPECT_EQ(test::le16At(b, 10), 1 + 8 + 20 + 2 + 2 + 2 + 2 + 21 + 16 + 2 + 10 + 80 + 8 + 4 + 3);
    EXPECT_EQ(test::recordBytes(dbf(), 2),
              coreFields("20200111", "Hall", "10001100", "Newer", "", "202001020705") + "377");
}

TEST_F(ScheduleLevelsTest, DeletingOldRecordsOfAnOldFormatGroupLeavesTheLinksAlone) {
    build(14);
    CSchedule schedule(m_ctx.code);
    ASSERT_EQ(schedule.open(group()), 0);
    CRosterLink links(m_ctx.code);
    ASSERT_EQ(links.create(group()), 0);
    links.clearImage();
    links.setDate(1, 10, 2020);
    links.setItemName("Hall");
    links.setStartTime(8, 15);
    links.setPerson(CPeopleKey("A", "", "B", ""));
    ASSERT_EQ(links.append(), 0);

    EXPECT_EQ(schedule.deleteOlderThan("20300101", &links), 1);
    EXPECT_EQ(links.first(), 0);
    EXPECT_EQ(schedule.first(), res4eof);
}

} // namespace
} // namespace orv
