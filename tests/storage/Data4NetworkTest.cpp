// The network path: on a file system the engine treats as a network share every read call is a
// round trip, so walks read records and index pages in 64 KiB blocks and keep them for the rest
// of the walk. These tests count the calls (a counting file layer that reports every path as a
// network one) and check the freshness rules: a new walk, a lock of ours and a read under a lock
// see what another process wrote before. The last ones run the same on a real FUSE pass-through
// file system, where the engine finds the network path by itself; they skip where FUSE cannot be
// mounted.
#include "common/CountingFs.h"
#include "common/FuseMount.h"
#include "common/Process.h"
#include "common/TempDir.h"
#include "storage/Data4.h"
#include "storage/RecordBlocks4.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>

using namespace orv;
using namespace orv::test;

namespace {

const std::string kNetworkPeer = helperPath("storage_peer");
constexpr long kRecords = 4000; // 785 KiB of records
constexpr int kNoteWidth = 190;

std::string keyOf(long i) {
    char b[16];
    std::snprintf(b, sizeof b, "K%07ld", i);
    return b;
}

// A table of kRecords records of 201 bytes whose tag order is their record order.
void makeTable(const std::string& path, long records = kRecords) {
    Code4 code;
    code4init(&code);
    code.silentErrors = 1;
    Field4info f;
    f.add("KEY", 'C', 10);
    f.add("NOTES", 'C', kNoteWidth);
    Tag4info t;
    t.add("KEYTAG", "KEY", ".NOT. DELETED()", 0, 0);
    Data4* d = d4create(&code, path, f, &t);
    ASSERT_NE(d, nullptr);
    ASSERT_EQ(d4lockAll(d), 0);
    for (long i = 1; i <= records; ++i) {
        d4appendStart(d, 0);
        d4blank(d);
        f4assign(d4field(d, "KEY"), keyOf(i));
        f4assign(d4field(d, "NOTES"), "note " + std::to_string(i));
        ASSERT_EQ(d4append(d), 0);
    }
    ASSERT_EQ(d4unlock(d), 0);
    ASSERT_EQ(d4close(d), 0);
}

std::string trimmed(Field4* f) {
    std::string s = f4str(f);
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

long long fileSize(const std::string& path) {
    return static_cast<long long>(std::filesystem::file_size(path));
}

long blocksOf(long long bytes) {
    return static_cast<long>((bytes + 65535) / 65536);
}

class Data4Network : public ::testing::Test {
protected:
    void SetUp() override {
        path = dir.file("net");
        makeTable(path);
        fs.network = true;
        code4init(&code, &fs);
        code.silentErrors = 1;
        code.lockRetries = 1;
        d = d4open(&code, path);
        ASSERT_NE(d, nullptr);
        ASSERT_TRUE(d->network);
        d4tagSelect(d, d4tag(d, "KEYTAG"));
        key = d4field(d, "KEY");
        notes = d4field(d, "NOTES");
    }
    void TearDown() override { code4initUndo(&code); }

    // Another process rewrites the note of a record.
    void peerWrites(long record, const std::string& note) {
        Process peer(kNetworkPeer, {"write", path, std::to_string(record), "NOTES", note});
        std::string line;
        ASSERT_TRUE(peer.readLine(line));
        ASSERT_EQ(line, "done");
        ASSERT_EQ(peer.wait(), 0);
    }

    TempDir dir;
    std::string path;
    CountingFs fs;
    Code4 code;
    Data4* d = nullptr;
    Field4* key = nullptr;
    Field4* notes = nullptr;
};

TEST_F(Data4Network, AWholeWalkReadsOncePer64KiBOfRecordsAndIndexPages) {
    fs.reset();
    long seen = 0;
    std::string previous;
    for (int rc = d4top(d); rc == 0; rc = d4skip(d, 1)) {
        const std::string k = f4str(key);
        ASSERT_LT(previous, k);
        ASSERT_EQ(trimmed(notes), "note " + std::to_string(d4recNo(d)));
        previous = k;
        ++seen;
    }
    EXPECT_EQ(seen, kRecords);
    // Per 64 KiB of records one read (the first four of a walk are smaller), per 64 KiB of
    // index pages the block and the index header read again under the index lock.
    const long long recordBytes = static_cast<long long>(kRecords) * d4recWidth(d);
    const long indexBlocks = blocksOf(fileSize(dir.file("net.cdx")));
    const long limit = blocksOf(recordBytes) + 4 + 2 * indexBlocks + 2;
    EXPECT_LE(fs.counts.reads, limit)
        << "records " << blocksOf(recordBytes) << " blocks, index " << indexBlocks;
    // One index-lock round per index block at most.
    EXPECT_LE(fs.counts.locks, 2 * (indexBlocks + 1));

    // Backwards too.
    fs.reset();
    seen = 0;
    for (int rc = d4bottom(d); rc == 0; rc = d4skip(d, -1))
        ++seen;
    EXPECT_EQ(seen, kRecords);
    EXPECT_LE(fs.counts.reads, limit);
}

TEST_F(Data4Network, ASeekThatLandsOnOneRecordReadsASmallBlock) {
    ASSERT_EQ(d4seek(d, keyOf(2000)), 0);
    fs.reset();
    ASSERT_EQ(d4seek(d, keyOf(3000)), 0);
    EXPECT_EQ(trimmed(notes), "note 3000");
    EXPECT_LE(fs.counts.reads, 4);
    EXPECT_LE(fs.counts.bytesRead,
              static_cast<long long>(RecordBlocks4::kFirstBlock + Cdx4::kBlockBytes) + 2 * 12)
        << "the index header (again under the lock), at most one index block and one small "
           "record block";
}

TEST_F(Data4Network, AWalkOverADayOfRecordsIsAFewReads) {
    ASSERT_EQ(d4seek(d, keyOf(1)), 0);
    fs.reset();
    int seen = 0;
    for (int rc = d4seek(d, keyOf(1000)); rc == 0 && seen < 2400; rc = d4skip(d, 1))
        ++seen;
    EXPECT_EQ(seen, 2400);
    // 2,400 records of 201 bytes (471 KiB): 4, 8, 16, 32 KiB and then 64 KiB blocks; the index
    // header and an index block or two.
    EXPECT_LE(fs.counts.reads, 17);
}

TEST_F(Data4Network, ANewWalkSeesWhatAnotherProcessWroteDuringTheLastOne) {
    ASSERT_EQ(d4top(d), 0);
    ASSERT_EQ(d4skip(d, 2), 0);
    ASSERT_EQ(d4recNo(d), 3);
    peerWrites(5, "changed by the peer");
    ASSERT_EQ(d4seek(d, keyOf(5)), 0);
    EXPECT_EQ(trimmed(notes), "changed by the peer");
    peerWrites(1, "again");
    ASSERT_EQ(d4top(d), 0);
    EXPECT_EQ(trimmed(notes), "again");
}

TEST_F(Data4Network, ALockOfOursGrantedDropsWhatTheWalkReadBefore) {
    ASSERT_EQ(d4top(d), 0);
    ASSERT_EQ(d4skip(d, 2), 0); // records 1 to 3 read, and blocks past them
    peerWrites(5, "changed by the peer");
    ASSERT_EQ(d4lock(d, 100), 0);
    ASSERT_EQ(d4skip(d, 2), 0);
    ASSERT_EQ(d4recNo(d), 5);
    EXPECT_EQ(trimmed(notes), "changed by the peer");
    ASSERT_EQ(d4unlock(d), 0);
}

TEST_F(Data4Network, UnderTheFileLockTheWalkReadsTheFileAnew) {
    ASSERT_EQ(d4top(d), 0);
    ASSERT_EQ(d4skip(d, 2), 0);
    peerWrites(5, "changed by the peer");
    ASSERT_EQ(d4lockAll(d), 0);
    ASSERT_EQ(d4skip(d, 2), 0);
    EXPECT_EQ(trimmed(notes), "changed by the peer");
    ASSERT_EQ(d4unlock(d), 0);
}

TEST_F(Data4Network, UnderARecordLockEveryRecordIsReadFromTheFile) {
    ASSERT_EQ(d4lock(d, 1), 0);
    ASSERT_EQ(d4seek(d, keyOf(200)), 0);
    fs.reset();
    for (int i = 0; i < 50; ++i)
        ASSERT_EQ(d4skip(d, 1), 0);
    EXPECT_GE(fs.counts.reads, 50);
    ASSERT_EQ(d4unlock(d), 0);
}

TEST_F(Data4Network, TheRecordReReadBeforeAChangeComesFromTheFile) {
    ASSERT_EQ(d4top(d), 0);
    ASSERT_EQ(d4skip(d, 3), 0);
    peerWrites(5, "changed by the peer");
    // The record layer's re-read: the record's lock, then d4go.
    ASSERT_EQ(d4lock(d, 5), 0);
    ASSERT_EQ(d4go(d, 5), 0);
    EXPECT_EQ(trimmed(notes), "changed by the peer");
    ASSERT_EQ(d4unlock(d), 0);
}

TEST_F(Data4Network, OurOwnWritesAreSeenByTheWalkThatHoldsTheirBlock) {
    ASSERT_EQ(d4lockAll(d), 0);
    ASSERT_EQ(d4top(d), 0);
    ASSERT_EQ(d4skip(d, 5), 0);
    f4assign(notes, "ours");
    ASSERT_EQ(d4skip(d, 1), 0); // writes record 6
    ASSERT_EQ(d4skip(d, -1), 0);
    EXPECT_EQ(d4recNo(d), 6);
    EXPECT_EQ(trimmed(notes), "ours");
    ASSERT_EQ(d4unlock(d), 0);
    ASSERT_EQ(d4top(d), 0);
    ASSERT_EQ(d4skip(d, 5), 0);
    EXPECT_EQ(trimmed(notes), "ours");
}

TEST_F(Data4Network, KeysAnotherProcessAddsAreFoundByTheNextSeek) {
    ASSERT_EQ(d4seek(d, keyOf(kRecords)), 0);
    Process peer(kNetworkPeer, {"append", path, "3", "KEY", "Z"});
    std::string line;
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(peer.readLine(line));
    ASSERT_EQ(peer.wait(), 0);
    EXPECT_EQ(d4seek(d, "Z2"), 0);
    EXPECT_EQ(d4recNo(d), kRecords + 3);
    // And a walk from the last old key goes on into them.
    ASSERT_EQ(d4seek(d, keyOf(kRecords)), 0);
    ASSERT_EQ(d4skip(d, 1), 0);
    EXPECT_EQ(trimmed(key), "Z0");
}

TEST_F(Data4Network, ANoteChangedByAnotherProcessIsSeenAfterItsStampLikeChangeByANewList) {
    // Another user's change made while we walk is not promised to the walk itself, but the next
    // list (a new seek) has it, also for records whose index entry did not move.
    ASSERT_EQ(d4seek(d, keyOf(10)), 0);
    for (int i = 0; i < 5; ++i)
        ASSERT_EQ(d4skip(d, 1), 0);
    peerWrites(12, "changed");
    ASSERT_EQ(d4seek(d, keyOf(10)), 0);
    ASSERT_EQ(d4skip(d, 2), 0);
    EXPECT_EQ(trimmed(notes), "changed");
}

TEST(Data4NetworkLocal, TheLocalPathReadsNoBlocks) {
    TempDir dir;
    if (file4posix().onNetworkFileSystem(dir.path()))
        GTEST_SKIP() << "the scratch folder is on a network file system";
    const std::string path = dir.file("loc");
    makeTable(path, 500);
    CountingFs fs;
    Code4 code;
    code4init(&code, &fs);
    Data4* d = d4open(&code, path);
    ASSERT_NE(d, nullptr);
    EXPECT_FALSE(d->network);
    d4tagSelect(d, d4tag(d, "KEYTAG"));
    for (int rc = d4top(d); rc == 0; rc = d4skip(d, 1)) {
    }
    EXPECT_EQ(d->blocks.blockCount(), 0u);
    code4initUndo(&code);
}

TEST(Data4NetworkLocal, ORV_FORCE_NETWORKPutsEveryTableOnTheNetworkPath) {
    TempDir dir;
    if (file4posix().onNetworkFileSystem(dir.path()))
        GTEST_SKIP() << "the scratch folder is on a network file system";
    const std::string path = dir.file("forced");
    makeTable(path, 10);
    Code4 code;
    code4init(&code);
    ::setenv("ORV_FORCE_NETWORK", "1", 1);
    Data4* d = d4open(&code, path);
    ::unsetenv("ORV_FORCE_NETWORK");
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->network);
    d4close(d);
    ::setenv("ORV_FORCE_NETWORK", "0", 1);
    d = d4open(&code, path);
    ::unsetenv("ORV_FORCE_NETWORK");
    ASSERT_NE(d, nullptr);
    EXPECT_FALSE(d->network);
    code4initUndo(&code);
}

TEST(Data4OpenWhileAppending, EveryOpenSucceedsWhileAnotherProcessAppends) {
    // The open looks at the size before it reads the count; a record appended in between is on
    // disk before it is counted, so a count past the size seen means a look at the size again.
    TempDir dir;
    const std::string path = dir.file("growing");
    makeTable(path, 10);
    Process peer(kNetworkPeer, {"appendloop", path});
    std::string line;
    ASSERT_TRUE(peer.readLine(line));
    Code4 code;
    code4init(&code);
    code.silentErrors = 1;
    for (int i = 0; i < 300; ++i) {
        Data4* d = d4open(&code, path);
        ASSERT_NE(d, nullptr) << "open " << i << ": " << code.errorCode;
        ASSERT_EQ(d4close(d), 0);
    }
    peer.killHard();
    code4initUndo(&code);
}

// --- on a real FUSE file system
// -------------------------------------------------------------------

TEST(Data4Fuse, TheNetworkPathOnAFuseMountCountsItsReadsAndSeesOtherProcesses) {
    FuseMount fuse;
    if (!fuse.mounted()) GTEST_SKIP() << fuse.why();
    const std::string path = fuse.file("fuse");
    makeTable(path, 3000);
    CountingFs fs;
    Code4 code;
    code4init(&code, &fs);
    code.silentErrors = 1;
    Data4* d = d4open(&code, path);
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->network) << "statfs reports FUSE";
    d4tagSelect(d, d4tag(d, "KEYTAG"));
    Field4* notes = d4field(d, "NOTES");

    fs.reset();
    long seen = 0;
    for (int rc = d4top(d); rc == 0; rc = d4skip(d, 1))
        ++seen;
    EXPECT_EQ(seen, 3000);
    const long limit =
        blocksOf(3000LL * d4recWidth(d)) + 4 + 2 * blocksOf(fileSize(fuse.file("fuse.cdx"))) + 2;
    EXPECT_LE(fs.counts.reads, limit);

    // Another process appends while we append: every record lands once, the index agrees.
    Process peer(kNetworkPeer, {"append", path, "100", "KEY", "P"});
    for (int i = 0; i < 100; ++i) {
        d4appendStart(d, 0);
        d4blank(d);
        f4assign(d4field(d, "KEY"), "Q" + std::to_string(i));
        ASSERT_EQ(d4append(d), 0);
        ASSERT_EQ(d4flush(d), 0);
        ASSERT_EQ(d4unlock(d), 0);
    }
    std::string line;
    while (peer.readLine(line))
        ASSERT_EQ(line.rfind("added ", 0), 0u) << line;
    ASSERT_EQ(peer.wait(), 0);
    EXPECT_EQ(d4recCount(d), 3200);
    std::vector<long long> counts;
    std::string problem;
    EXPECT_EQ(d4check(d, &counts, &problem), 0) << problem;
    ASSERT_EQ(counts.size(), 1u);
    EXPECT_EQ(counts[0], 3200);

    // A new walk sees another process's change.
    ASSERT_EQ(d4seek(d, keyOf(20)), 0);
    {
        Process writer(kNetworkPeer, {"write", path, "21", "NOTES", "changed on the share"});
        ASSERT_TRUE(writer.readLine(line));
        ASSERT_EQ(line, "done");
        ASSERT_EQ(writer.wait(), 0);
    }
    ASSERT_EQ(d4seek(d, keyOf(20)), 0);
    ASSERT_EQ(d4skip(d, 1), 0);
    EXPECT_EQ(trimmed(notes), "changed on the share");
    code4initUndo(&code);
}

} // namespace
