// The attendee lists of a reservation kept in the roster link table.
#include "TableTestSupport.h"
#include "common/TempDir.h"
#include "tables/CAttendeeLists.h"
#include "tables/CPeople.h"
#include "tables/CRosterLink.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

class AttendeeListsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(m_links.create(group()), 0);
        ASSERT_EQ(m_people.create(group()), 0);
    }
    std::string group() const { return m_dir.file("Rooms.sch"); }

    void link(int hour, int minute, const CPeopleKey& person,
              const std::string& item = "Boardroom") {
        m_links.clearImage();
        m_links.setDate(3, 15, 2024);
        m_links.setItemName(item);
        m_links.setStartTime(hour, minute);
        m_links.setPerson(person);
        ASSERT_EQ(m_links.append(), 0);
    }

    std::vector<CPeopleKey> linksOf(int hour, int minute, const std::string& item = "Boardroom") {
        CAttendeeLists lists;
        lists.loadAttendees(m_links, m_people, 3, 15, 2024, hour, minute, item);
        return lists.current();
    }

    test::TempDir m_dir;
    test::QuietCode m_ctx;
    CRosterLink m_links{m_ctx.code};
    CPeople m_people{m_ctx.code};
    const CPeopleKey m_ann{"Ann", "", "Lee", ""};
    const CPeopleKey m_bob{"Bob", "J", "Moe", "Sales"};
    const CPeopleKey m_cy{"Cy", "", "Young", "IT"};
};

TEST_F(AttendeeListsTest, LoadGivesKeysAndLinesWithTheirPeopleRecordNumbers) {
    ASSERT_EQ(test::addPerson(m_people, "Bob", "J", "Moe", "Sales", 1), 0);
    ASSERT_EQ(test::addPerson(m_people, "Ann", "", "Lee", "", 1), 0);
    link(9, 0, m_bob);
    link(9, 0, m_ann);
    link(9, 0, m_cy); // no longer in the people table
    link(10, 0, m_cy);
    CAttendeeLists lists;
    std::vector<CListLine> lines;
    EXPECT_EQ(lists.loadAttendees(m_links, m_people, 3, 15, 2024, 9, 0, "Boardroom", &lines), 0);
    EXPECT_EQ(lists.current(), (std::vector<CPeopleKey>{m_bob, m_ann, m_cy}));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].text, "Moe, Bob J   (Sales)   ");
    EXPECT_EQ(lines[0].recordNumber, 1);
    EXPECT_EQ(lines[1].text, "Lee, Ann    ");
    EXPECT_EQ(lines[1].recordNumber, 2);
    EXPECT_EQ(lines[2].text, "Young, Cy    (IT)   ");
    EXPECT_EQ(lines[2].recordNumber, -1);
}

TEST_F(AttendeeListsTest, PersonDeletedFromThePeopleTableLoadsWithMinusOne) {
    ASSERT_EQ(test::addPerson(m_people, "Ann", "", "Lee", "", 1), 0);
    link(9, 0, m_ann);
    ASSERT_EQ(m_people.seekPerson(m_ann), 0);
    ASSERT_EQ(m_people.deleteCurrent(), 0);
    CAttendeeLists lists;
    std::vector<CListLine> lines;
    lists.loadAttendees(m_links, m_people, 3, 15, 2024, 9, 0, "Boardroom", &lines);
    EXPECT_EQ(lists.current(), std::vector<CPeopleKey>{m_ann});
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].recordNumber, -1);
}

TEST_F(AttendeeListsTest, LoadOfAReservationWithoutLinksGivesNothing) {
    link(9, 1, m_ann);
    CAttendeeLists lists;
    std::vector<CListLine> lines;
    EXPECT_EQ(lists.loadAttendees(m_links, m_people, 3, 15, 2024, 9, 0, "Boardroom", &lines),
              res4after);
    EXPECT_TRUE(lists.current().empty());
    EXPECT_TRUE(lines.empty());
}

TEST_F(AttendeeListsTest, DeletingAttendeesLeavesTheReservationOneMinuteLaterAlone) {
    link(9, 0, m_ann);
    link(9, 0, m_bob);
    link(9, 1, m_cy);
    link(9, 0, m_cy, "Boardroom2");
    link(8, 59, m_bob);
    EXPECT_EQ(CAttendeeLists::deleteAttendees(m_links, 3, 15, 2024, 9, 0, "Boardroom"), 0);
    EXPECT_TRUE(linksOf(9, 0).empty());
    EXPECT_EQ(linksOf(9, 1), std::vector<CPeopleKey>{m_cy});
    EXPECT_EQ(linksOf(8, 59), std::vector<CPeopleKey>{m_bob});
    EXPECT_EQ(linksOf(9, 0, "Boardroom2"), std::vector<CPeopleKey>{m_cy});
}

TEST_F(AttendeeListsTest, SaveRemovesAndAddsButNeverAddsSomeoneAlreadyCurrent) {
    link(9, 0, m_ann);
    link(9, 0, m_bob);
    CAttendeeLists lists;
    lists.loadAttendees(m_links, m_people, 3, 15, 2024, 9, 0, "Boardroom");
    lists.toRemove().push_back(m_bob);
    lists.toAdd().push_back(m_ann); // already current
    lists.toAdd().push_back(m_cy);
    EXPECT_EQ(lists.saveAttendeeChanges(m_links, 3, 15, 2024, 9, 0, "Boardroom"), res4eof);
    EXPECT_EQ(linksOf(9, 0), (std::vector<CPeopleKey>{m_ann, m_cy}));
    // The new link carries the reservation's key exactly.
    ASSERT_EQ(m_links.seek("20240315", "Boardroom", "09", "00"), 0);
    ASSERT_EQ(m_links.next(), 0);
    EXPECT_EQ(m_links.personKey(), m_cy);
    EXPECT_EQ(m_links.flags(), 0);
}

TEST_F(AttendeeListsTest, SaveWithNothingToRemoveOnlyAppendsAndReturnsZero) {
    CAttendeeLists lists;
    lists.toAdd().push_back(m_ann);
    lists.toAdd().push_back(m_bob);
    EXPECT_EQ(lists.saveAttendeeChanges(m_links, 3, 15, 2024, 9, 0, "Boardroom"), 0);
    EXPECT_EQ(linksOf(9, 0), (std::vector<CPeopleKey>{m_ann, m_bob}));
    lists.clear();
    EXPECT_TRUE(lists.toAdd().empty());
}

TEST_F(AttendeeListsTest, RemovingStopsAtTheFirstLinkOfAnotherReservation) {
    link(9, 0, m_ann);
    link(9, 1, m_ann);
    CAttendeeLists lists;
    lists.toRemove().push_back(m_ann);
    EXPECT_EQ(lists.saveAttendeeChanges(m_links, 3, 15, 2024, 9, 0, "Boardroom"), 0);
    EXPECT_TRUE(linksOf(9, 0).empty());
    EXPECT_EQ(linksOf(9, 1), std::vector<CPeopleKey>{m_ann});
}

} // namespace
} // namespace orv
