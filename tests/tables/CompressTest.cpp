// Compressing the three tables: packing needs the table for exclusive use; another user who has
// it open (a real second process) makes it fail with 4, and the table goes on working.
#include "TableTestSupport.h"
#include "common/FaultFs.h"
#include "common/TempDir.h"
#include "tables/CPeople.h"
#include "tables/CRosterLink.h"
#include "tables/CSchedule.h"
#include "tables/CTableOps.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

class CompressTest : public ::testing::Test {
protected:
    std::string group() const { return m_dir.file("Rooms.sch"); }

    long tagKeys(const std::string& table) {
        test::QuietCode other;
        other.code.readOnly = 1;
        Data4* d = d4open(&other.code, table);
        if (!d) return -1;
        std::vector<long long> counts;
        std::string problem;
        if (d4check(d, &counts, &problem) != 0 || counts.empty()) return -2;
        return static_cast<long>(counts[0]);
    }

    test::TempDir m_dir;
    test::QuietCode m_ctx;
};

TEST_F(CompressTest, ScheduleOfTenRecordsWithFourDeletedKeepsSixInTheirOrder) {
    CSchedule schedule(m_ctx.code);
    ASSERT_EQ(schedule.create(group()), 0);
    for (int i = 0; i < 10; ++i) {
        test::Reservation r;
        r.startHour = 19 - i; // record order differs from tag order
        r.lastName = "P" + std::to_string(i);
        ASSERT_EQ(test::addReservation(schedule, r), 0);
    }
    for (long record : {2L, 5L, 6L, 9L}) {
        ASSERT_EQ(schedule.goTo(record), 0);
        schedule.deleteCurrent();
    }
    schedule.unlock();
    EXPECT_EQ(schedule.compress(), 0);
    ASSERT_TRUE(schedule.isOpen());
    const std::string dbf = m_dir.file("RoomsSched.dbf");
    EXPECT_EQ(test::recordCountInHeader(dbf), 6);
    std::vector<std::string> names;
    for (long record = 1; record <= 6; ++record) {
        ASSERT_EQ(schedule.goTo(record), 0);
        names.push_back(schedule.image().lastName());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"P0", "P2", "P3", "P6", "P7", "P9"}));
    EXPECT_EQ(tagKeys(dbf), 6);
    // Reopened as at open: the tag refuses duplicates again.
    test::Reservation again;
    again.startHour = 19;
    EXPECT_EQ(test::addReservation(schedule, again), res4unique);
}

TEST_F(CompressTest, ScheduleInUseByAnotherProcessIsNotPackedAndStaysUsable) {
    CSchedule schedule(m_ctx.code);
    ASSERT_EQ(schedule.create(group()), 0);
    test::Reservation r;
    ASSERT_EQ(test::addReservation(schedule, r), 0);
    ASSERT_EQ(schedule.first(), 0);
    schedule.deleteCurrent();
    schedule.unlock();

    test::HelperProcess other;
    ASSERT_TRUE(other.start("tables_table_holder", {m_dir.file("RoomsSched")}));
    ASSERT_EQ(other.readLine(), "ready");
    EXPECT_EQ(schedule.compress(), CTableOps::kInUse);
    EXPECT_EQ(m_ctx.code.errorCode, 0);
    EXPECT_EQ(m_ctx.code.openShareMode, 0);
    ASSERT_TRUE(schedule.isOpen());
    EXPECT_EQ(test::recordCountInHeader(m_dir.file("RoomsSched.dbf")), 1);
    r.startHour = 11;
    EXPECT_EQ(test::addReservation(schedule, r), 0);
    other.closeInput();
    EXPECT_EQ(other.wait(), 0);
    EXPECT_EQ(schedule.compress(), 0);
    EXPECT_EQ(test::recordCountInHeader(m_dir.file("RoomsSched.dbf")), 1);
}

TEST_F(CompressTest, AFailedLockIsReportedNotPackedAndTheTableGoesOnWorking) {
    test::FaultCode ctx;
    CSchedule schedule(ctx.code);
    ASSERT_EQ(schedule.create(group()), 0);
    test::Reservation r;
    ASSERT_EQ(test::addReservation(schedule, r), 0);
    r.startHour = 11;
    ASSERT_EQ(test::addReservation(schedule, r), 0);
    ASSERT_EQ(schedule.first(), 0);
    schedule.deleteCurrent();
    schedule.unlock();

    ctx.fault.brokenLocks = true;
    EXPECT_EQ(schedule.compress(), e4lock);
    ctx.fault.brokenLocks = false;
    EXPECT_EQ(ctx.code.errorCode, 0);
    EXPECT_EQ(ctx.code.openShareMode, 0);
    ASSERT_TRUE(schedule.isOpen());
    EXPECT_EQ(test::recordCountInHeader(m_dir.file("RoomsSched.dbf")), 2);
    EXPECT_EQ(schedule.compress(), 0);
    EXPECT_EQ(test::recordCountInHeader(m_dir.file("RoomsSched.dbf")), 1);
}

TEST_F(CompressTest, PeopleAndRosterLinksArePackedTheSameWay) {
    CPeople people(m_ctx.code);
    ASSERT_EQ(people.create(group()), 0);
    ASSERT_EQ(test::addPerson(people, "Ann", "", "Lee", "", 2), 0);
    ASSERT_EQ(test::addPerson(people, "Bob", "", "Moe", "", 2), 0);
    ASSERT_EQ(people.seekPerson("Ann", "", "Lee", ""), 0);
    ASSERT_EQ(people.deleteCurrent(), 0);
    EXPECT_EQ(people.compress(), 0);
    EXPECT_EQ(test::recordCountInHeader(m_dir.file("RoomsPeople.dbf")), 1);
    ASSERT_EQ(people.first(), 0);
    EXPECT_EQ(people.image().lastName(), "Moe");
    EXPECT_EQ(test::addPerson(people, "Bob", "", "Moe", "", 2), res4unique);

    CRosterLink links(m_ctx.code);
    ASSERT_EQ(links.create(group()), 0);
    for (int i = 0; i < 3; ++i) {
        links.clearImage();
        links.setDate(3, 15, 2024);
        links.setItemName("A");
        links.setPerson(CPeopleKey("P" + std::to_string(i), "", "L", ""));
        ASSERT_EQ(links.append(), 0);
    }
    ASSERT_EQ(links.first(), 0);
    ASSERT_EQ(links.deleteCurrent(), 0);
    EXPECT_EQ(links.compress(), 0);
    EXPECT_EQ(test::recordCountInHeader(m_dir.file("RoomsRosLnk.dbf")), 2);
    ASSERT_EQ(links.first(), 0);
    EXPECT_EQ(links.firstName(), "P1");

    test::HelperProcess other;
    ASSERT_TRUE(other.start("tables_table_holder", {m_dir.file("RoomsPeople")}));
    ASSERT_EQ(other.readLine(), "ready");
    EXPECT_EQ(people.compress(), CTableOps::kInUse);
    EXPECT_TRUE(people.isOpen());
    EXPECT_EQ(people.first(), 0);
}

} // namespace
} // namespace orv
