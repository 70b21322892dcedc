// Reading and writing the group file, checked against images built byte by byte.
#include "common/TempDir.h"
#include "group/ByteBuilder.h"

#include "group/CGroupFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace orv {
namespace {

using namespace std::string_literals;
using test::ByteBuilder;
using test::TempDir;

// A group of three items in the format from before default lengths existed.
ByteBuilder oldFormatGroup() {
    ByteBuilder b;
    b.u32(3).str("Conference Rooms");
    b.str("Boardroom").str("Big table, projector").i32(12);
    b.str("Annex").str("").i32(0);
    b.str("Studio").str("Sound-proofed").i32(4);
    b.str("Room").i32(7).i32(-9).rect(10, 20, 640, 480).str("");
    return b;
}

TEST(GroupFile, OldFormatHeaderThreeReadsThreeItemsWithoutDefaultLength) {
    CGroupFileData data;
    std::string error;
    ASSERT_TRUE(CGroupFile::parse(oldFormatGroup().bytes(), data, error)) << error;
    EXPECT_FALSE(data.newFormat);
    EXPECT_EQ(data.description, "Conference Rooms");
    ASSERT_EQ(data.items.size(), 3u);
    EXPECT_EQ(data.items[0].name(), "Boardroom");
    EXPECT_EQ(data.items[0].longDescription(), "Big table, projector");
    EXPECT_EQ(data.items[0].occupancy(), 12);
    EXPECT_EQ(data.items[1].name(), "Annex");
    EXPECT_EQ(data.items[2].occupancy(), 4);
    for (const CRoom& item : data.items)
        EXPECT_EQ(item.defaultLength(), 0);
    EXPECT_EQ(data.kindWord, "Room");
    EXPECT_EQ(data.reserved[0], 7);
    EXPECT_EQ(data.reserved[1], -9);
    EXPECT_EQ(data.window, (CRect{10, 20, 640, 480}));
    EXPECT_EQ(data.peopleFileName, "");
}

TEST(GroupFile, OldFormatWrittenBackGetsHeader16777219AndFourValuesPerItem) {
    TempDir dir;
    const std::string path = dir.file("Rooms.sch");
    TempDir::put(path, oldFormatGroup().bytes());
    CGroupFileData data;
    std::string error;
    ASSERT_TRUE(CGroupFile::read(path, data, error)) << error;
    ASSERT_TRUE(CGroupFile::write(path, data, error)) << error;

    ByteBuilder expected;
    expected.u32(16777219).str("Conference Rooms");
    expected.str("Boardroom").str("Big table, projector").i32(12).i32(0);
    expected.str("Annex").str("").i32(0).i32(0);
    expected.str("Studio").str("Sound-proofed").i32(4).i32(0);
    expected.str("Room").i32(7).i32(-9).rect(10, 20, 640, 480).str("");
    EXPECT_EQ(TempDir::get(path), expected.bytes());
}

TEST(GroupFile, NewFormatFileReadsDefaultLengthsAndWritesBackIdentically) {
    ByteBuilder b;
    b.u32(0x01000002).str("Vehicles");
    b.str("Van 1").str("9 seats").i32(9).i32(240);
    b.str("Car 2").str("Automatic").i32(5).i32(90);
    b.str("car").i32(0).i32(0).rect(-4, 0, 800, 600).str("OfficesPeople.dbf");

    CGroupFileData data;
    std::string error;
    ASSERT_TRUE(CGroupFile::parse(b.bytes(), data, error)) << error;
    EXPECT_TRUE(data.newFormat);
    ASSERT_EQ(data.items.size(), 2u);
    EXPECT_EQ(data.items[0].defaultLength(), 240);
    EXPECT_EQ(data.items[1].defaultLength(), 90);
    EXPECT_EQ(data.items[1].occupancy(), 5);
    EXPECT_EQ(data.window.left, -4);
    EXPECT_EQ(data.peopleFileName, "OfficesPeople.dbf");

    std::string bytes;
    ASSERT_TRUE(CGroupFile::serialize(data, bytes, error)) << error;
    EXPECT_EQ(bytes, b.bytes());
}

TEST(GroupFile, EmptyGroupWritesHeaderWithOnlyTheNewFormatMark) {
    CGroupFileData data;
    data.kindWord = "Room";
    std::string bytes, error;
    ASSERT_TRUE(CGroupFile::serialize(data, bytes, error)) << error;
    ByteBuilder expected;
    expected.u32(0x01000000).str("").str("Room").i32(0).i32(0).rect(0, 0, 0, 0).str("");
    EXPECT_EQ(bytes, expected.bytes());
}

// Writes a group whose description has `length` characters and returns the prefix bytes.
std::string descriptionPrefix(std::size_t length) {
    CGroupFileData data;
    data.description.assign(length, 'd');
    std::string bytes, error;
    EXPECT_TRUE(CGroupFile::serialize(data, bytes, error)) << error;
    CGroupFileData back;
    EXPECT_TRUE(CGroupFile::parse(bytes, back, error)) << error;
    EXPECT_EQ(back.description, data.description);
    return bytes.substr(4, 7);
}

TEST(GroupFile, StringsBelow255CharactersHaveAOneBytePrefix) {
    EXPECT_EQ(descriptionPrefix(0).substr(0, 1), std::string("\x00", 1));
    EXPECT_EQ(descriptionPrefix(254).substr(0, 2), "\xFE"
                                                   "d");
}

TEST(GroupFile, StringsFrom255ToBelow65534CharactersHave255AndA16BitPrefix) {
    EXPECT_EQ(descriptionPrefix(255).substr(0, 4), "\xFF\xFF\x00"
                                                   "d"s);
    EXPECT_EQ(descriptionPrefix(65533).substr(0, 4), "\xFF\xFD\xFF"
                                                     "d");
}

TEST(GroupFile, StringsOf65534OrMoreCharactersHave255FFFFAndA32BitPrefix) {
    EXPECT_EQ(descriptionPrefix(65534), "\xFF\xFF\xFF\xFE\xFF\x00\x00"s);
    EXPECT_EQ(descriptionPrefix(70000), "\xFF\xFF\xFF\x70\x11\x01\x00"s);
}

TEST(GroupFile, LongerPrefixFormsAreReadEvenForShortStrings) {
    ByteBuilder b;
    b.u32(0x01000001);
    b.u8(0xFF).u16(3).raw("abc");            // description, 16-bit form
    b.u8(0xFF).u16(0xFFFF).u32(2).raw("R1"); // item name, 32-bit form
    b.str("").i32(1).i32(2);
    b.str("Room").i32(0).i32(0).rect(0, 0, 0, 0).str("");
    CGroupFileData data;
    std::string error;
    ASSERT_TRUE(CGroupFile::parse(b.bytes(), data, error)) << error;
    EXPECT_EQ(data.description, "abc");
    ASSERT_EQ(data.items.size(), 1u);
    EXPECT_EQ(data.items[0].name(), "R1");
}

TEST(GroupFile, SixteenBitCharacterStringsAreReadAsWindows1252WithQuestionMarks) {
    // "Café €Ω😀": é and € exist in Windows-1252, Ω and the emoji (a surrogate pair) do not.
    const std::uint16_t units[] = {'C', 'a', 'f', 0x00E9, ' ', 0x20AC, 0x03A9, 0xD83D, 0xDE00};
    ByteBuilder b;
    b.u32(0x01000000);
    b.u8(0xFF).u16(0xFFFE).u8(9);
    for (std::uint16_t u : units)
        b.u16(u);
    b.str("Room").i32(0).i32(0).rect(0, 0, 0, 0).str("");
    CGroupFileData data;
    std::string error;
    ASSERT_TRUE(CGroupFile::parse(b.bytes(), data, error)) << error;
    EXPECT_EQ(data.description, "Caf\xE9 \x80??");

    // Written back as single-byte text.
    std::string bytes;
    ASSERT_TRUE(CGroupFile::serialize(data, bytes, error));
    EXPECT_EQ(bytes.substr(4, 9), "\x08"
                                  "Caf\xE9 \x80??");
}

TEST(GroupFile, SixteenBitCharacterStringWithLongCountPrefix) {
    ByteBuilder b;
    b.u32(0x01000000);
    b.u8(0xFF).u16(0xFFFE).u8(0xFF).u16(300);
    for (int i = 0; i < 300; ++i)
        b.u16('x');
    b.str("Room").i32(0).i32(0).rect(0, 0, 0, 0);
    CGroupFileData data;
    std::string error;
    ASSERT_TRUE(CGroupFile::parse(b.bytes(), data, error)) << error;
    EXPECT_EQ(data.description, std::string(300, 'x'));
    EXPECT_EQ(data.kindWord, "Room");
}

CGroupFileData readWithPeopleName(const std::string& stored) {
    ByteBuilder b;
    b.u32(0x01000000).str("G").str("Room").i32(0).i32(0).rect(0, 0, 0, 0).str(stored);
    CGroupFileData data;
    std::string error;
    EXPECT_TRUE(CGroupFile::parse(b.bytes(), data, error)) << error;
    return data;
}

TEST(GroupFile, PeopleFileNameWithDriveLetterAndFoldersIsCutToBareName) {
    EXPECT_EQ(readWithPeopleName("C:\\Data\\OfficesPeople.dbf").peopleFileName,
              "OfficesPeople.dbf");
    EXPECT_EQ(readWithPeopleName("D:OfficesPeople.dbf").peopleFileName, "OfficesPeople.dbf");
}

TEST(GroupFile, PeopleFileNameWithBackslashesOrSlashesIsCutToBareName) {
    EXPECT_EQ(readWithPeopleName("\\\\server\\share\\P.dbf").peopleFileName, "P.dbf");
    EXPECT_EQ(readWithPeopleName("groups/shared/P.dbf").peopleFileName, "P.dbf");
    EXPECT_EQ(readWithPeopleName("/abs/P.dbf").peopleFileName, "P.dbf");
    EXPECT_EQ(readWithPeopleName("P.dbf").peopleFileName, "P.dbf");
}

TEST(GroupFile, WritingStoresThePeopleNameAsGivenThenDropsItsDriveLetter) {
    TempDir dir;
    const std::string path = dir.file("G.sch");
    CGroupFileData data;
    data.kindWord = "Room";
    data.peopleFileName = "C:\\Data\\OfficesPeople.dbf";
    std::string error;
    ASSERT_TRUE(CGroupFile::write(path, data, error)) << error;
    EXPECT_EQ(data.peopleFileName, "OfficesPeople.dbf");
    const std::string bytes = TempDir::get(path);
    EXPECT_EQ(bytes.substr(bytes.size() - 26), "\x19"
                                               "C:\\Data\\OfficesPeople.dbf");
}

TEST(GroupFile, FileEndingAfterWindowRectangleOpensWithOwnPeopleFile) {
    ByteBuilder b;
    b.u32(0x01000001).str("Rooms").str("A").str("").i32(3).i32(30);
    b.str("Room").i32(0).i32(0).rect(1, 2, 3, 4);
    CGroupFileData data;
    data.peopleFileName = "left over from before";
    std::string error;
    ASSERT_TRUE(CGroupFile::parse(b.bytes(), data, error)) << error;
    EXPECT_EQ(data.peopleFileName, "");
    EXPECT_EQ(data.window, (CRect{1, 2, 3, 4}));
    ASSERT_EQ(data.items.size(), 1u);
    EXPECT_EQ(data.items[0].defaultLength(), 30);
}

TEST(GroupFile, PeopleFileNameCutOffInsideItsTextCountsAsNone) {
    ByteBuilder b;
    b.u32(0x01000000).str("G").str("Room").i32(0).i32(0).rect(0, 0, 0, 0).u8(20).raw("Offi");
    CGroupFileData data;
    std::string error;
    ASSERT_TRUE(CGroupFile::parse(b.bytes(), data, error)) << error;
    EXPECT_EQ(data.peopleFileName, "");
}

// A reference group whose every part is present, and where each part ends.
struct Reference {
    std::string bytes;
    std::size_t windowEnd = 0;
};

Reference referenceGroup() {
    ByteBuilder b;
    b.u32(0x01000002).str("Conference Rooms");
    b.str("Boardroom").str("Projector").i32(12).i32(60);
    b.str("Annex").u8(0xFF).u16(300).raw(std::string(300, 'a')).i32(4).i32(45);
    b.str("Room").i32(0).i32(0).rect(5, 6, 700, 500);
    Reference r;
    r.windowEnd = b.size();
    b.str("OfficesPeople.dbf");
    r.bytes = b.bytes();
    return r;
}

TEST(GroupFile, FileCutOffBeforeTheWindowRectangleIsCompleteFailsAtEveryLength) {
    const Reference ref = referenceGroup();
    CGroupFileData sentinel;
    sentinel.description = "unchanged";
    for (std::size_t n = 0; n < ref.windowEnd; ++n) {
        CGroupFileData data = sentinel;
        std::string error;
        EXPECT_FALSE(CGroupFile::parse(std::string_view(ref.bytes).substr(0, n), data, error))
            << "length " << n;
        EXPECT_FALSE(error.empty()) << "length " << n;
        EXPECT_EQ(data.description, "unchanged") << "length " << n;
    }
}

TEST(GroupFile, FileCutOffInsideThePeopleFileNameIsAcceptedAtEveryLength) {
    const Reference ref = referenceGroup();
    for (std::size_t n = ref.windowEnd; n < ref.bytes.size(); ++n) {
        CGroupFileData data;
        std::string error;
        ASSERT_TRUE(CGroupFile::parse(std::string_view(ref.bytes).substr(0, n), data, error))
            << "length " << n << ": " << error;
        EXPECT_EQ(data.peopleFileName, "");
        EXPECT_EQ(data.window, (CRect{5, 6, 700, 500}));
    }
}

TEST(GroupFile, TruncatedFilesOnDiskFailWithAReasonAndAreLeftAlone) {
    const Reference ref = referenceGroup();
    TempDir dir;
    const std::string path = dir.file("Cut.sch");
    for (std::size_t n = 0; n < ref.windowEnd; ++n) {
        const std::string cut = ref.bytes.substr(0, n);
        TempDir::put(path, cut);
        CGroupFileData data;
        std::string error;
        EXPECT_FALSE(CGroupFile::read(path, data, error)) << "length " << n;
        EXPECT_NE(error.find(path), std::string::npos) << error;
        EXPECT_EQ(TempDir::get(path), cut);
    }
}

TEST(GroupFile, LengthPrefixLargerThanTheFileFails) {
    ByteBuilder b;
    b.u32(0x01000000).u8(0xFF).u16(0xFFFF).u32(0xFFFFFFF0).raw("short");
    CGroupFileData data;
    std::string error;
    EXPECT_FALSE(CGroupFile::parse(b.bytes(), data, error));
    EXPECT_NE(error.find("description"), std::string::npos) << error;

    ByteBuilder wide;
    wide.u32(0x01000000).u8(0xFF).u16(0xFFFE).u8(0xFF).u16(0xFFFF).u32(0x80000000).raw("xx");
    EXPECT_FALSE(CGroupFile::parse(wide.bytes(), data, error));
}

TEST(GroupFile, HugeItemCountInASmallFileFailsNamingTheItem) {
    ByteBuilder b;
    b.u32(0x01FFFFFF).str("G").str("A").str("").i32(1).i32(2);
    CGroupFileData data;
    std::string error;
    EXPECT_FALSE(CGroupFile::parse(b.bytes(), data, error));
    EXPECT_NE(error.find("item 2 of 16777215"), std::string::npos) << error;
}

TEST(GroupFile, RandomBytesAreRefusedOrReadWithoutCrashing) {
    std::mt19937 random(20240305);
    for (int round = 0; round < 3000; ++round) {
        std::string bytes(random() % 200, '\0');
        for (char& c : bytes)
            c = static_cast<char>(random() & 0xFF);
        if (round % 3 == 0 && bytes.size() >= 4) bytes[3] = 1; // often a plausible header
        if (round % 2 == 0 && bytes.size() >= 4) {             // and a small item count
            bytes[0] = static_cast<char>(random() % 4);
            bytes[1] = bytes[2] = 0;
        }
        CGroupFileData data;
        std::string error;
        if (CGroupFile::parse(bytes, data, error)) {
            // What was read writes back into something that reads the same.
            std::string again;
            ASSERT_TRUE(CGroupFile::serialize(data, again, error));
            CGroupFileData back;
            ASSERT_TRUE(CGroupFile::parse(again, back, error));
            EXPECT_EQ(back.items.size(), data.items.size());
            EXPECT_EQ(back.description, data.description);
        } else {
            EXPECT_FALSE(error.empty());
        }
    }
}

TEST(GroupFile, MissingFileFailsNamingIt) {
    TempDir dir;
    CGroupFileData data;
    std::string error;
    EXPECT_FALSE(CGroupFile::read(dir.file("Nowhere.sch"), data, error));
    EXPECT_NE(error.find("Nowhere.sch"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.file("Nowhere.sch")));
}

TEST(GroupFile, FolderInsteadOfFileFails) {
    TempDir dir;
    CGroupFileData data;
    std::string error;
    EXPECT_FALSE(CGroupFile::read(dir.path(), data, error));
    EXPECT_FALSE(error.empty());
}

TEST(GroupFile, RewritingKeepsTheFilesPermissionBits) {
    TempDir dir;
    const std::string path = dir.file("Rooms.sch");
    TempDir::put(path, oldFormatGroup().bytes());
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    CGroupFileData data;
    std::string error;
    ASSERT_TRUE(CGroupFile::read(path, data, error)) << error;
    ASSERT_TRUE(CGroupFile::write(path, data, error)) << error;
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(GroupFile, RewritingThroughASymbolicLinkReplacesItsTargetAndKeepsTheLink) {
    TempDir dir;
    const std::string target = dir.file("Real.sch");
    const std::string link = dir.file("Link.sch");
    TempDir::put(target, oldFormatGroup().bytes());
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    CGroupFileData data;
    std::string error;
    ASSERT_TRUE(CGroupFile::read(link, data, error)) << error;
    data.description = "Renamed";
    ASSERT_TRUE(CGroupFile::write(link, data, error)) << error;
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    CGroupFileData back;
    ASSERT_TRUE(CGroupFile::read(target, back, error)) << error;
    EXPECT_EQ(back.description, "Renamed");
}

TEST(GroupFile, FailedWriteLeavesTheOldFileWholeAndNoTemporaryFile) {
    TempDir dir;
    const std::string path = dir.file("Rooms.sch");
    const std::string original = oldFormatGroup().bytes();
    TempDir::put(path, original);

    // A second process whose file size limit makes the write fail half way (root ignores
    // permissions, a size limit it does not).
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit {
            4096, 4096
        };
        ::setrlimit(RLIMIT_FSIZE, &limit);
        CGroupFileData data;
        std::string error;
        if (!CGroupFile::read(path, data, error)) ::_exit(3);
        data.description.assign(100000, 'x');
        const bool wrote = CGroupFile::write(path, data, error);
        ::_exit(!wrote && error.find("Rooms.sch") != std::string::npos ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(TempDir::get(path), original);
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 1);
}

} // namespace
} // namespace orv
