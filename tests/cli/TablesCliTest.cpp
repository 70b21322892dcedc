// orvsched-cli people, day, today, links and delete-old, run as the built program on a group
// built here with the group file writer and the record layer.
#include "group/CGroupFile.h"
#include "tables/CPeople.h"
#include "tables/CRosterLink.h"
#include "tables/CSchedule.h"

#include "cli/CliRunner.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdlib.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace orv {
namespace {

using RunResult = test::CliResult;

class TablesCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "orv-cli-tables-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        code4init(&m_code);
        m_code.silentErrors = 1;
    }
    void TearDown() override {
        code4initUndo(&m_code);
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }

    RunResult run(const std::vector<std::string>& args) const { return test::runCli(args, m_dir); }

    std::string writeGroup(const std::string& name, const std::vector<std::string>& itemNames,
                           const std::string& peopleFileName = "") const {
        CGroupFileData data;
        data.description = "Rooms";
        data.kindWord = "room";
        for (const auto& n : itemNames) {
            CRoom item;
            item.setName(n);
            data.items.push_back(item);
        }
        data.peopleFileName = peopleFileName;
        const std::string path = m_dir + "/" + name;
        std::string error;
        EXPECT_TRUE(CGroupFile::write(path, data, error)) << error;
        return path;
    }

    static void person(CPeople& people, const std::string& first, const std::string& mi,
                       const std::string& last, const std::string& department,
                       const std::string& phone, int flags) {
        people.clearImage();
        people.image().setName(first, mi, last);
        people.image().setDepartment(department);
        people.image().setPhone(phone);
        people.image().setFlags(flags);
        ASSERT_EQ(people.append(), 0);
    }

    static void reservation(CSchedule& schedule, int day, const std::string& item, int startHour,
                            int startMinute, int endHour, int endMinute, const std::string& last,
                            const std::string& note, int flags) {
        schedule.clearImage();
        CScheduleRecord& r = schedule.image();
        r.setDate(3, day, 2024);
        r.setItemName(item);
        r.setStartTime(startHour, startMinute);
        r.setEndTime(endHour, endMinute);
        r.setPerson(last == "Out" ? "Blocked" : "John", "", last, "");
        r.setNote(note);
        r.setMade(3, 1, 2024, 14, 5, 37);
        r.setFlags(flags);
        ASSERT_EQ(schedule.append(), 0);
    }

    static void link(CRosterLink& links, int day, const std::string& item, int hour, int minute,
                     const CPeopleKey& person) {
        links.clearImage();
        links.setDate(3, day, 2024);
        links.setItemName(item);
        links.setStartTime(hour, minute);
        links.setPerson(person);
        ASSERT_EQ(links.append(), 0);
    }

    // Rooms.sch: three items, its own people, a few reservations around 15 March 2024 and the
    // attendee links of two of them.
    std::string buildRooms() {
        const std::string path = writeGroup("Rooms.sch", {"Boardroom", "Caf\xE9", "Lab"});
        CPeople people(m_code);
        EXPECT_EQ(people.create(path), 0);
        person(people, "John", "Q", "Smith", "Sales", "555-1234", 3);
        person(people, "Ann", "", "Lee", "", "", 1);
        person(people, "Hans", "", "M\xFCller", "", "", 2);
        people.close();

        CSchedule schedule(m_code);
        EXPECT_EQ(schedule.create(path), 0);
        reservation(schedule, 15, "Boardroom", 9, 30, 11, 0, "Smith", "Budget review", 3);
        schedule.image().setRecurrenceCode(7);
        schedule.image().setMade(3, 1, 2024, 14, 5, 37);
        schedule.image().setStartTime(10, 30);
        schedule.image().setRecurrenceEnd(6, 28, 2024);
        EXPECT_EQ(schedule.append(), 0);
        reservation(schedule, 15, "Caf\xE9", 13, 0, 17, 45, "Out", "Blocked Out", 129);
        reservation(schedule, 15, "Gone", 8, 0, 9, 0, "Jones", "", 0);
        reservation(schedule, 14, "Lab", 8, 0, 9, 0, "Early", "", 2);
        reservation(schedule, 16, "Boardroom", 8, 0, 9, 0, "Later", "", 0);
        schedule.close();

        CRosterLink links(m_code);
        EXPECT_EQ(links.create(path), 0);
        link(links, 15, "Boardroom", 9, 30, CPeopleKey("Ann", "", "Lee", ""));
        link(links, 15, "Boardroom", 9, 30, CPeopleKey("Hans", "", "M\xFCller", ""));
        link(links, 14, "Lab", 8, 0, CPeopleKey("John", "Q", "Smith", "Sales"));
        links.close();
        return path;
    }

    std::string m_dir;
    Code4 m_code;
};

TEST_F(TablesCliTest, PeopleListsThoseWhoMayReserveAsPersonListLinesInUtf8) {
    const std::string path = buildRooms();
    const RunResult r = run({"people", path});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "M\xC3\xBCller, Hans    \n"
                     "Smith, John Q   (Sales)   ** 555-1234 **   \n");
}

TEST_F(TablesCliTest, PeopleWithAttendeesListsTheAttendees) {
    const std::string path = buildRooms();
    const RunResult r = run({"people", path, "--attendees"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Lee, Ann    \n"
                     "Smith, John Q   (Sales)   ** 555-1234 **   \n");
}

TEST_F(TablesCliTest, PeopleOfAGroupThatUsesAnotherGroupsPeopleFile) {
    buildRooms();
    const std::string offices = writeGroup("Offices.sch", {"Desk"}, "RoomsPeople.dbf");
    const RunResult r = run({"people", offices, "--attendees"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Lee, Ann    \n"
                     "Smith, John Q   (Sales)   ** 555-1234 **   \n");
}

TEST_F(TablesCliTest, DayPrintsEveryValueOfTheDatesRecordsInTagOrder) {
    const std::string path = buildRooms();
    const RunResult r = run({"day", path, "2024-03-15"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out,
              "1|2024-03-15|Boardroom|09:30|11:00|Smith|John|||Budget review|2024-03-01|14:05:00|"
              "0|0000-00-00|3|\n"
              "2|2024-03-15|Boardroom|10:30|11:00|Smith|John|||Budget review|2024-03-01|14:05:37|"
              "7|2024-06-28|3|\n"
              "3|2024-03-15|Caf\xC3\xA9|13:00|17:45|Out|Blocked|||Blocked Out|2024-03-01|14:05:00|"
              "0|0000-00-00|129|\n"
              "4|2024-03-15|Gone|08:00|09:00|Jones|John||||2024-03-01|14:05:00|0|0000-00-00|0|\n");
    EXPECT_EQ(run({"day", path, "20240315"}).out, r.out);
    const RunResult empty = run({"day", path, "2024-03-17"});
    EXPECT_EQ(empty.exitCode, 0);
    EXPECT_EQ(empty.out, "");
}

TEST_F(TablesCliTest, TodayListsTheDatesEntriesOfItemsStillInTheGroup) {
    const std::string path = buildRooms();
    const RunResult r = run({"today", path, "--date", "20240315"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "0|Boardroom|09:30|11:00|reserved|Budget review\n"
                     "0|Boardroom|10:30|11:00|reserved|Budget review\n"
                     "1|Caf\xC3\xA9|13:00|17:45|blockout|Blocked Out\n");
    EXPECT_EQ(run({"today", path}).exitCode, 0);
}

TEST_F(TablesCliTest, TodayMatchesItemNamesExactlyAndTakesTheFirstOfTwoEqualNames) {
    const std::string path = buildRooms();
    writeGroup("Rooms.sch", {"boardroom", "Lab", "Boardroom", "Boardroom"});
    const RunResult r = run({"today", path, "--date", "2024-03-15"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "2|Boardroom|09:30|11:00|reserved|Budget review\n"
                     "2|Boardroom|10:30|11:00|reserved|Budget review\n");
}

TEST_F(TablesCliTest, LinksPrintsEveryAttendeeLinkInRosterOrder) {
    const std::string path = buildRooms();
    const RunResult r = run({"links", path});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "2024-03-14|Lab|08:00|Smith|John|Q|Sales\n"
                     "2024-03-15|Boardroom|09:30|Lee|Ann||\n"
                     "2024-03-15|Boardroom|09:30|M\xC3\xBCller|Hans||\n");
}

TEST_F(TablesCliTest, DeleteOldCountsRecordsAndLinksAndKeepsTheDateItself) {
    const std::string path = buildRooms();
    const RunResult r = run({"delete-old", path, "2024-03-15"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "2\n");
    EXPECT_EQ(run({"day", path, "2024-03-14"}).out, "");
    EXPECT_EQ(run({"links", path}).out, "2024-03-15|Boardroom|09:30|Lee|Ann||\n"
                                        "2024-03-15|Boardroom|09:30|M\xC3\xBCller|Hans||\n");
    EXPECT_EQ(run({"delete-old", path, "20240315"}).out, "0\n");
}

TEST_F(TablesCliTest, DeleteOldOfAGroupWithoutARosterTableDeletesScheduleRecordsOnly) {
    const std::string path = buildRooms();
    std::filesystem::remove(m_dir + "/RoomsRosLnk.dbf");
    std::filesystem::remove(m_dir + "/RoomsRosLnk.cdx");
    const RunResult r = run({"delete-old", path, "2024-03-16"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "5\n");
    const RunResult links = run({"links", path});
    EXPECT_EQ(links.exitCode, 1);
    EXPECT_EQ(links.out, "");
    EXPECT_EQ(std::count(links.err.begin(), links.err.end(), '\n'), 1) << links.err;
}

TEST_F(TablesCliTest, BadUsageGivesExitCode2AndAMissingGroupExitCode1) {
    const std::string path = buildRooms();
    EXPECT_EQ(run({"day", path}).exitCode, 2);
    EXPECT_EQ(run({"day", path, "2024-02-30"}).exitCode, 2);
    EXPECT_EQ(run({"day", path, "15.03.2024"}).exitCode, 2);
    EXPECT_EQ(run({"today", path, "--date"}).exitCode, 2);
    EXPECT_EQ(run({"people", path, "--everyone"}).exitCode, 2);
    EXPECT_EQ(run({"delete-old", path}).exitCode, 2);
    EXPECT_EQ(run({"links"}).exitCode, 2);

    const RunResult missing = run({"people", m_dir + "/Nothing.sch"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(std::count(missing.err.begin(), missing.err.end(), '\n'), 1) << missing.err;

    std::filesystem::remove(m_dir + "/RoomsSched.dbf");
    const RunResult noSchedule = run({"day", path, "20240315"});
    EXPECT_EQ(noSchedule.exitCode, 1);
    EXPECT_EQ(std::count(noSchedule.err.begin(), noSchedule.err.end(), '\n'), 1) << noSchedule.err;
}

TEST_F(TablesCliTest, EveryNewCommandAnswersHelp) {
    for (const char* command : {"people", "day", "today", "links", "delete-old"}) {
        const RunResult r = run({command, "--help"});
        EXPECT_EQ(r.exitCode, 0) << command;
        EXPECT_EQ(r.out.rfind(std::string("usage: orvsched-cli ") + command, 0), 0u) << r.out;
    }
}

} // namespace
} // namespace orv
