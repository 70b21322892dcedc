// The bytes a new index file gets: header blocks, the directory leaf and compressed leaves.

#include "Cdx4TestSupport.h"

#include "storage/Result4.h"

#include <sstream>

namespace orv::cdxtest {
namespace {

// The schedule index with three bookings, byte for byte as other software expects it. Rows
// not listed are zero.
constexpr const char* kThreeBookings = R"(
0000: 00 04 00 00 00 00 00 00 00 00 00 00 0A 00 E0 01
01F0: 00 00 00 00 00 00 00 00 01 00 01 00 00 00 01 00
0400: 03 00 01 00 FF FF FF FF FF FF FF FF DD 01 FF FF
0410: 00 00 0F 0F 10 04 04 03 00 06 20 00 00 00 00 00
05F0: 00 00 00 00 00 00 00 00 53 43 48 45 44 54 41 47
0600: 00 0A 00 00 00 00 00 00 00 00 00 00 20 00 69 01
07F0: 00 00 00 00 00 00 00 00 1E 00 10 00 00 00 1E 00
0800: 44 41 54 45 2B 52 4F 4F 4D 4E 41 4D 45 2B 53 54
0810: 41 52 54 48 48 2B 53 54 41 52 54 4D 4D 00 2E 4E
0820: 4F 54 2E 20 44 45 4C 45 54 45 44 28 29 00 00 00
0A00: 03 00 03 00 FF FF FF FF FF FF FF FF A3 01 FF 0F
0A10: 00 00 3F 3F 0C 06 06 03 02 00 00 03 C0 01 01 80
0BC0: 00 00 00 00 4C 61 62 20 41 20 20 20 20 20 20 20
0BD0: 20 20 20 20 20 20 20 20 31 34 30 30 31 33 33 30
0BE0: 32 30 32 34 30 33 31 35 42 6F 61 72 64 20 52 6F
0BF0: 6F 6D 20 20 20 20 20 20 20 20 20 20 30 39 30 30
)";

std::vector<std::uint8_t> fromDump(const char* dump, std::size_t size) {
    std::vector<std::uint8_t> out(size, 0);
    std::istringstream in(dump);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty()) continue;
        std::size_t at = std::stoul(line.substr(0, line.find(':')), nullptr, 16);
        std::istringstream bytes(line.substr(line.find(':') + 1));
        std::string b;
        while (bytes >> b)
            out.at(at++) = static_cast<std::uint8_t>(std::stoul(b, nullptr, 16));
    }
    return out;
}

Cdx4::TagSpec scheduleTag() {
    Cdx4::TagSpec s;
    s.name = "SCHEDTAG";
    s.keyExpr = "DATE+ROOMNAME+STARTHH+STARTMM";
    s.filterExpr = ".NOT. DELETED()";
    s.options = 0x61;
    s.keyLength = 32;
    return s;
}

std::string room(const std::string& name) {
    return name + std::string(20 - name.size(), ' ');
}

TEST(Cdx4Layout, ThreeBookingsGiveTheReferenceBytes) {
    ScratchDir dir;
    const std::string path = dir.file("sched.cdx");
    {
        OpenIndex cdx(path);
        ASSERT_EQ(cdx->create({scheduleTag()}), 0);
        ASSERT_EQ(cdx->insert(0, "20240315" + room("Lab A") + "1400", 1), 0);
        ASSERT_EQ(cdx->insert(0, "20240315" + room("Board Room") + "0900", 2), 0);
        ASSERT_EQ(cdx->insert(0, "20240315" + room("Board Room") + "1330", 3), 0);
        ASSERT_EQ(cdx->commit(), 0);
    }
    std::vector<std::uint8_t> got = readFile(path);
    ASSERT_EQ(got.size(), 0xC00u);
    // The reference shows the counter before any commit; ours has committed once.
    EXPECT_EQ(got[8], 0);
    EXPECT_EQ(got[9], 0);
    EXPECT_EQ(got[10], 0);
    EXPECT_EQ(got[11], 1);
    got[11] = 0;
    const std::vector<std::uint8_t> want = fromDump(kThreeBookings, 0xC00);
    for (std::size_t i = 0; i < want.size(); ++i)
        ASSERT_EQ(int{got[i]}, int{want[i]}) << "first difference at offset " << std::hex << i;
}

TEST(Cdx4Layout, EmptyTagIsOneRootLeaf) {
    ScratchDir dir;
    const std::string path = dir.file("empty.cdx");
    OpenIndex cdx(path);
    ASSERT_EQ(cdx->create({scheduleTag()}), 0);
    const std::vector<std::uint8_t> b = readFile(path);
    ASSERT_EQ(b.size(), 0xC00u);
    const std::vector<std::uint8_t> leafHeader = {3,    0,    0,    0,    0xFF, 0xFF, 0xFF, 0xFF,
                                                  0xFF, 0xFF, 0xFF, 0xFF, 0xE8, 0x01, 0xFF, 0x0F,
                                                  0,    0,    0x3F, 0x3F, 12,   6,    6,    3};
    EXPECT_TRUE(std::equal(leafHeader.begin(), leafHeader.end(), b.begin() + 0xA00));
    Cdx4::Cursor c;
    EXPECT_EQ(cdx->first(0, c), res4eof);
    EXPECT_EQ(cdx->last(0, c), res4eof);
    long long n = -1;
    EXPECT_EQ(cdx->keyCount(0, &n), 0);
    EXPECT_EQ(n, 0);
    std::string problem;
    EXPECT_EQ(cdx->verify(0, &problem, nullptr), 0) << problem;
}

TEST(Cdx4Layout, SeveralTagsKeepTheirOrderAndHeaders) {
    ScratchDir dir;
    const std::string path = dir.file("multi.cdx");
    std::vector<Cdx4::TagSpec> defs(3);
    defs[0] = {"ROSTERLINK", "DATE+ROOMNAME+STARTHH+STARTMM", ".NOT. DELETED()", 0x60, false, 32};
    defs[1] = {"byname", "LASTNAME", "", 0x60, true, 20};
    defs[2] = {"ALPHA", "ROOMNAME", "", 0x61, false, 240};
    {
        OpenIndex cdx(path);
        ASSERT_EQ(cdx->create(defs), 0);
        ASSERT_EQ(cdx->tagCount(), 3);
    }
    const std::vector<std::uint8_t> b = readFile(path);
    ASSERT_EQ(b.size(), 0x600u + 3 * 0x600u);
    // Directory leaf: names in name order, each pointing at its header block.
    OpenIndex cdx(path);
    ASSERT_EQ(cdx->open(), 0);
    ASSERT_EQ(cdx->tagCount(), 3);
    const char* names[] = {"ROSTERLINK", "BYNAME", "ALPHA"};
    for (int i = 0; i < 3; ++i) {
        const Cdx4::TagInfo& t = cdx->tag(i);
        EXPECT_EQ(t.name, names[i]);
        EXPECT_EQ(t.headerOffset, 0x600u * static_cast<unsigned>(i + 1));
        EXPECT_EQ(t.keyExpr, defs[static_cast<std::size_t>(i)].keyExpr);
        EXPECT_EQ(t.filterExpr, defs[static_cast<std::size_t>(i)].filterExpr);
        EXPECT_EQ(t.keyLength, defs[static_cast<std::size_t>(i)].keyLength);
        EXPECT_EQ(le32(b, t.headerOffset), t.headerOffset + 0x400); // root leaf follows
    }
    EXPECT_EQ(cdx->tag(0).options, 0x68); // a filter sets its bit
    EXPECT_EQ(cdx->tag(1).options, 0x60);
    EXPECT_EQ(cdx->tag(2).options, 0x61);
    EXPECT_TRUE(cdx->tag(1).descending);
    EXPECT_EQ(b[0xC00 + 502], 1);
    // no filter: its start follows the key text, its length counts only the 0x00
    EXPECT_EQ(b[0xC00 + 504], 9);
    EXPECT_EQ(b[0xC00 + 506], 1);
    EXPECT_EQ(b[0xC00 + 510], 9);
    // Directory entries come in name order: ALPHA's header (the third block) first.
    EXPECT_EQ(le32(b, 0x400 + 24) & 0xFFFF, 0x1200u);
}

TEST(Cdx4Layout, DirectoryNamesPaddedWithZerosAreRead) {
    ScratchDir dir;
    const std::string path = dir.file("zeros.cdx");
    {
        OpenIndex cdx(path);
        ASSERT_EQ(cdx->create({scheduleTag()}), 0);
    }
    // the one directory entry stored in full: "SCHEDTAG", 0x00, 0x00, no trailing count
    writeBytes(path, 0x400 + 12, {0xDB, 0x01});
    writeBytes(path, 0x400 + 24, {0x00, 0x06, 0x00});
    writeBytes(path, 0x600 - 10, {'S', 'C', 'H', 'E', 'D', 'T', 'A', 'G', 0, 0});
    OpenIndex cdx(path);
    ASSERT_EQ(cdx->open(), 0);
    ASSERT_EQ(cdx->tagCount(), 1);
    EXPECT_EQ(cdx->tag(0).name, "SCHEDTAG");
    EXPECT_EQ(cdx->findTag("SCHEDTAG"), 0);
}

TEST(Cdx4Layout, BadTagSpecsAreRefused) {
    ScratchDir dir;
    OpenIndex cdx(dir.file("bad.cdx"));
    const Cdx4::TagSpec ok = scheduleTag();
    Cdx4::TagSpec longName = ok;
    longName.name = "ELEVENCHARS";
    Cdx4::TagSpec noKey = ok;
    noKey.keyExpr.clear();
    Cdx4::TagSpec wide = ok;
    wide.keyLength = 241;
    Cdx4::TagSpec hugeExpr = ok;
    hugeExpr.keyExpr = std::string(500, 'A');
    EXPECT_EQ(cdx->create({longName}), e4tagInfo);
    EXPECT_EQ(cdx->create({noKey}), e4tagInfo);
    EXPECT_EQ(cdx->create({wide}), e4tagInfo);
    EXPECT_EQ(cdx->create({hugeExpr}), e4tagInfo);
    EXPECT_EQ(cdx->create({ok, ok}), e4tagInfo);
    EXPECT_EQ(cdx->insert(0, std::string(32, ' '), 1), e4parm);
    ASSERT_EQ(cdx->create({ok}), 0);
    EXPECT_EQ(cdx->insert(0, "short", 1), e4parm);
    EXPECT_EQ(cdx->insert(1, std::string(32, ' '), 1), e4parm);
}

} // namespace
} // namespace orv::cdxtest
