// The roster link table: its file, its records and seeking a reservation's links.
#include "TableTestSupport.h"
#include "common/TempDir.h"
#include "tables/CRosterLink.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::padded;

class RosterLinkTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(m_links.create(m_dir.file("Rooms.sch")), 0); }
    std::string dbf() const { return m_dir.file("RoomsRosLnk.dbf"); }

    void add(int day, const std::string& item, int hour, int minute, const CPeopleKey& person) {
        m_links.clearImage();
        m_links.setDate(3, day, 2024);
        m_links.setItemName(item);
        m_links.setStartTime(hour, minute);
        m_links.setPerson(person);
        ASSERT_EQ(m_links.append(), 0);
    }

    test::TempDir m_dir;
    test::QuietCode m_ctx;
    CRosterLink m_links{m_ctx.code};
};

TEST_F(RosterLinkTest, LinkIsStoredWithFlagsAsFourZerosAndAnEmptyExtra) {
    EXPECT_EQ(m_links.tableName(), m_dir.file("RoomsRosLnk"));
    add(15, "Boardroom", 9, 30, CPeopleKey("John", "Q", "Smith", "Sales"));
    m_links.close();
    const auto b = test::readBytes(dbf());
    EXPECT_EQ(test::le16At(b, 8), 32 * 10 + 33);
    EXPECT_EQ(test::recordBytes(dbf(), 1), " 20240315" + padded("Boardroom", 20) + "0930" +
                                               padded("Smith", 21) + padded("John", 16) + "Q " +
                                               padded("Sales", 10) + "0000" + "    ");
}

TEST_F(RosterLinkTest, TwoLinksOfTheSamePersonToTheSameReservationAreBothKept) {
    const CPeopleKey person("John", "Q", "Smith", "Sales");
    add(15, "Boardroom", 9, 30, person);
    add(15, "Boardroom", 9, 30, person);
    ASSERT_EQ(m_links.seek("20240315", "Boardroom", 9, 30), 0);
    EXPECT_EQ(m_links.recordNumber(), 1);
    EXPECT_EQ(m_links.personKey(), person);
    ASSERT_EQ(m_links.next(), 0);
    EXPECT_EQ(m_links.recordNumber(), 2);
    EXPECT_EQ(m_links.personKey(), person);
    EXPECT_EQ(m_links.next(), res4eof);
}

TEST_F(RosterLinkTest, SeekTakesTheTimeAsTextOrAsNumbers) {
    add(15, "Boardroom", 9, 30, CPeopleKey("A", "", "B", ""));
    add(15, "Boardroom", 14, 0, CPeopleKey("C", "", "D", ""));
    ASSERT_EQ(m_links.seek("20240315", "Boardroom", "14", "00"), 0);
    EXPECT_EQ(m_links.lastName(), "D");
    ASSERT_EQ(m_links.seek("20240315", "Boardroom", 9, 30), 0);
    EXPECT_EQ(m_links.lastName(), "B");
    EXPECT_EQ(m_links.startHour(), 9);
    EXPECT_EQ(m_links.startMinute(), 30);
    EXPECT_EQ(m_links.year(), 2024);
    EXPECT_EQ(m_links.month(), 3);
    EXPECT_EQ(m_links.day(), 15);
    EXPECT_EQ(m_links.itemName(), "Boardroom");
    EXPECT_EQ(m_links.flags(), 0);
    // A miss with a given hour reads nothing; an empty hour takes the next link.
    EXPECT_EQ(m_links.seek("20240315", "Boardroom", 9, 0), res4after);
    EXPECT_EQ(m_links.itemName(), "");
    ASSERT_EQ(m_links.seek("20240315", "Boardroom", "", ""), 0);
    EXPECT_EQ(m_links.lastName(), "B");
    EXPECT_EQ(m_links.seek("20240316", "", "", ""), res4eof);
}

TEST_F(RosterLinkTest, IsBeforeAndClearImage) {
    add(15, "Boardroom", 9, 30, CPeopleKey("A", "", "B", ""));
    ASSERT_EQ(m_links.first(), 0);
    EXPECT_TRUE(m_links.isBefore("20240316"));
    EXPECT_FALSE(m_links.isBefore("20240315"));
    EXPECT_FALSE(m_links.isBefore("2024031"));
    m_links.clearImage();
    EXPECT_EQ(m_links.year(), 0);
    EXPECT_EQ(m_links.itemName(), "");
    EXPECT_EQ(m_links.lastName(), "");
    EXPECT_EQ(m_links.startHour(), 0);
}

TEST_F(RosterLinkTest, DeleteCurrentRemovesTheLinkAtOnce) {
    add(15, "Boardroom", 9, 30, CPeopleKey("A", "", "B", ""));
    add(15, "Boardroom", 9, 30, CPeopleKey("C", "", "D", ""));
    ASSERT_EQ(m_links.first(), 0);
    EXPECT_EQ(m_links.deleteCurrent(), 0);
    EXPECT_EQ(test::recordBytes(dbf(), 1)[0], '*');
    ASSERT_EQ(m_links.first(), 0);
    EXPECT_EQ(m_links.lastName(), "D");
}

TEST_F(RosterLinkTest, OpenDoesNotMakeTheTagUnique) {
    m_links.close();
    CRosterLink links(m_ctx.code);
    ASSERT_EQ(links.open(m_dir.file("Rooms.sch")), 0);
    EXPECT_EQ(m_ctx.code.errorCode, 0);
    const CPeopleKey person("A", "", "B", "");
    links.clearImage();
    links.setDate(3, 15, 2024);
    links.setItemName("X");
    links.setPerson(person);
    EXPECT_EQ(links.append(), 0);
    EXPECT_EQ(links.append(), 0);
    links.close();
    EXPECT_EQ(links.open(""), 0);
    EXPECT_EQ(links.first(), 0);
}

} // namespace
} // namespace orv
