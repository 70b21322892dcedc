// The stamp file: its 60-byte layout and how changes by other users are noticed.
#include "common/TempDir.h"
#include "group/ByteBuilder.h"

#include "group/CStampFile.h"
#include "tables/CFixedClock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace orv {
namespace {

using test::ByteBuilder;
using test::TempDir;

// 2024-03-05 14:07:09 UTC, a Tuesday, day 64 of a leap year.
constexpr std::time_t kMoment = 1709647629;

std::string stampOf(std::time_t t) {
    std::tm tm{};
    gmtime_r(&t, &tm);
    const auto s = CStampFile::withTime(CStampFile::initialStamp(), tm);
    return std::string(s.begin(), s.end());
}

class StampFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("TZ", "UTC", 1);
        ::tzset();
        CClock::setCurrent(&m_clock);
    }
    void TearDown() override { CClock::setCurrent(nullptr); }

    // Runs the helper program as a second process; true when it wrote its stamp.
    static bool otherUserStamps(const std::string& path, std::time_t t, bool replace = false) {
        const std::string helper = std::string(ORV_HELPER_DIR) + "/group_stamp_writer";
        const std::string seconds = std::to_string(static_cast<long long>(t));
        pid_t child = ::fork();
        if (child < 0) return false;
        if (child == 0) {
            if (replace)
                ::execl(helper.c_str(), helper.c_str(), path.c_str(), seconds.c_str(), "--replace",
                        static_cast<char*>(nullptr));
            else
                ::execl(helper.c_str(), helper.c_str(), path.c_str(), seconds.c_str(),
                        static_cast<char*>(nullptr));
            ::_exit(127);
        }
        int status = 0;
        if (::waitpid(child, &status, 0) != child) return false;
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

    CFixedClock m_clock{kMoment};
    TempDir m_dir;
    std::string m_path = m_dir.file("RoomsUpdate.bin");
};

TEST_F(StampFileTest, NewStampFileHolds200TwentyZerosAndTheLocalTime) {
    CStampFile stamp;
    ASSERT_TRUE(stamp.openOrCreate(m_path));
    ByteBuilder expected;
    expected.i32(200).raw(std::string(20, '\0'));
    expected.i32(9).i32(7).i32(14).i32(5).i32(2).i32(124).i32(2).i32(64).i32(0);
    EXPECT_EQ(TempDir::get(m_path), expected.bytes());
}

TEST_F(StampFileTest, MarkUpdateRewritesTheWhole60BytesInPlace) {
    TempDir::put(m_path, std::string(80, '\x55')); // longer and foreign: only 0-59 change
    CStampFile stamp;
    ASSERT_TRUE(stamp.openOrCreate(m_path));
    m_clock.advance(60);
    stamp.markUpdate();
    const std::string bytes = TempDir::get(m_path);
    ASSERT_EQ(bytes.size(), 80u);
    // The first 24 bytes come from the stamp that was read; the time is the clock's.
    EXPECT_EQ(bytes.substr(0, 24), std::string(24, '\x55'));
    EXPECT_EQ(bytes.substr(24, 36), stampOf(kMoment + 60).substr(24));
    EXPECT_EQ(bytes.substr(60), std::string(20, '\x55'));
}

TEST_F(StampFileTest, MarkUpdateWithoutAnOpenFileWritesNothing) {
    CStampFile stamp;
    stamp.markUpdate();
    EXPECT_FALSE(std::filesystem::exists(m_path));
    EXPECT_EQ(stamp.lastKnownStamp(), CStampFile::initialStamp());
}

TEST_F(StampFileTest, OpeningAnExistingFileTakesItsStampAsKnown) {
    TempDir::put(m_path, stampOf(kMoment - 3600));
    CStampFile stamp;
    ASSERT_TRUE(stamp.open(m_path));
    EXPECT_FALSE(stamp.changedByOthers(true, false));
    EXPECT_EQ(TempDir::get(m_path), stampOf(kMoment - 3600)); // opening writes nothing
}

TEST_F(StampFileTest, OpeningAMissingFileFailsAndCreatesNothing) {
    CStampFile stamp;
    EXPECT_FALSE(stamp.open(m_path));
    EXPECT_FALSE(std::filesystem::exists(m_path));
    EXPECT_FALSE(stamp.changedByOthers(true, true));
}

TEST_F(StampFileTest, WithNetworkRefreshOffNothingIsEverAChange) {
    CStampFile stamp;
    ASSERT_TRUE(stamp.openOrCreate(m_path));
    TempDir::put(m_path, stampOf(kMoment + 3600));
    EXPECT_FALSE(stamp.changedByOthers(false, false));
    EXPECT_FALSE(stamp.changedByOthers(false, true));
    TempDir::put(m_path, "");
    EXPECT_FALSE(stamp.changedByOthers(false, false));
}

TEST_F(StampFileTest, StampsDifferingOnlyInSecondsAreAChangeReportedOnce) {
    CStampFile stamp;
    ASSERT_TRUE(stamp.openOrCreate(m_path));
    EXPECT_FALSE(stamp.changedByOthers(true, false));
    TempDir::put(m_path, stampOf(kMoment + 1));
    EXPECT_TRUE(stamp.changedByOthers(true, false));
    EXPECT_FALSE(stamp.changedByOthers(true, false));
    EXPECT_EQ(std::string(stamp.lastKnownStamp().begin(), stamp.lastKnownStamp().end()),
              stampOf(kMoment + 1));
}

TEST_F(StampFileTest, OwnMarkUpdateIsNotAChangeByOthers) {
    CStampFile stamp;
    ASSERT_TRUE(stamp.openOrCreate(m_path));
    m_clock.advance(5);
    stamp.markUpdate();
    EXPECT_FALSE(stamp.changedByOthers(true, false));
}

TEST_F(StampFileTest, StampWrittenByASecondProcessIsNoticed) {
    CStampFile stamp;
    ASSERT_TRUE(stamp.openOrCreate(m_path));
    ASSERT_TRUE(otherUserStamps(m_path, kMoment + 120));
    EXPECT_TRUE(stamp.changedByOthers(true, false));
    EXPECT_FALSE(stamp.changedByOthers(true, false));
    EXPECT_EQ(TempDir::get(m_path), stampOf(kMoment + 120));
}

TEST_F(StampFileTest, StampFileReplacedByASecondProcessIsSeenOnlyWhenReopening) {
    CStampFile stamp;
    ASSERT_TRUE(stamp.openOrCreate(m_path));
    ASSERT_TRUE(otherUserStamps(m_path, kMoment + 300, /*replace=*/true));
    // The open descriptor still reads the old file; reopening finds the new one.
    EXPECT_FALSE(stamp.changedByOthers(true, false));
    EXPECT_TRUE(stamp.changedByOthers(true, true));
    EXPECT_EQ(std::string(stamp.stampBuffer().begin(), stamp.stampBuffer().end()),
              stampOf(kMoment + 300));
}

TEST_F(StampFileTest, EmptiedStampFileReadsAsZerosAndCountsAsAChange) {
    CStampFile stamp;
    ASSERT_TRUE(stamp.openOrCreate(m_path));
    TempDir::put(m_path, "");
    EXPECT_TRUE(stamp.changedByOthers(true, false));
    EXPECT_EQ(stamp.stampBuffer(), CStampFile::Stamp{});
    EXPECT_FALSE(stamp.changedByOthers(true, false));
}

TEST_F(StampFileTest, InitialKnownStampIs200FollowedByZeros) {
    ByteBuilder expected;
    expected.i32(200).raw(std::string(56, '\0'));
    const CStampFile stamp;
    EXPECT_EQ(std::string(stamp.lastKnownStamp().begin(), stamp.lastKnownStamp().end()),
              expected.bytes());
}

} // namespace
} // namespace orv
