// Damaged index files: every operation answers e4index (or another code) and returns; nothing
// reads out of bounds, loops for ever or allocates without limit.

#include "Cdx4TestSupport.h"

#include "storage/Result4.h"

#include <random>

namespace orv::cdxtest {
namespace {

constexpr std::uint32_t kTagHeader = 0x600;

std::vector<std::uint8_t> be32bytes(std::uint32_t v) {
    return {static_cast<std::uint8_t>(v >> 24), static_cast<std::uint8_t>(v >> 16),
            static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)};
}

std::string keyOf(std::uint32_t i) {
    char key[40];
    std::snprintf(key, sizeof key, "2026%04u%-20s%04u", i / 50, i % 3 ? "Gym 1" : "Lab A", i % 50);
    return key;
}

// A three-level tag of 3000 entries, and 40 pages on the free list.
class Cdx4Corrupt : public ::testing::Test {
protected:
    void SetUp() override {
        m_path = m_dir.file("base.cdx");
        OpenIndex cdx(m_path);
        Cdx4::TagSpec s;
        s.name = "SCHED";
        s.keyExpr = "DATE+ROOMNAME+STARTHH+STARTMM";
        s.keyLength = 32;
        ASSERT_EQ(cdx->create({s}), 0);
        for (std::uint32_t i = 1; i <= 4500; ++i)
            ASSERT_EQ(cdx->insert(0, keyOf(i), i), 0);
        for (std::uint32_t i = 3001; i <= 4500; ++i)
            ASSERT_EQ(cdx->remove(0, keyOf(i), i), 0);
        ASSERT_EQ(cdx->commit(), 0);
        long long free = 0;
        ASSERT_EQ(cdx->freePageCount(&free), 0);
        ASSERT_GE(free, 3);
        m_bytes = readFile(m_path);
        m_root = le32(m_bytes, kTagHeader);
        ASSERT_EQ(m_bytes[m_root], 1) << "root should be interior";
        std::uint32_t off = m_root;
        while ((m_bytes[off] & 2) == 0)
            off = be32(off + 12 + 32 + 4);
        m_firstLeaf = off;
        for (std::uint32_t at = m_firstLeaf; at != 0xFFFFFFFF; at = le32(m_bytes, at + 8))
            m_leaves.push_back(at);
        ASSERT_GE(m_leaves.size(), 20u);
        ASSERT_EQ(m_bytes[be32(m_root + 12 + 32 + 4)], 0) << "three levels expected";
    }

    std::uint32_t be32(std::size_t at) const {
        return (std::uint32_t{m_bytes[at]} << 24) | (std::uint32_t{m_bytes[at + 1]} << 16) |
               (std::uint32_t{m_bytes[at + 2]} << 8) | m_bytes[at + 3];
    }

    // Puts `bytes` at `at` in the copy, opens it, and expects every tree operation to give
    // e4index; the file is restored afterwards.
    void expectRefused(const char* what, std::uint32_t at, const std::vector<std::uint8_t>& bytes) {
        SCOPED_TRACE(what);
        writeBytes(m_path, at, bytes);
        {
            OpenIndex cdx(m_path);
            ASSERT_EQ(cdx->open(), 0);
            Cdx4::Cursor c;
            std::string problem;
            long long n = 0;
            std::uint32_t record = 0;
            EXPECT_EQ(cdx->verify(0, &problem, nullptr), e4index);
            EXPECT_FALSE(problem.empty());
            EXPECT_EQ(cdx->first(0, c), e4index);
            EXPECT_EQ(cdx->keyCount(0, &n), e4index);
            EXPECT_EQ(cdx->findKey(0, keyOf(1), &record), e4index);
            EXPECT_EQ(cdx->insert(0, keyOf(1), 7777), e4index);
            EXPECT_EQ(cdx->remove(0, keyOf(1), 1), e4index);
        }
        writeBytes(m_path, 0, m_bytes);
    }

    ScratchDir m_dir;
    std::string m_path;
    std::vector<std::uint8_t> m_bytes;
    std::uint32_t m_root = 0;
    std::uint32_t m_firstLeaf = 0;
    std::vector<std::uint32_t> m_leaves;
};

TEST_F(Cdx4Corrupt, BadPagesOnTheWayDownAreRefused) {
    const std::uint32_t mid = be32(m_root + 12 + 32 + 4);
    expectRefused("root outside the file", kTagHeader, le32bytes(0x7FFFFE00));
    expectRefused("root off a page boundary", kTagHeader, le32bytes(m_root + 100));
    expectRefused("node that is its own child", m_root + 12 + 32 + 4, be32bytes(m_root));
    expectRefused("child pointing back up", mid + 12 + 32 + 4, be32bytes(m_root));
    expectRefused("leaf with a thousand keys", m_firstLeaf + 2, {0xE8, 0x03});
    expectRefused("interior node with a thousand keys", m_root + 2, {0xE8, 0x03});
    expectRefused("bad attributes", m_firstLeaf, {0x07, 0x00});
    expectRefused("no entry width", m_firstLeaf + 23, {0});
    // entry 0: trailing count 63, more than the 32 bytes of the key
    const int r = m_bytes[m_firstLeaf + 20];
    const int d = m_bytes[m_firstLeaf + 21];
    std::uint64_t v = m_bytes[m_firstLeaf + 24] | (m_bytes[m_firstLeaf + 25] << 8) |
                      (m_bytes[m_firstLeaf + 26] << 16);
    v |= std::uint64_t{0x3F} << (r + d);
    expectRefused("negative key byte count", m_firstLeaf + 24,
                  {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                   static_cast<std::uint8_t>(v >> 16)});
}

TEST_F(Cdx4Corrupt, ReindexBuildsAFreshTreeBesideABrokenOne) {
    writeBytes(m_path, kTagHeader, le32bytes(0x7FFFFE00));
    OpenIndex cdx(m_path);
    ASSERT_EQ(cdx->open(), 0);
    ASSERT_EQ(cdx->rebuild(0, {{keyOf(1), 1}, {keyOf(2), 2}}), 0);
    std::string problem;
    EXPECT_EQ(cdx->verify(0, &problem, nullptr), 0) << problem;
    long long n = 0;
    EXPECT_EQ(cdx->keyCount(0, &n), 0);
    EXPECT_EQ(n, 2);
}

TEST_F(Cdx4Corrupt, ChangeThatFailsHalfWayIsNeverWritten) {
    // The first leaf fills up; splitting it needs its right neighbour, which is damaged.
    writeBytes(m_path, m_leaves[1] + 2, {0xE8, 0x03});
    const std::vector<std::uint8_t> before = readFile(m_path);
    OpenIndex cdx(m_path);
    ASSERT_EQ(cdx->open(), 0);
    for (std::uint32_t r = 0; r < 100; ++r) // at the far end: fine
        ASSERT_EQ(cdx->insert(0, "2027" + keyOf(r).substr(4), 20000 + r), 0);
    int rc = 0;
    for (std::uint32_t r = 0; r < 200 && rc == 0; ++r)
        rc = cdx->insert(0, "2025" + keyOf(r).substr(4), 10000 + r);
    ASSERT_EQ(rc, e4index);
    EXPECT_EQ(cdx->commit(), 0);
    EXPECT_EQ(readFile(m_path), before);
    std::uint32_t record = 0;
    EXPECT_EQ(cdx->findKey(0, "2027" + keyOf(1).substr(4), &record), res4eof); // dropped too
    EXPECT_EQ(cdx->findKey(0, keyOf(2000), &record), 0);
}

TEST_F(Cdx4Corrupt, LeafChainThatLoops) {
    writeBytes(m_path, m_leaves[5] + 8, le32bytes(m_leaves[1]));
    OpenIndex cdx(m_path);
    ASSERT_EQ(cdx->open(), 0);
    int end = 0;
    const std::vector<Entry> got = walk(*cdx, 0, &end, 100000);
    EXPECT_EQ(end, e4index);
    EXPECT_LT(got.size(), 3000u);
    long long n = 0;
    EXPECT_EQ(cdx->keyCount(0, &n), e4index);
    std::string problem;
    EXPECT_EQ(cdx->verify(0, &problem, nullptr), e4index);
    EXPECT_NE(problem.find("sibling"), std::string::npos) << problem;
}

TEST_F(Cdx4Corrupt, InteriorKeyThatDiffersFromTheLeaf) {
    std::vector<std::uint8_t> key(32, 'z');
    const std::uint32_t mid = be32(m_root + 12 + 32 + 4);
    writeBytes(m_path, mid + 12, key);
    OpenIndex cdx(m_path);
    ASSERT_EQ(cdx->open(), 0);
    std::string problem;
    EXPECT_EQ(cdx->verify(0, &problem, nullptr), e4index);
    EXPECT_NE(problem.find("differs"), std::string::npos) << problem;
}

TEST_F(Cdx4Corrupt, FreeListThatLoops) {
    const std::uint32_t head = le32(m_bytes, 4);
    const std::uint32_t second = le32(m_bytes, head);
    writeBytes(m_path, second, le32bytes(head));
    OpenIndex cdx(m_path);
    ASSERT_EQ(cdx->open(), 0);
    long long n = 0;
    EXPECT_EQ(cdx->freePageCount(&n), e4index);
    int rc = 0;
    for (std::uint32_t i = 5000; i < 9000 && rc == 0; ++i)
        rc = cdx->insert(0, keyOf(i), i);
    EXPECT_EQ(rc, e4index);
}

TEST_F(Cdx4Corrupt, FreeListPointingOutsideTheFile) {
    writeBytes(m_path, 4, le32bytes(0x7FFFFE00));
    OpenIndex cdx(m_path);
    ASSERT_EQ(cdx->open(), 0);
    long long n = 0;
    EXPECT_EQ(cdx->freePageCount(&n), e4index);
    int rc = 0;
    for (std::uint32_t i = 5000; i < 9000 && rc == 0; ++i)
        rc = cdx->insert(0, keyOf(i), i);
    EXPECT_EQ(rc, e4index);
}

TEST_F(Cdx4Corrupt, DirectoryPointingOutsideTheFile) {
    {
        writeBytes(m_path, 0, le32bytes(0x10000000));
        OpenIndex cdx(m_path);
        EXPECT_EQ(cdx->open(), e4index);
        EXPECT_EQ(cdx->tagCount(), 0);
    }
    {
        writeBytes(m_path, 0, le32bytes(0x400));
        // the directory entry's record (the tag header offset) points past the end
        writeBytes(m_path, 0x400 + 24, {0xFF, 0xFF, 0x50});
        OpenIndex cdx(m_path);
        EXPECT_EQ(cdx->open(), e4index);
    }
}

TEST_F(Cdx4Corrupt, GarbagePagesNeverCrash) {
    const std::vector<std::uint8_t> good = m_bytes;
    for (unsigned seed = 1; seed <= 20; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 rng(seed);
        std::vector<std::uint8_t> b = good;
        for (std::size_t i = 0xA00; i < b.size(); ++i)
            b[i] = static_cast<std::uint8_t>(rng());
        writeBytes(m_path, 0, b);
        OpenIndex cdx(m_path);
        ASSERT_EQ(cdx->open(), 0);
        std::string problem;
        EXPECT_EQ(cdx->verify(0, &problem, nullptr), e4index);
        int end = 0;
        walk(*cdx, 0, &end, 100000);
        EXPECT_EQ(end, e4index);
        walkBack(*cdx, 0, &end, 100000);
        EXPECT_EQ(end, e4index);
    }
}

// Random damage anywhere: each operation comes back with a known code.
TEST_F(Cdx4Corrupt, FlippedBytesGiveCodesNotCrashes) {
    const std::vector<std::uint8_t> good = m_bytes;
    auto known = [](int rc) {
        return rc == 0 || rc == 1 || rc == res4eof || rc == res4bof || rc == res4noRecord ||
               rc == e4index || rc == e4parm;
    };
    for (unsigned seed = 1; seed <= 150; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 rng(seed);
        std::vector<std::uint8_t> b = good;
        const int flips = static_cast<int>(rng() % 8 + 1);
        for (int i = 0; i < flips; ++i) {
            // mostly in the tree's pages, sometimes in the headers
            const std::size_t at =
                rng() % 4 == 0 ? rng() % 0xA00 : 0xA00 + rng() % (b.size() - 0xA00);
            b[at] = static_cast<std::uint8_t>(rng());
        }
        writeBytes(m_path, 0, b);
        OpenIndex cdx(m_path);
        const int opened = cdx->open();
        ASSERT_TRUE(opened == 0 || opened == e4index) << opened;
        if (opened != 0 || cdx->tagCount() != 1) continue;
        int end = 0;
        EXPECT_LT(walk(*cdx, 0, &end, 100000).size(), 100000u);
        EXPECT_TRUE(known(end)) << end;
        EXPECT_LT(walkBack(*cdx, 0, &end, 100000).size(), 100000u);
        EXPECT_TRUE(known(end)) << end;
        std::string problem;
        long long n = 0;
        EXPECT_TRUE(known(cdx->verify(0, &problem, nullptr)));
        EXPECT_TRUE(known(cdx->keyCount(0, &n)));
        EXPECT_TRUE(known(cdx->freePageCount(&n)));
        for (std::uint32_t i = 0; i < 300; ++i) {
            const std::uint32_t r = static_cast<std::uint32_t>(rng() % 6000 + 1);
            const int rc = i % 3 ? cdx->insert(0, keyOf(r), r) : cdx->remove(0, keyOf(r), r);
            EXPECT_TRUE(known(rc)) << rc;
            if (rc < 0) break;
        }
        EXPECT_TRUE(known(cdx->commit()));
    }
}

} // namespace
} // namespace orv::cdxtest
