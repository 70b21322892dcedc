// Several users of one table: share modes, byte-range locks and what one process sees of
// another's changes. The other user is always a real second process.
#include "common/Bytes.h"
#include "common/FaultFs.h"
#include "common/Process.h"
#include "common/TempDir.h"
#include "storage/Data4.h"
#include "storage/Lock4.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/wait.h>
#include <thread>

using namespace orv;
using namespace orv::test;

namespace {

const std::string kPeer = helperPath("storage_peer");

class Data4Share : public ::testing::Test {
protected:
    void SetUp() override {
        code4init(&code);
        code.silentErrors = 1;
        table = dir.file("shared");
        Field4info f;
        f.add("KEY", 'C', 8);
        f.add("NOTE", 'C', 10);
        Tag4info t;
        t.add("KEYTAG", "KEY", ".NOT. DELETED()", 0, 0);
        Data4* d = d4create(&code, table, f, &t);
        for (int i = 1; i <= 3; ++i) {
            d4appendStart(d, 0);
            d4blank(d);
            f4assign(d4field(d, "KEY"), "r" + std::to_string(i));
            d4append(d);
            d4unlock(d);
        }
        d4close(d);
    }
    void TearDown() override { code4initUndo(&code); }

    void expectLine(Process& p, const std::string& want) {
        std::string line;
        ASSERT_TRUE(p.readLine(line));
        ASSERT_EQ(line, want);
    }

    TempDir dir;
    Code4 code;
    std::string table;
};

TEST_F(Data4Share, TwoWritersOfDifferentRecordsBothSucceed) {
    Process peer(kPeer, {"lockrec", table, "1", "3000"});
    expectLine(peer, "locked");
    Data4* d = d4open(&code, table);
    ASSERT_NE(d, nullptr);
    ASSERT_EQ(d4go(d, 2), 0);
    f4assign(d4field(d, "NOTE"), "mine");
    EXPECT_EQ(d4flush(d), 0);
    EXPECT_EQ(d->lockedRecords.count(2), 1u) << "the record lock stays until unlock";
    // The record the other process holds is refused at once when only one attempt is allowed.
    code.lockRetries = 1;
    EXPECT_EQ(d4lock(d, 1), res4locked);
    EXPECT_EQ(code.errorCode, 0);
    EXPECT_EQ(d4unlock(d), 0);
}

TEST_F(Data4Share, LockAllMakesAnotherWriterWaitUntilUnlock) {
    const std::string released = dir.file("released");
    Process peer(kPeer, {"lockall", table, "1500", released});
    expectLine(peer, "locked");
    Data4* d = d4open(&code, table);
    ASSERT_NE(d, nullptr);
    ASSERT_EQ(d4go(d, 1), 0);
    f4assign(d4field(d, "NOTE"), "waited");
    EXPECT_EQ(d4flush(d), 0); // retries once a second until the other process lets go
    EXPECT_TRUE(std::filesystem::exists(released)) << "the write went through while the table was locked";
    d4unlock(d);
    EXPECT_EQ(peer.wait(), 0);
}

TEST_F(Data4Share, LockAllIsRefusedWhileAnotherProcessHoldsARecord) {
    Process peer(kPeer, {"lockrec", table, "3", "3000"});
    expectLine(peer, "locked");
    Data4* d = d4open(&code, table);
    code.lockRetries = 2;
    code.lockRetryDelay = 1;
    EXPECT_EQ(d4lockAll(d), res4locked);
    EXPECT_FALSE(d->fileLocked);
}

TEST_F(Data4Share, AppendOfAnotherProcessIsSeenAfterOwnLocksAreReleased) {
    Data4* d = d4open(&code, table);
    ASSERT_EQ(d4recCount(d), 3);
    Process peer(kPeer, {"append", table, "2", "KEY", "p"});
    std::string line;
    ASSERT_TRUE(peer.readLine(line));
    ASSERT_TRUE(peer.readLine(line));
    EXPECT_EQ(line, "added 5");
    EXPECT_EQ(peer.wait(), 0);
    ASSERT_EQ(d4go(d, 5), 0);
    EXPECT_EQ(f4str(d4field(d, "KEY")), "p1      ");
    // Our own append goes after theirs.
    d4appendStart(d, 0);
    d4blank(d);
    f4assign(d4field(d, "KEY"), "ours");
    ASSERT_EQ(d4append(d), 0);
    EXPECT_EQ(d4recNo(d), 6);
    d4unlock(d);
}

TEST_F(Data4Share, ExclusiveOpenIsRefusedWhileAnotherProcessHasTheTable) {
    Process peer(kPeer, {"open", table, "0", "3000"});
    expectLine(peer, "opened");
    code.openShareMode = 1;
    EXPECT_EQ(d4open(&code, table), nullptr);
    EXPECT_EQ(code.errorCode, e4permiss);
}

TEST_F(Data4Share, SharedOpenIsRefusedWhileAnotherProcessHasItExclusively) {
    Process peer(kPeer, {"open", table, "1", "3000"});
    expectLine(peer, "opened");
    EXPECT_EQ(d4open(&code, table), nullptr);
    EXPECT_EQ(code.errorCode, e4permiss);
}

TEST_F(Data4Share, ExclusiveOpenInTheSameProcessConflictsLikeAnotherProcess) {
    Code4 other;
    code4init(&other);
    other.silentErrors = 1;
    Data4* mine = d4open(&code, table);
    ASSERT_NE(mine, nullptr);
    other.openShareMode = 1;
    EXPECT_EQ(d4open(&other, table), nullptr);
    EXPECT_EQ(other.errorCode, e4permiss);
}

TEST_F(Data4Share, ReadOnlyShareModeLetsOthersReadButNotWrite) {
    code.openShareMode = 2;
    Data4* mine = d4open(&code, table);
    ASSERT_NE(mine, nullptr);
    Process writer(kPeer, {"open", table, "0", "0"});
    std::string line;
    ASSERT_TRUE(writer.readLine(line));
    EXPECT_EQ(line, "refused " + std::to_string(e4permiss));
}

TEST_F(Data4Share, ClosingOneOpenNeverDropsAnotherOpensLocks) {
    Code4 other;
    code4init(&other);
    Data4* holder = d4open(&code, table);
    Data4* second = d4open(&other, table);
    ASSERT_NE(holder, nullptr);
    ASSERT_NE(second, nullptr);
    ASSERT_EQ(d4lock(holder, 2), 0);
    d4close(second);
    Process peer(kPeer, {"lockrec", table, "2", "0"});
    // The peer retries until we let go; it cannot have the record yet.
    std::string line;
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ASSERT_FALSE(peer.finished()) << "the other process got a record we still hold";
    d4unlock(holder);
    ASSERT_TRUE(peer.readLine(line));
    EXPECT_EQ(line, "locked");
}

TEST_F(Data4Share, OtherSoftwaresOpenMarkBlocksExclusiveUse) {
    if (file4posix().onNetworkFileSystem(dir.path()))
        GTEST_SKIP() << "opens are marked with flock() on local file systems only";
    // Other xBase software on Linux marks its opens with a shared flock().
    int fd = ::open((table + ".dbf").c_str(), O_RDWR);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(flock(fd, LOCK_SH | LOCK_NB), 0);
    code.openShareMode = 1;
    EXPECT_EQ(d4open(&code, table), nullptr);
    EXPECT_EQ(code.errorCode, e4permiss);
    code.errorCode = 0;
    // ... and our shared open keeps it from taking the table exclusively.
    flock(fd, LOCK_UN);
    code.openShareMode = 0;
    ASSERT_NE(d4open(&code, table), nullptr);
    EXPECT_NE(flock(fd, LOCK_EX | LOCK_NB), 0);
    ::close(fd);
}

TEST_F(Data4Share, LocksSitAtTheFoxProPositions) {
    // Another program's classic fcntl lock on the byte of record 2 conflicts with ours.
    int fd = ::open((table + ".dbf").c_str(), O_RDWR);
    struct flock fl {};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = kLockRecordBase - 2;
    fl.l_len = 1;
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t child = fork();
    if (child == 0) {
        char ok = fcntl(fd, F_SETLK, &fl) == 0 ? 'y' : 'n';
        [[maybe_unused]] ssize_t w = write(ready[1], &ok, 1);
        sleep(30);
        _exit(0);
    }
    char locked = 0;
    ASSERT_EQ(read(ready[0], &locked, 1), 1);
    ASSERT_EQ(locked, 'y');
    close(ready[0]);
    close(ready[1]);
    Data4* d = d4open(&code, table);
    code.lockRetries = 1;
    EXPECT_FALSE(d->oldLockLayout);
    EXPECT_EQ(d4lock(d, 2), res4locked);
    EXPECT_EQ(d4lock(d, 1), 0);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    ::close(fd);
}

// Another program's exclusive lock on one byte of a file, held by a forked process until
// the object goes or `holdMs` passed: an open-file-description lock, or a classic one.
class ForeignLock {
public:
    ForeignLock(const std::string& path, std::int64_t start, bool classic = false,
                int holdMs = 30000) {
        int ready[2];
        if (pipe(ready) != 0) return;
        m_child = fork();
        if (m_child == 0) {
            const int fd = ::open(path.c_str(), O_RDWR);
            struct flock fl {};
            fl.l_type = F_WRLCK;
            fl.l_whence = SEEK_SET;
            fl.l_start = start;
            fl.l_len = 1;
            char ok = fd >= 0 && fcntl(fd, classic ? F_SETLK : F_OFD_SETLK, &fl) == 0 ? 'y' : 'n';
            [[maybe_unused]] ssize_t w = write(ready[1], &ok, 1);
            std::this_thread::sleep_for(std::chrono::milliseconds(holdMs));
            _exit(0);
        }
        char got = 0;
        m_held = read(ready[0], &got, 1) == 1 && got == 'y';
        close(ready[0]);
        close(ready[1]);
    }
    ~ForeignLock() {
        if (m_child > 0) {
            kill(m_child, SIGKILL);
            waitpid(m_child, nullptr, 0);
        }
    }
    bool held() const { return m_held; }

private:
    pid_t m_child = -1;
    bool m_held = false;
};

TEST(EngineLockWait, ARefusedLockIsTakenWhenLetGoWithinTheRetriesLimits) {
    struct Case {
        const char* what;
        int holdMs;  // how long the other program holds the record
        int retries; // the context's settings
        int delay;   // hundredths of a second
        int result;
        int leastMs; // no refusal before the limits, no lock before the other lets go
        int mostMs;  // taken when let go, not at the next retry; refused at the limits
    };
    const Case cases[] = {
        {"held briefly, endless retries a second apart", 300, -1, 100, 0, 250, 900},
        {"held beyond three tries 0.2 s apart", 3000, 3, 20, res4locked, 390, 2000},
        {"one try only", 3000, 1, 100, res4locked, 0, 500},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        Code4 code;
        code4init(&code);
        code.silentErrors = 1;
        Field4info f;
        f.add("KEY", 'C', 8);
        Tag4info t;
        t.add("KEYTAG", "KEY", "", 0, 0);
        Data4* d = d4create(&code, dir.file("waits"), f, &t);
        ASSERT_NE(d, nullptr);
        ASSERT_FALSE(d->oldLockLayout);
        for (int i = 0; i < 3; ++i) {
            d4appendStart(d, 0);
            d4blank(d);
            ASSERT_EQ(d4append(d), 0);
        }
        ASSERT_EQ(d4unlock(d), 0);
        ForeignLock holder(dir.file("waits.dbf"), kLockRecordBase - 2, true, c.holdMs);
        ASSERT_TRUE(holder.held());
        code.lockRetries = c.retries;
        code.lockRetryDelay = c.delay;
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(d4lock(d, 2), c.result);
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now() - start)
                            .count();
        EXPECT_EQ(code.errorCode, 0) << "a refused lock is no error";
        EXPECT_GE(ms, c.leastMs);
        EXPECT_LT(ms, c.mostMs);
        code4initUndo(&code);
    }
}

TEST_F(Data4Share, AWriterAndAnOpenThatDeniesWritingNeverBothPass) {
    // The other process opens for writing right after we found that nobody writes.
    // A table without an index: one file, one check.
    const std::string plain = dir.file("plain");
    Field4info f;
    f.add("KEY", 'C', 8);
    ASSERT_NE(d4create(&code, plain, f, nullptr), nullptr);
    code4initUndo(&code);
    FaultCode mine;
    mine.code.openShareMode = 2;
    mine.code.readOnly = 1;
    std::unique_ptr<Process> writer;
    std::string writerSaid;
    mine.fault.afterRangeTaken = [&] {
        if (writer) return;
        writer = std::make_unique<Process>(kPeer, std::vector<std::string>{"open", plain, "0", "3000"});
        writer->readLine(writerSaid);
    };
    Data4* d = d4open(&mine.code, plain);
    ASSERT_TRUE(writer);
    EXPECT_NE(d != nullptr, writerSaid == "opened") << writerSaid;
    EXPECT_NE(d, nullptr) << "the open that marked first wins";
}

TEST_F(Data4Share, CreatingOverATableAnotherProgramOpensMeanwhileLeavesItWhole) {
    if (file4posix().onNetworkFileSystem(dir.path()))
        GTEST_SKIP() << "the other program's flock() mark counts on local file systems only";
    // Replacing is allowed while nobody has the files open; here another program opens one of
    // them between our look and our open.
    for (const std::string ext : {".dbf", ".cdx"}) {
        SCOPED_TRACE(ext);
        const std::string target = table + ext;
        const auto before = std::make_pair(readBytes(table + ".dbf"), readBytes(table + ".cdx"));
        FaultCode mine;
        mine.code.refuseOverwrite = 0;
        int other = -1;
        mine.fault.beforeOpen = [&](const std::string& path, int flags) {
            if (other >= 0 || path != target || !(flags & O_CREAT)) return;
            other = ::open(path.c_str(), O_RDWR); // other xBase software marks its opens so
            flock(other, LOCK_SH);
        };
        Field4info f;
        f.add("KEY", 'C', 8);
        Tag4info t;
        t.add("KEYTAG", "KEY", "", 0, 0);
        EXPECT_EQ(d4create(&mine.code, table, f, &t), nullptr);
        EXPECT_EQ(mine.code.lastOpenError, res4noCreate);
        EXPECT_TRUE(std::make_pair(readBytes(table + ".dbf"), readBytes(table + ".cdx")) == before);
        ASSERT_GE(other, 0);
        ::close(other);
    }
}

TEST_F(Data4Share, ReadOnlyFileStillMeetsAWritersLocks) {
    namespace fs = std::filesystem;
    for (const char* ext : {".dbf", ".cdx"})
        fs::permissions(table + ext, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    code.lockRetries = 1;
    Data4* d = d4open(&code, table);
    ASSERT_NE(d, nullptr);
    ASSERT_TRUE(d->readOnlyAttribute);
    d4tagSelect(d, d4tag(d, "KEYTAG"));
    {
        // A writer halfway through an index change holds the index lock: no page is read then.
        ForeignLock writer(table + ".cdx", kLockIndex);
        ASSERT_TRUE(writer.held());
        EXPECT_EQ(d4seek(d, "r2"), res4locked);
        EXPECT_EQ(d4lock(d, 1), 0);
    }
    {
        ForeignLock writer(table + ".dbf", kLockRecordBase - 3);
        ASSERT_TRUE(writer.held());
        EXPECT_EQ(d4lock(d, 3), res4locked);
        EXPECT_EQ(d4seek(d, "r2"), 0);
    }
    EXPECT_EQ(d4unlock(d), 0);
    EXPECT_EQ(d4lock(d, 3), 0);
    EXPECT_EQ(d4unlock(d), 0);
}

} // namespace
