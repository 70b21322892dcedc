// The data file as the engine writes and reads it: header and descriptor bytes, records, the
// record buffer and positioning by record number.
#include "common/Bytes.h"
#include "common/TempDir.h"
#include "storage/Data4.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sys/stat.h>

using namespace orv;
using namespace orv::test;

namespace {

Field4info peopleFields() {
    Field4info f;
    f.add("LASTNAME", 'C', 21);
    f.add("FIRSTNAME", 'C', 16);
    f.add("MI", 'C', 2);
    f.add("DEPARTMENT", 'C', 10);
    f.add("LOCATION", 'C', 39);
    f.add("F1", 'C', 39);
    f.add("F2", 'C', 39);
    f.add("NOTES", 'C', 39);
    f.add("PHONE", 'C', 15);
    f.add("LASTUSED", 'C', 8);
    f.add("FLAGS", 'C', 5);
    return f;
}

std::time_t localMoment(int y, int mo, int d) {
    std::tm tm{};
    tm.tm_year = y - 1900;
    tm.tm_mon = mo - 1;
    tm.tm_mday = d;
    tm.tm_hour = 12;
    tm.tm_isdst = -1;
    return std::mktime(&tm);
}

class Data4File : public ::testing::Test {
protected:
    void SetUp() override {
        code4init(&code);
        code.silentErrors = 1;
    }
    void TearDown() override { code4initUndo(&code); }

    Data4* makeSmall(const std::string& name, int records) {
        Field4info f;
        f.add("NAME", 'C', 5);
        f.add("NUM", 'C', 3);
        Data4* d = d4create(&code, dir.file(name), f);
        for (int i = 1; i <= records; ++i) {
            d4appendStart(d, 0);
            d4blank(d);
            f4assign(d4field(d, "NAME"), "r" + std::to_string(i));
            f4assign(d4field(d, "NUM"), std::to_string(i));
            EXPECT_EQ(d4append(d), 0);
            d4unlock(d);
        }
        return d;
    }

    TempDir dir;
    Code4 code;
};

TEST(Code4Settings, InitialisationSetsEveryDefault) {
    Code4 code;
    code.openShareMode = 1;
    code.lockRetries = 3;
    code.errorCode = -64;
    code4init(&code);
    EXPECT_EQ(code.openShareMode, 0);
    EXPECT_EQ(code.readOnly, 0);
    EXPECT_EQ(code.autoOpen, 1);
    EXPECT_EQ(code.refuseOverwrite, 1);
    EXPECT_EQ(code.reportOpenErrors, 1);
    EXPECT_EQ(code.goMissingIsError, 1);
    EXPECT_EQ(code.readWithLock, 0);
    EXPECT_EQ(code.writeRequiresLock, 0);
    EXPECT_EQ(code.lockRetries, -1);
    EXPECT_EQ(code.lockRetryDelay, 100);
    EXPECT_EQ(code.silentErrors, 0);
    EXPECT_EQ(code.fileFormatLevel, 25);
    EXPECT_EQ(code.writeThrough, 0);
    EXPECT_EQ(code.errorCode, 0);
}

TEST_F(Data4File, CreatedPeopleTableHasExactHeaderAndDescriptors) {
    code.clock = [] { return localMoment(2026, 12, 8); };
    Data4* d = d4create(&code, dir.file("RoomsPeople"), peopleFields());
    ASSERT_NE(d, nullptr);
    ASSERT_EQ(code.errorCode, 0);
    d4close(d);

    auto b = readBytes(dir.file("RoomsPeople.dbf"));
    ASSERT_EQ(b.size(), 385u + 1u); // header and the end-of-file mark, no records
    EXPECT_EQ(b[0], 0x03);
    EXPECT_EQ(b[1], 26);
    EXPECT_EQ(b[2], 12);
    EXPECT_EQ(b[3], 8);
    EXPECT_EQ(le32At(b, 4), 0u);
    EXPECT_EQ(le16At(b, 8), 385);
    EXPECT_EQ(le16At(b, 10), 234);
    for (int i = 12; i < 32; ++i) EXPECT_EQ(b[static_cast<std::size_t>(i)], 0) << "header byte " << i;
    // Without tags there is no production index.
    EXPECT_FALSE(std::filesystem::exists(dir.file("RoomsPeople.cdx")));

    const char* names[] = {"LASTNAME", "FIRSTNAME", "MI", "DEPARTMENT", "LOCATION", "F1",
                           "F2",       "NOTES",     "PHONE", "LASTUSED", "FLAGS"};
    const int widths[] = {21, 16, 2, 10, 39, 39, 39, 39, 15, 8, 5};
    int offset = 1;
    for (int i = 0; i < 11; ++i) {
        std::size_t at = 32 + 32 * static_cast<std::size_t>(i);
        char name[12] = {};
        std::memcpy(name, &b[at], 11);
        EXPECT_STREQ(name, names[i]);
        for (std::size_t k = std::strlen(names[i]); k < 11; ++k) EXPECT_EQ(b[at + k], 0);
        EXPECT_EQ(b[at + 11], 'C');
        EXPECT_EQ(le32At(b, at + 12), static_cast<std::uint32_t>(offset));
        EXPECT_EQ(b[at + 16], widths[i]);
        EXPECT_EQ(b[at + 17], 0);
        for (std::size_t k = 18; k < 32; ++k) EXPECT_EQ(b[at + k], 0);
        offset += widths[i];
    }
    EXPECT_EQ(b[384], 0x0D);
    EXPECT_EQ(b[385], 0x1A);
}

TEST_F(Data4File, YearByteIsYearModuloHundred) {
    code.clock = [] { return localMoment(2000, 1, 1); };
    Field4info f;
    f.add("A", 'C', 1);
    d4close(d4create(&code, dir.file("y2k"), f));
    auto b = readBytes(dir.file("y2k.dbf"));
    EXPECT_EQ(b[1], 0);
    EXPECT_EQ(b[2], 1);
    EXPECT_EQ(b[3], 1);
}

TEST_F(Data4File, RecordsLieAfterTheHeaderWithOneEndMark) {
    Data4* d = makeSmall("small", 2);
    d4close(d);
    auto b = readBytes(dir.file("small.dbf"));
    const std::size_t header = 32 * 2 + 33;
    ASSERT_EQ(b.size(), header + 2 * 9 + 1);
    EXPECT_EQ(le32At(b, 4), 2u);
    EXPECT_EQ(std::string(b.begin() + header, b.begin() + header + 18), " r1   1   r2   2  ");
    EXPECT_EQ(b.back(), 0x1A);
}

TEST_F(Data4File, AssignPadsWithBlanksAndCutsToWidth) {
    Data4* d = makeSmall("pad", 0);
    Field4* name = d4field(d, "name ");
    ASSERT_NE(name, nullptr);
    d4appendStart(d, 0);
    d4blank(d);
    f4assign(name, "ABC");
    EXPECT_EQ(f4str(name), "ABC  ");
    f4assign(name, "ABCDEFG");
    EXPECT_EQ(f4str(name), "ABCDE");
    ASSERT_EQ(d4append(d), 0);
    d4unlock(d);
    ASSERT_EQ(d4go(d, 1), 0);
    EXPECT_EQ(f4str(d4field(d, "NAME")), "ABCDE");
    EXPECT_EQ(f4len(name), 5);
    EXPECT_EQ(f4type(name), 'C');
    EXPECT_EQ(f4decimals(name), 0);
}

TEST_F(Data4File, NumericReadingTakesLeadingDigits) {
    Data4* d = makeSmall("num", 0);
    Field4* num = d4field(d, "NUM");
    d4appendStart(d, 0);
    d4blank(d);
    f4assign(num, "07x");
    EXPECT_EQ(f4long(num), 7);
    f4assign(num, "abc");
    EXPECT_EQ(f4long(num), 0);
    f4assign(num, "-12");
    EXPECT_EQ(f4long(num), -12);
}

TEST_F(Data4File, SkipPastLastGivesEofWithBlankBuffer) {
    Data4* d = makeSmall("walk", 2);
    ASSERT_EQ(d4top(d), 0);
    EXPECT_EQ(f4str(d4field(d, "NAME")), "r1   ");
    ASSERT_EQ(d4skip(d, 1), 0);
    EXPECT_EQ(d4recNo(d), 2);
    EXPECT_EQ(d4skip(d, 1), res4eof);
    EXPECT_EQ(d4recNo(d), 3);
    EXPECT_TRUE(d4eof(d));
    EXPECT_EQ(f4str(d4field(d, "NAME")), "     ");
    EXPECT_EQ(d4skip(d, 1), res4eof);
}

TEST_F(Data4File, SkipBeforeFirstStaysOnFirstWithBof) {
    Data4* d = makeSmall("back", 3);
    ASSERT_EQ(d4go(d, 2), 0);
    EXPECT_EQ(d4skip(d, -5), res4bof);
    EXPECT_EQ(d4recNo(d), 1);
    EXPECT_TRUE(d4bof(d));
}

TEST_F(Data4File, TopOfEmptyTableIsEof) {
    Data4* d = makeSmall("empty", 0);
    EXPECT_EQ(d4top(d), res4eof);
    EXPECT_TRUE(d4eof(d));
}

TEST_F(Data4File, GoPastTheEndIsAReadErrorOrNoRecord) {
    Data4* d = makeSmall("go", 2);
    EXPECT_EQ(d4go(d, 3), e4read);
    EXPECT_EQ(code.errorCode, e4read);
    EXPECT_EQ(d4recNo(d), -1);
    code.errorCode = 0;
    code.goMissingIsError = 0;
    EXPECT_EQ(d4go(d, 3), res4noRecord);
    EXPECT_EQ(code.errorCode, 0);
    EXPECT_EQ(d4go(d, 0), res4noRecord);
}

TEST_F(Data4File, DeletedRecordIsStillReachedByNumberAndSkip) {
    Data4* d = makeSmall("del", 3);
    ASSERT_EQ(d4go(d, 2), 0);
    d4delete(d);
    EXPECT_EQ(d4flush(d), 0);
    d4unlock(d);
    ASSERT_EQ(d4go(d, 2), 0);
    EXPECT_TRUE(d4deleted(d));
    EXPECT_EQ(d->record[0], '*');
    ASSERT_EQ(d4top(d), 0);
    ASSERT_EQ(d4skip(d, 1), 0);
    EXPECT_EQ(d4recNo(d), 2);
    EXPECT_EQ(d4recCount(d), 3);
}

TEST_F(Data4File, ChangedFlagIsReportedAndSet) {
    Data4* d = makeSmall("chg", 1);
    ASSERT_EQ(d4go(d, 1), 0);
    EXPECT_EQ(d4changed(d, -1), 0);
    f4assign(d4field(d, "NUM"), "9");
    EXPECT_EQ(d4changed(d, -1), 1);
    EXPECT_EQ(d4changed(d, 0), 1);
    EXPECT_EQ(d4changed(d, -1), 0);
}

TEST_F(Data4File, MovingOffAChangedRecordWritesIt) {
    Data4* d = makeSmall("move", 2);
    ASSERT_EQ(d4go(d, 1), 0);
    f4assign(d4field(d, "NAME"), "new");
    ASSERT_EQ(d4go(d, 2), 0);
    d4unlock(d);
    d4close(d);
    Data4* again = d4open(&code, dir.file("move"));
    ASSERT_NE(again, nullptr);
    ASSERT_EQ(d4go(again, 1), 0);
    EXPECT_EQ(f4str(d4field(again, "NAME")), "new  ");
}

TEST_F(Data4File, UnknownFieldNameIsAnError) {
    Data4* d = makeSmall("fields", 0);
    EXPECT_EQ(d4field(d, "NOPE"), nullptr);
    EXPECT_EQ(code.errorCode, e4fieldName);
}

TEST_F(Data4File, OpenFindsTablesWithUpperCaseExtensions) {
    d4close(makeSmall("upper", 1));
    std::filesystem::rename(dir.file("upper.dbf"), dir.file("UPPER.DBF"));
    Data4* d = d4open(&code, dir.file("upper"));
    ASSERT_NE(d, nullptr);
    EXPECT_STREQ(d4alias(d), "UPPER.DBF");
    EXPECT_EQ(d4recCount(d), 1);
}

TEST_F(Data4File, SecondOpenInOneContextIsADuplicateInstance) {
    makeSmall("twice", 0);
    EXPECT_EQ(d4open(&code, dir.file("twice")), nullptr);
    EXPECT_EQ(code.errorCode, e4instance);
}

TEST_F(Data4File, CreatingAnOpenTableFailsWithCreatingFile) {
    makeSmall("open", 0);
    Field4info f;
    f.add("A", 'C', 1);
    EXPECT_EQ(d4create(&code, dir.file("OPEN"), f), nullptr);
    EXPECT_EQ(code.errorCode, e4create);
}

TEST_F(Data4File, RefusedOverwriteLeavesTheFileUntouched) {
    d4close(makeSmall("keep", 2));
    auto before = readBytes(dir.file("keep.dbf"));
    Field4info f;
    f.add("OTHER", 'C', 9);
    EXPECT_EQ(d4create(&code, dir.file("keep"), f), nullptr);
    EXPECT_EQ(code.errorCode, res4noCreate);
    EXPECT_EQ(readBytes(dir.file("keep.dbf")), before);
    // A positive code does not block the next operation and is cleared by the next open.
    Data4* d = d4open(&code, dir.file("keep"));
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(code.errorCode, 0);
}

TEST_F(Data4File, OverwriteReplacesAClosedFile) {
    d4close(makeSmall("replace", 2));
    code.refuseOverwrite = 0;
    Field4info f;
    f.add("OTHER", 'C', 9);
    Data4* d = d4create(&code, dir.file("replace"), f);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d4recCount(d), 0);
    EXPECT_EQ(d4recWidth(d), 10);
}

TEST_F(Data4File, UnknownFieldTypeRefusesCreation) {
    Field4info f;
    f.add("A", 'Q', 3);
    EXPECT_EQ(d4create(&code, dir.file("qtype"), f), nullptr);
    EXPECT_EQ(code.errorCode, e4fieldType);
    EXPECT_FALSE(std::filesystem::exists(dir.file("qtype.dbf")));
}

TEST_F(Data4File, ReadOnlySettingRefusesWrites) {
    d4close(makeSmall("ro", 1));
    code.readOnly = 1;
    Data4* d = d4open(&code, dir.file("ro"));
    ASSERT_NE(d, nullptr);
    ASSERT_EQ(d4go(d, 1), 0);
    f4assign(d4field(d, "NAME"), "x");
    EXPECT_EQ(d4flush(d), e4write);
}

TEST_F(Data4File, ReadOnlyAttributeOpensReadsAndRefusesWrites) {
    d4close(makeSmall("attr", 2));
    chmod(dir.file("attr.dbf").c_str(), 0444);
    Data4* d = d4open(&code, dir.file("attr"));
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->readOnlyAttribute);
    ASSERT_EQ(d4go(d, 2), 0);
    EXPECT_EQ(f4str(d4field(d, "NAME")), "r2   ");
    EXPECT_EQ(d4lockAll(d), 0);
    f4assign(d4field(d, "NAME"), "x");
    EXPECT_EQ(d4flush(d), e4write);
    d4changed(d, 0);
}

TEST_F(Data4File, WriteRequiresLockRefusesChangesOfUnlockedRecords) {
    Data4* d = makeSmall("wrl", 1);
    ASSERT_EQ(d4go(d, 1), 0);
    code.writeRequiresLock = 1;
    EXPECT_EQ(f4assign(d4field(d, "NAME"), "zz"), e4lock);
    code.errorCode = 0;
    EXPECT_EQ(f4str(d4field(d, "NAME")), "r1   ");
    ASSERT_EQ(d4lock(d, 1), 0);
    EXPECT_EQ(f4assign(d4field(d, "NAME"), "zz"), 0);
}

} // namespace
