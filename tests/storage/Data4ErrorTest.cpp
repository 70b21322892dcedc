// Engine errors: the report, the pending-error rule, the codes that end the process, files that
// are not data files, and failures of the operating system.
#include "common/Bytes.h"
#include "common/FaultFs.h"
#include "common/TempDir.h"
#include "storage/Data4.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

using namespace orv;
using namespace orv::test;

namespace {

// Captures the error reports written while it lives.
class ReportCapture {
public:
    ReportCapture() : m_file(std::tmpfile()) { error4setStream(m_file); }
    ~ReportCapture() {
        error4setStream(nullptr);
        std::fclose(m_file);
    }
    std::string text() {
        std::fflush(m_file);
        std::rewind(m_file);
        std::string s;
        char buf[512];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, m_file)) > 0) s.append(buf, n);
        return s;
    }

private:
    std::FILE* m_file;
};

Data4* makeTable(Code4* code, const std::string& path, int records) {
    Field4info f;
    f.add("NAME", 'C', 6);
    Data4* d = d4create(code, path, f);
    for (int i = 0; i < records; ++i) {
        d4appendStart(d, 0);
        d4blank(d);
        f4assign(d4field(d, "NAME"), "n" + std::to_string(i));
        d4append(d);
        d4unlock(d);
    }
    return d;
}

TEST(EngineErrorReport, MissingFileReportNamesOperationAndFileInOrder) {
    TempDir dir;
    Code4 code;
    code4init(&code);
    ReportCapture capture;
    std::string missing = dir.file("nothere");
    EXPECT_EQ(d4open(&code, missing), nullptr);
    EXPECT_EQ(code.errorCode, e4fileFind);
    std::string expected = "\n\nError Number  -64, " + std::to_string(code.errorLocation) +
                           "\nFile Find Error Opening File\nd4open\n\n" + missing + ".dbf\n";
    EXPECT_EQ(capture.text(), expected);
}

TEST(EngineErrorReport, SilentErrorsOnlySetTheCode) {
    TempDir dir;
    Code4 code;
    code4init(&code);
    code.silentErrors = 1;
    ReportCapture capture;
    EXPECT_EQ(d4open(&code, dir.file("nothere")), nullptr);
    EXPECT_EQ(code.errorCode, e4fileFind);
    EXPECT_EQ(capture.text(), "");
}

TEST(EngineErrorReport, UnknownCodeHasItsOwnText) {
    EXPECT_STREQ(error4text(-12345), "Invalid or Unknown Error Code");
    EXPECT_STREQ(error4text(e4optFlush), "Optimization File Flushing Failure");
    EXPECT_STREQ(error4text(e4seek), "Seeking to File Position");
}

TEST(EngineErrorReport, OpenWithoutReportingOnlyReturns) {
    TempDir dir;
    Code4 code;
    code4init(&code);
    code.reportOpenErrors = 0;
    ReportCapture capture;
    EXPECT_EQ(d4open(&code, dir.file("nothere")), nullptr);
    EXPECT_EQ(capture.text(), "");
    EXPECT_EQ(code.lastOpenError, e4fileFind);
}

TEST(EnginePendingError, BlocksEveryTableOfTheContextUntilCleared) {
    TempDir dir;
    Code4 code;
    code4init(&code);
    code.silentErrors = 1;
    Data4* a = makeTable(&code, dir.file("a"), 2);
    Data4* b = makeTable(&code, dir.file("b"), 2);
    ASSERT_EQ(d4open(&code, dir.file("missing")), nullptr);
    EXPECT_EQ(d4top(b), res4pending);
    EXPECT_EQ(d4go(a, 1), res4pending);
    EXPECT_EQ(d4open(&code, dir.file("a")), nullptr);
    Field4info f;
    f.add("X", 'C', 1);
    EXPECT_EQ(d4create(&code, dir.file("c"), f), nullptr);
    EXPECT_FALSE(std::filesystem::exists(dir.file("c.dbf")));
    EXPECT_EQ(code.errorCode, e4fileFind);

    // Closing still works and puts the pending error back.
    EXPECT_EQ(d4close(a), 0);
    EXPECT_EQ(code.errorCode, e4fileFind);
    code.errorCode = 0;
    EXPECT_EQ(d4top(b), 0);
}

TEST(EngineFatalErrors, SkipWithoutACurrentRecordEndsTheProcess) {
    TempDir dir;
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        Code4 code;
        code4init(&code);
        code.silentErrors = 1;
        Data4* d = makeTable(&code, dir.file("fatal"), 1);
        code.goMissingIsError = 0;
        d4go(d, 7); // no current record afterwards
        d4skip(d, 1);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), static_cast<unsigned>(e4info) & 0xFF);
}

// Files that are not data files open with e4data and are never read out of bounds.
class NotADataFile : public ::testing::Test {
protected:
    void SetUp() override {
        code4init(&code);
        code.silentErrors = 1;
        d4close(makeTable(&code, dir.file("good"), 3));
        good = readBytes(dir.file("good.dbf"));
    }
    void expectRefused(const std::vector<std::uint8_t>& bytes, int expected = e4data) {
        writeBytes(dir.file("bad.dbf"), bytes);
        code.errorCode = 0;
        EXPECT_EQ(d4open(&code, dir.file("bad")), nullptr);
        EXPECT_EQ(code.errorCode, expected);
    }
    TempDir dir;
    Code4 code;
    std::vector<std::uint8_t> good;
};

TEST_F(NotADataFile, TooShortAtEveryLength) {
    for (std::size_t n = 0; n < 64; ++n) expectRefused({good.begin(), good.begin() + static_cast<long>(n)});
}

TEST_F(NotADataFile, HeaderLengthThatDoesNotMatchTheFields) {
    auto b = good;
    b[8] = 32 + 32 + 1 + 40; // far more than one field needs
    expectRefused(b);
    b = good;
    b[8] = 40; // less than one descriptor
    expectRefused(b);
}

TEST_F(NotADataFile, FieldWidthsThatDoNotAddUp) {
    auto b = good;
    b[10] = 9; // record length 9, the field is 6 wide
    expectRefused(b);
}

TEST_F(NotADataFile, RecordCountPastTheEnd) {
    auto b = good;
    b[4] = 200;
    expectRefused(b);
}

TEST_F(NotADataFile, UnknownVersionAndGarbage) {
    auto b = good;
    b[0] = 0x42;
    expectRefused(b);
    std::vector<std::uint8_t> noise(4096);
    unsigned x = 12345;
    for (auto& c : noise) c = static_cast<std::uint8_t>((x = x * 1103515245 + 12345) >> 16);
    expectRefused(noise);
}

TEST_F(NotADataFile, ForeignHeaderSlackIsAccepted) {
    // Other software writes 32 * fields + 34 header bytes and field offsets of 0.
    auto b = good;
    std::vector<std::uint8_t> out(b.begin(), b.begin() + 65);
    out.push_back(0);
    out.insert(out.end(), b.begin() + 65, b.end() - 1); // and no end mark
    out[8] = 66;
    out[32 + 12] = 0;
    writeBytes(dir.file("slack.dbf"), out);
    Data4* d = d4open(&code, dir.file("slack"));
    ASSERT_NE(d, nullptr);
    ASSERT_EQ(d4go(d, 3), 0);
    EXPECT_EQ(f4str(d4field(d, "NAME")), "n2    ");
}

TEST(EngineFileFailures, FailedFlushIsOptimizationFlushingFailure) {
    TempDir dir;
    FaultFs faults;
    Code4 code;
    code4init(&code, &faults);
    code.silentErrors = 1;
    Data4* d = makeTable(&code, dir.file("sync"), 1);
    ASSERT_EQ(d4go(d, 1), 0);
    faults.fsyncCalls = 0;
    EXPECT_EQ(d4flush(d), 0);
    EXPECT_EQ(faults.fsyncCalls, 1) << "the data must reach the disk";
    faults.failFsync = true;
    EXPECT_EQ(d4flush(d), e4optFlush);
}

TEST(EngineFileFailures, HeldFlushesReachTheDiskOnceAtReleaseOrClose) {
    TempDir dir;
    FaultFs faults;
    Code4 code;
    code4init(&code, &faults);
    code.silentErrors = 1;
    Data4* a = makeTable(&code, dir.file("a"), 0);
    Data4* b = makeTable(&code, dir.file("b"), 0);
    Data4* untouched = makeTable(&code, dir.file("c"), 0);
    ASSERT_TRUE(a && b && untouched);
    const auto appendFlushed = [](Data4* d) {
        d4appendStart(d, 0);
        d4blank(d);
        return d4append(d) == 0 && d4flush(d) == 0 && d4unlock(d) == 0;
    };
    faults.fsyncCalls = 0;
    code4syncHold(&code);
    code4syncHold(&code); // holds nest
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(appendFlushed(a) && appendFlushed(b));
    EXPECT_EQ(faults.fsyncCalls, 0);
    EXPECT_EQ(d4recCount(a), 5) << "held writes are in the file at once";
    EXPECT_EQ(code4syncRelease(&code), 0);
    EXPECT_EQ(faults.fsyncCalls, 0) << "the outer hold still holds";
    EXPECT_EQ(code4syncRelease(&code), 0);
    EXPECT_EQ(faults.fsyncCalls, 2) << "one flush of each written table, no more";

    code4syncHold(&code);
    ASSERT_TRUE(appendFlushed(a));
    faults.fsyncCalls = 0;
    EXPECT_EQ(d4close(a), 0);
    EXPECT_EQ(faults.fsyncCalls, 1) << "a table closed under the hold flushes what it owes";
    ASSERT_TRUE(appendFlushed(b));
    faults.failFsync = true;
    EXPECT_EQ(code4syncRelease(&code), e4optFlush) << "a failed held flush is reported";
}

TEST(EngineFileFailures, ShortWriteIsWritingToFile) {
    TempDir dir;
    FaultFs faults;
    Code4 code;
    code4init(&code, &faults);
    code.silentErrors = 1;
    Data4* d = makeTable(&code, dir.file("short"), 1);
    ASSERT_EQ(d4go(d, 1), 0);
    f4assign(d4field(d, "NAME"), "zzz");
    faults.shortWrites = true;
    EXPECT_EQ(d4flush(d), e4write);
}

TEST(EngineFileFailures, LockFailuresGiveTheirCodes) {
    TempDir dir;
    FaultFs faults;
    Code4 code;
    code4init(&code, &faults);
    code.silentErrors = 1;
    Data4* d = makeTable(&code, dir.file("locks"), 1);
    code.lockRetries = 2;
    code.lockRetryDelay = 1;
    faults.refuseLocks = true;
    EXPECT_EQ(d4lockAll(d), res4locked);
    EXPECT_EQ(code.errorCode, 0) << "a refused lock is no error";
    faults.refuseLocks = false;
    faults.brokenLocks = true;
    EXPECT_EQ(d4lock(d, 1), e4lock);
    code.errorCode = 0;
    faults.brokenLocks = false;
    ASSERT_EQ(d4lock(d, 1), 0);
    faults.failUnlocks = true;
    EXPECT_EQ(d4unlock(d), e4unlock);
}

} // namespace
