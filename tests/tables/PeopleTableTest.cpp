// The people table: its file, its records, the unique person key, the older 9-field layout and
// listing people of a kind.
#include "TableTestSupport.h"
#include "common/FaultFs.h"
#include "common/TempDir.h"
#include "tables/CPeople.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace orv {
namespace {

using test::addPerson;
using test::padded;

class PeopleTableTest : public ::testing::Test {
protected:
    test::TempDir m_dir;
    test::QuietCode m_ctx;
    std::string group() const { return m_dir.file("Rooms.sch"); }
    std::string dbf() const { return m_dir.file("RoomsPeople.dbf"); }
};

TEST_F(PeopleTableTest, CreateNamesTheTableAfterTheGroupFileAndWritesElevenFields) {
    CPeople people(m_ctx.code);
    ASSERT_EQ(people.create(group()), 0);
    EXPECT_EQ(people.tableName(), m_dir.file("RoomsPeople"));
    EXPECT_TRUE(std::filesystem::exists(m_dir.file("RoomsPeople.cdx")));
    people.close();
    const auto b = test::readBytes(dbf());
    ASSERT_GE(b.size(), 32u);
    EXPECT_EQ(b[0], 0x03);
    EXPECT_EQ(test::le16At(b, 8), 385);
    EXPECT_EQ(test::le16At(b, 10), 234);
    EXPECT_EQ(b[28], 0x01);
}

TEST_F(PeopleTableTest, BaseNameLosesOnlyTheLastExtensionOfTheLastComponent) {
    test::TempDir dir;
    std::filesystem::create_directory(dir.file("v1.2"));
    CPeople people(m_ctx.code);
    ASSERT_EQ(people.create(dir.file("v1.2/Rooms.old.sch")), 0);
    EXPECT_EQ(people.tableName(), dir.file("v1.2/Rooms.oldPeople"));
    people.close();
    CPeople noDot(m_ctx.code);
    ASSERT_EQ(noDot.create(dir.file("v1.2/Plain")), 0);
    EXPECT_EQ(noDot.tableName(), dir.file("v1.2/PlainPeople"));
}

TEST_F(PeopleTableTest, NewPersonIsStoredWithEightZeroLastUsedAndFlagsInFiveDigits) {
    CPeople people(m_ctx.code);
    ASSERT_EQ(people.create(group()), 0);
    people.clearImage();
    people.image().setName("John", "Q", "Smith");
    people.image().setDepartment("Sales");
    people.image().setLocation("Building 4");
    people.image().setFreeFields("free one", "free two");
    people.image().setNotes("prefers mornings");
    people.image().setPhone("555-1234");
    people.image().setAttendeeFlag(true);
    people.image().setMayReserveFlag(true);
    ASSERT_EQ(people.append(), 0);
    people.close();
    const std::string expected =
        " " + padded("Smith", 21) + padded("John", 16) + "Q " + padded("Sales", 10) +
        padded("Building 4", 39) + padded("free one", 39) + padded("free two", 39) +
        padded("prefers mornings", 39) + padded("555-1234", 15) + "00000000" + "00003";
    EXPECT_EQ(test::recordBytes(dbf(), 1), expected);
}

TEST_F(PeopleTableTest, ReadingStripsTrailingBlanksAndDecodesLastUsedAndFlags) {
    CPeople people(m_ctx.code);
    ASSERT_EQ(people.create(group()), 0);
    people.clearImage();
    people.image().setName("Ann", "", "Lee");
    people.image().setLastUsed(7, 4, 2023);
    people.image().setFlags(1);
    ASSERT_EQ(people.append(), 0);
    people.clearImage();
    ASSERT_EQ(people.first(), 0);
    EXPECT_EQ(people.image().lastName(), "Lee");
    EXPECT_EQ(people.image().firstName(), "Ann");
    EXPECT_EQ(people.image().middleInitial(), "");
    EXPECT_EQ(people.image().lastUsedYear(), 2023);
    EXPECT_EQ(people.image().lastUsedMonth(), 7);
    EXPECT_EQ(people.image().lastUsedDay(), 4);
    EXPECT_TRUE(people.image().isAttendee());
    EXPECT_FALSE(people.image().mayReserve());
    EXPECT_EQ(people.image().recordNumber(), 1);
    EXPECT_EQ(people.next(), res4eof);
}

TEST_F(PeopleTableTest, DuplicatePersonIsRefusedWith20AndTheFilesStayAsTheyWere) {
    CPeople people(m_ctx.code);
    ASSERT_EQ(people.create(group()), 0);
    ASSERT_EQ(addPerson(people, "John", "Q", "Smith", "Sales", 2), 0);
    const auto dbfBefore = test::readBytes(dbf());
    const auto cdxBefore = test::readBytes(m_dir.file("RoomsPeople.cdx"));
    EXPECT_EQ(addPerson(people, "John", "Q", "Smith", "Sales", 1, "other phone"), res4unique);
    EXPECT_EQ(test::readBytes(dbf()), dbfBefore);
    EXPECT_EQ(test::readBytes(m_dir.file("RoomsPeople.cdx")), cdxBefore);
    EXPECT_EQ(m_ctx.code.errorCode, 0);
    // The table goes on working.
    EXPECT_EQ(addPerson(people, "John", "Q", "Smith", "Admin", 2), 0);
    EXPECT_EQ(test::recordCountInHeader(dbf()), 2);
}

TEST_F(PeopleTableTest, AFailedFlushIsNotAStoredPersonAndLeavesNoLockBehind) {
    test::FaultCode ctx;
    CPeople people(ctx.code);
    ASSERT_EQ(people.create(group()), 0);
    ctx.fault.failFsync = true;
    EXPECT_EQ(addPerson(people, "Ann", "", "Lee", "", 2), e4optFlush);
    // Another user (its own open file) gets the append lock at its first attempt.
    test::QuietCode other;
    other.code.lockRetries = 1;
    Data4* d = d4open(&other.code, m_dir.file("RoomsPeople"));
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d4lockAppend(d), 0);
}

TEST_F(PeopleTableTest, LastNamesDifferingOnlyInCaseAreTwoPeople) {
    CPeople people(m_ctx.code);
    ASSERT_EQ(people.create(group()), 0);
    EXPECT_EQ(addPerson(people, "John", "", "Smith", "", 2), 0);
    EXPECT_EQ(addPerson(people, "John", "", "SMITH", "", 2), 0);
    ASSERT_EQ(people.seekPerson("John", "", "SMITH", ""), 0);
    EXPECT_EQ(people.recordNumber(), 2);
    ASSERT_EQ(people.seekPerson("John", "", "Smith", ""), 0);
    EXPECT_EQ(people.recordNumber(), 1);
}

TEST_F(PeopleTableTest, SeekReadsOnlyAnExactHitAndLeavesTheImageOtherwise) {
    CPeople people(m_ctx.code);
    ASSERT_EQ(people.create(group()), 0);
    ASSERT_EQ(addPerson(people, "John", "Q", "Smith", "Sales", 2, "555"), 0);
    ASSERT_EQ(addPerson(people, "Zed", "", "Zulu", "", 2), 0);
    people.clearImage();
    people.image().setName("Typed", "", "Smit");
    const int rc = people.seekPerson("", "", "Smit", "");
    EXPECT_EQ(rc, res4after);
    EXPECT_EQ(people.image().firstName(), "Typed");
    EXPECT_EQ(people.seekPerson(CPeopleKey("John", "Q", "Smith", "Sales")), 0);
    EXPECT_EQ(people.image().phone(), "555");
    EXPECT_EQ(people.image().key(), CPeopleKey("John", "Q", "Smith", "Sales"));
    EXPECT_EQ(people.seekPerson("", "", "Zz", ""), res4eof);
}

TEST_F(PeopleTableTest, UpdateCarriesLastUsedAndDeleteTakesThePersonOutOfTheTag) {
    CPeople people(m_ctx.code);
    ASSERT_EQ(people.create(group()), 0);
    people.clearImage();
    people.image().setName("Ann", "", "Lee");
    people.image().setLastUsed(1, 2, 2022);
    people.image().setFlags(2);
    ASSERT_EQ(people.append(), 0);
    ASSERT_EQ(addPerson(people, "Bob", "", "Moe", "", 2), 0);

    ASSERT_EQ(people.seekPerson("Ann", "", "Lee", ""), 0);
    people.image().setPhone("777");
    EXPECT_EQ(people.update(), 0);
    EXPECT_EQ(test::recordBytes(dbf(), 1).substr(1 + 21 + 16 + 2 + 10 + 4 * 39),
              padded("777", 15) + "20220102" + "00002");

    ASSERT_EQ(people.seekPerson("Bob", "", "Moe", ""), 0);
    EXPECT_EQ(people.deleteCurrent(), 0);
    EXPECT_EQ(test::recordBytes(dbf(), 2)[0], '*');
    EXPECT_NE(people.seekPerson("Bob", "", "Moe", ""), 0);
    std::vector<CPeopleRecord> all;
    EXPECT_EQ(people.listPeople(CPeople::Kind::MayReserve, all), 0);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].lastName(), "Lee");
}

TEST_F(PeopleTableTest, ListingPeopleOfAKindWalksTheTagInNameOrder) {
    CPeople people(m_ctx.code);
    ASSERT_EQ(people.create(group()), 0);
    ASSERT_EQ(addPerson(people, "Cy", "", "Young", "", 1), 0);
    ASSERT_EQ(addPerson(people, "Al", "", "Brown", "", 3), 0);
    ASSERT_EQ(addPerson(people, "Di", "", "Adams", "", 2), 0);
    std::vector<CPeopleRecord> reservers;
    std::vector<CPeopleRecord> attendees;
    EXPECT_EQ(people.listPeople(CPeople::Kind::MayReserve, reservers), 0);
    EXPECT_EQ(people.listPeople(CPeople::Kind::Attendee, attendees), 0);
    ASSERT_EQ(reservers.size(), 2u);
    EXPECT_EQ(reservers[0].lastName(), "Adams");
    EXPECT_EQ(reservers[1].lastName(), "Brown");
    ASSERT_EQ(attendees.size(), 2u);
    EXPECT_EQ(attendees[0].lastName(), "Brown");
    EXPECT_EQ(attendees[1].lastName(), "Young");
    EXPECT_EQ(attendees[1].recordNumber(), 1);
}

TEST_F(PeopleTableTest, OpenTakesAGroupFileOrTheTableItselfAndAnEmptyPathReopens) {
    {
        CPeople people(m_ctx.code);
        ASSERT_EQ(people.create(group()), 0);
        ASSERT_EQ(addPerson(people, "Al", "", "Brown", "", 2), 0);
        people.close();
    }
    CPeople byGroup(m_ctx.code);
    ASSERT_EQ(byGroup.open(group(), false), 0);
    EXPECT_EQ(byGroup.first(), 0);
    byGroup.close();
    EXPECT_EQ(byGroup.open("", false), 0);
    EXPECT_EQ(byGroup.first(), 0);
    byGroup.close();

    CPeople byTable(m_ctx.code);
    ASSERT_EQ(byTable.open(dbf(), true), 0);
    EXPECT_EQ(byTable.first(), 0);
    EXPECT_EQ(byTable.image().lastName(), "Brown");
    byTable.close();

    CPeople missing(m_ctx.code);
    EXPECT_LT(missing.open(m_dir.file("Nothing.sch"), false), 0);
    EXPECT_FALSE(missing.isOpen());
    EXPECT_EQ(missing.first(), e4parmNull);
}

TEST_F(PeopleTableTest, OpenSetsTheTagToRefuseDuplicates) {
    {
        CPeople people(m_ctx.code);
        ASSERT_EQ(people.create(group()), 0);
        ASSERT_EQ(addPerson(people, "Al", "", "Brown", "", 2), 0);
        people.close();
    }
    CPeople people(m_ctx.code);
    ASSERT_EQ(people.open(group(), false), 0);
    EXPECT_EQ(addPerson(people, "Al", "", "Brown", "", 2), res4unique);
    EXPECT_EQ(test::recordCountInHeader(dbf()), 1);
}

// A people table as earlier versions made it: nine fields, no LASTUSED and no FLAGS.
class OldPeopleTableTest : public PeopleTableTest {
protected:
    void SetUp() override {
        Field4info fields;
        fields.add("LASTNAME", 'C', 21);
        fields.add("FIRSTNAME", 'C', 16);
        fields.add("MI", 'C', 2);
        fields.add("DEPARTMENT", 'C', 10);
        fields.add("LOCATION", 'C', 39);
        fields.add("F1", 'C', 39);
        fields.add("F2", 'C', 39);
        fields.add("NOTES", 'C', 39);
        fields.add("PHONE", 'C', 15);
        Tag4info tags;
        tags.add("PEOPLETAG", "LASTNAME+FIRSTNAME+MI+DEPARTMENT", ".NOT. DELETED()", res4unique);
        Data4* d = d4create(&m_ctx.code, m_dir.file("RoomsPeople"), fields, &tags);
        ASSERT_NE(d, nullptr);
        d4appendStart(d, 0);
        d4blank(d);
        f4assign(d4field(d, "LASTNAME"), "Old");
        f4assign(d4field(d, "FIRSTNAME"), "Timer");
        ASSERT_EQ(d4append(d), 0);
        d4flush(d);
        d4unlock(d);
        d4close(d);
    }
};

TEST_F(OldPeopleTableTest, EverybodyReadsWithFlags2AndNoLastUsed) {
    CPeople people(m_ctx.code);
    ASSERT_EQ(people.open(group(), false), 0);
    EXPECT_TRUE(people.oldLayout());
    ASSERT_EQ(people.first(), 0);
    EXPECT_EQ(people.image().flags(), 2);
    EXPECT_EQ(people.image().lastUsedYear(), 0);
    EXPECT_EQ(people.image().lastUsedMonth(), 0);
    EXPECT_EQ(people.image().lastUsedDay(), 0);
    EXPECT_TRUE(people.image().mayReserve());
    EXPECT_FALSE(people.image().isAttendee());
}

TEST_F(OldPeopleTableTest, NewPersonReadsBackWithFlags2AndOnlyNineFieldsAreWritten) {
    CPeople people(m_ctx.code);
    ASSERT_EQ(people.open(group(), false), 0);
    people.clearImage();
    people.image().setName("New", "", "Comer");
    people.image().setFlags(1);
    people.image().setLastUsed(5, 6, 2024);
    EXPECT_FALSE(people.image().isAttendee());
    EXPECT_TRUE(people.image().mayReserve());
    ASSERT_EQ(people.append(), 0);
    ASSERT_EQ(people.seekPerson("New", "", "Comer", ""), 0);
    EXPECT_EQ(people.image().flags(), 2);
    EXPECT_EQ(people.image().lastUsedYear(), 0);
    people.image().setFlags(1);
    EXPECT_EQ(people.update(), 0);
    people.close();

    const auto b = test::readBytes(dbf());
    EXPECT_EQ(test::le16At(b, 10), 1 + 21 + 16 + 2 + 10 + 4 * 39 + 15);
    EXPECT_EQ(test::le16At(b, 8), 32 * 9 + 33);
    EXPECT_EQ(test::recordBytes(dbf(), 2), " " + padded("Comer", 21) + padded("New", 16) +
                                               std::string(2 + 10 + 4 * 39 + 15, ' '));
}

TEST_F(OldPeopleTableTest, ListingOfEitherKindGivesEverybody) {
    CPeople people(m_ctx.code);
    ASSERT_EQ(people.open(group(), false), 0);
    std::vector<CPeopleRecord> attendees;
    EXPECT_EQ(people.listPeople(CPeople::Kind::Attendee, attendees), 0);
    ASSERT_EQ(attendees.size(), 1u);
    EXPECT_EQ(attendees[0].lastName(), "Old");
}

} // namespace
} // namespace orv
