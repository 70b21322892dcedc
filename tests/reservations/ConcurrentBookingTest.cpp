// Other users are other processes: two of them booking one slot at the same moment, one blocking
// out two items while another books the second, and one that cancels and rebooks a slot while
// this process shows it in a day list.
#include "ReservationFixture.h"
#include "cli/CliRunner.h"
#include "common/Process.h"
#include "reservations/CBlockoutModel.h"

#include <fcntl.h>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

namespace orv::test {
namespace {

class ConcurrentBooking : public ReservationFixture {
protected:
    // Starts orvsched-cli with these arguments; its standard error goes to `errPath`.
    static pid_t start(const std::vector<std::string>& args, const std::string& errPath) {
        const std::string program = std::string(ORV_BINARY_DIR) + "/src/cli/orvsched-cli";
        const pid_t child = fork();
        if (child == 0) {
            const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            const int null = ::open("/dev/null", O_WRONLY);
            dup2(err, 2);
            dup2(null, 1);
            std::vector<char*> argv{const_cast<char*>(program.c_str())};
            for (const auto& a : args)
                argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            execv(program.c_str(), argv.data());
            _exit(127);
        }
        return child;
    }
    static int finish(pid_t child) {
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

TEST_F(ConcurrentBooking, TwoProcessesBookingOneSlotAtOnceWriteOneRecord) {
    // The first user is held inside its lock, after reading the day and before writing; the
    // second starts then. Only the lock keeps the second from reading the same empty day.
    const std::string helper = std::string(ORV_HELPER_DIR) + "/reservations_booker";
    for (int day = 9; day <= 10; ++day) {
        SCOPED_TRACE(day);
        const std::string date = CDate{2026, 12, day}.key();
        const std::string readyA = dir.file("a" + date), readyB = dir.file("b" + date);
        Process a(helper,
                  {group, "Boardroom", date, "900", "1000", "Morgan", readyA, dir.file("go")});
        for (int i = 0; i < 500 && !std::filesystem::exists(readyA); ++i)
            usleep(10000);
        ASSERT_TRUE(std::filesystem::exists(readyA));
        Process b(helper,
                  {group, "Boardroom", date, "930", "1030", "Chen", readyB, dir.file("go")});
        usleep(300000);
        EXPECT_FALSE(std::filesystem::exists(readyB))
            << "the second user read the day inside the first's lock";
        std::string outA, outB;
        a.readLine(outA);
        b.readLine(outB);
        EXPECT_EQ(a.wait(), 0);
        EXPECT_EQ(b.wait(), 0);
        EXPECT_EQ(outA, "booked");
        EXPECT_EQ(outB, "conflict");
        EXPECT_EQ(slots("Boardroom", {2026, 12, day}, 1).size(), 1u);
    }
}

// Blockout.NoOtherUserBooksAnItemBetweenTheAppendsOfOneBlockout lets the other user in at each
// unlock; here the two are real processes started at varying distances.
TEST_F(ConcurrentBooking, ABlockoutOfTwoItemsAndABookingOfTheSecondNeverBothGetWritten) {
    const std::string errA = dir.file("a.txt"), errB = dir.file("b.txt");
    for (int day = 9; day <= 18; ++day) {
        char date[32];
        std::snprintf(date, sizeof date, "2026-12-%02d", day);
        SCOPED_TRACE(date);
        const pid_t a = start(
            {"blockout", group, date, "14:00", "15:00", "--item", "Boardroom", "--item", "Huddle"},
            errA);
        usleep(static_cast<useconds_t>((day - 9) * 5000));
        const pid_t b = start(
            {"reserve", group, "Huddle", date, "14:30", "15:30", "--person", "Chen|Li||"}, errB);
        const int ra = finish(a), rb = finish(b);
        EXPECT_EQ((ra == 0) + (rb == 0), 1) << ra << " " << rb << "\n"
                                            << slurpFile(errA) << slurpFile(errB);
        const std::vector<CScheduleRecord> huddle = records("Huddle", {2026, 12, day}, 1);
        ASSERT_EQ(huddle.size(), 1u);
        EXPECT_EQ(huddle[0].isBlockout(), ra == 0);
        EXPECT_EQ(records("Boardroom", {2026, 12, day}, 1).size(), ra == 0 ? 1u : 0u)
            << "the blockout is all or nothing";
        if (ra != 0) {
            EXPECT_EQ(slurpFile(errA),
                      std::string("Blockout Error: ") + CBlockoutModel::kOverlap + "\n");
        }
    }
}

TEST_F(ConcurrentBooking, CancelWritesNothingWhenAnotherUserRebookedTheSlot) {
    Booking b;
    b.date = {2026, 12, 9};
    b.sh = 9;
    b.eh = 10;
    ASSERT_TRUE(book("Boardroom", b));
    CItemDayModel d = day("Boardroom", {2026, 12, 9});
    ASSERT_EQ(d.lineCount(), 1);

    EXPECT_EQ(runCli({"cancel", group, "Boardroom", "2026-12-09", "09:00"}, dir.path()).exitCode,
              0);
    const CliResult rebook = runCli(
        {"reserve", group, "Boardroom", "20261209", "09:00", "10:30", "--person", "Chen|Li||"},
        dir.path());
    EXPECT_EQ(rebook.exitCode, 0) << rebook.err;
    EXPECT_EQ(rebook.out, "2026-12-09 09:00-10:30 Boardroom\n");

    d.select(0);
    prompt.answers = {true};
    d.cancelReservation();
    EXPECT_EQ(prompt.messages.back(), error(CItemDayModel::kNotDeleted, "Database Error"));
    const std::vector<CScheduleRecord> left = records("Boardroom", {2026, 12, 9}, 1);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].lastName(), "Chen");
    EXPECT_EQ(d.lines(), (std::vector<std::string>{"09:00 AM   10:30 AM   Chen, Li     "}));
}

} // namespace
} // namespace orv::test
