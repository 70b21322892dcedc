// orvsched-cli item-add, item-modify and item-delete: the item sequences of the desktop program
// with the dialog's values as options, run as the built program on a group it created.
#include "CliRunner.h"
#include "common/TempDir.h"
#include "group/CGroupFile.h"
#include "storage/Code4.h"
#include "tables/CSchedule.h"

#include <gtest/gtest.h>

namespace orv::test {
namespace {

class ItemCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        group = dir.file("Room.sch");
        const CliResult made =
            run({"group-create", group, "--kind", "room", "--description", "Rooms"});
        ASSERT_EQ(made.exitCode, 0) << made.err;
    }
    CliResult run(const std::vector<std::string>& args) { return runCli(args, dir.path()); }
    std::vector<CRoom> itemsOnDisk() {
        CGroupFileData data;
        std::string why;
        EXPECT_TRUE(CGroupFile::read(group, data, why)) << why;
        return data.items;
    }
    int scheduleRecordsOf(const std::string& item) {
        Code4 code;
        code4init(&code);
        code.silentErrors = 1;
        int n = 0;
        {
            CSchedule schedule(code);
            EXPECT_EQ(schedule.open(group), 0);
            for (int rc = schedule.first(); rc == 0; rc = schedule.next())
                if (schedule.image().itemName() == item) ++n;
            schedule.close();
        }
        code4initUndo(&code);
        return n;
    }
    void reserve(const std::string& item, int day) {
        Code4 code;
        code4init(&code);
        code.silentErrors = 1;
        {
            CSchedule schedule(code);
            ASSERT_EQ(schedule.open(group), 0);
            schedule.clearImage();
            schedule.image().setDate(12, day, 2026);
            schedule.image().setItemName(item);
            schedule.image().setStartTime(9, 0);
            schedule.image().setEndTime(10, 0);
            schedule.image().setPerson("Pat", "", "Ames", "");
            ASSERT_EQ(schedule.append(), 0);
            schedule.close();
        }
        code4initUndo(&code);
    }

    TempDir dir;
    std::string group;
};

TEST_F(ItemCliTest, AddWritesTheItemAndPrintsIt) {
    const CliResult r = run({"item-add", group, "--name", "Boardroom", "--occupancy", "16",
                             "--length", "1:30", "--description", "Projector"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Boardroom|16|90|Projector\n");
    EXPECT_EQ(r.err, "");
    const auto items = itemsOnDisk();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].name(), "Boardroom");
    EXPECT_EQ(items[0].occupancy(), 16);
    EXPECT_EQ(items[0].defaultLength(), 90);
    EXPECT_EQ(items[0].longDescription(), "Projector");
}

TEST_F(ItemCliTest, AddWithoutOptionalValuesLeavesThemEmpty) {
    const CliResult r = run({"item-add", group, "--name", "Annex"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Annex|0|0|\n");
}

TEST_F(ItemCliTest, AddOfANameInUseGivesTheDialogsMessage) {
    ASSERT_EQ(run({"item-add", group, "--name", "Annex"}).exitCode, 0);
    const CliResult r = run({"item-add", group, "--name", "Annex", "--occupancy", "3"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Error: A room with this name already exists\n");
    EXPECT_EQ(itemsOnDisk().size(), 1u);
}

TEST_F(ItemCliTest, AddWithAnInvalidLengthGivesTheDialogsMessage) {
    for (const char* length : {"2:60", "24:00"}) {
        const CliResult r = run({"item-add", group, "--name", "Annex", "--length", length});
        EXPECT_EQ(r.exitCode, 1) << length;
        EXPECT_EQ(r.err, "Invalid Reservation Time: Invalid default reservation time\n") << length;
    }
    EXPECT_TRUE(itemsOnDisk().empty());
}

TEST_F(ItemCliTest, LengthsParseAsTheDialogDoes) {
    const std::pair<const char*, int> cases[] = {
        {"", 0}, {"45", 45}, {"1:30", 90}, {":30", 30}, {"90", 90}};
    int n = 0;
    for (const auto& [text, minutes] : cases) {
        const std::string name = "Room " + std::to_string(++n);
        const CliResult r = run({"item-add", group, "--name", name, "--length", text});
        EXPECT_EQ(r.exitCode, 0) << text << r.err;
        EXPECT_EQ(r.out, name + "|0|" + std::to_string(minutes) + "|\n") << text;
    }
}

TEST_F(ItemCliTest, FieldLimitsAreUsageErrors) {
    EXPECT_EQ(run({"item-add", group, "--name", "Annex", "--occupancy", "12a"}).exitCode, 2);
    EXPECT_EQ(run({"item-add", group, "--name", "A name of twenty-one!"}).exitCode, 2);
    EXPECT_EQ(run({"item-add", group, "--name", "Annex", "--length", "123456"}).exitCode, 2);
    EXPECT_EQ(run({"item-add", group, "--name", "Annex", "--description", std::string(257, 'x')})
                  .exitCode,
              2);
    EXPECT_EQ(run({"item-add", group}).exitCode, 2);
    EXPECT_EQ(run({"item-add", "--name", "Annex"}).exitCode, 2);
    EXPECT_TRUE(itemsOnDisk().empty());
    EXPECT_EQ(run({"item-add", group, "--name", "Twenty characters!!!"}).exitCode, 0);
}

TEST_F(ItemCliTest, AddOnAMissingGroupFails) {
    const CliResult r = run({"item-add", dir.file("None.sch"), "--name", "Annex"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err, "");
}

TEST_F(ItemCliTest, ModifyChangesOnlyTheValuesGiven) {
    ASSERT_EQ(run({"item-add", group, "--name", "Annex", "--occupancy", "4", "--length", "45",
                   "--description", "Old"})
                  .exitCode,
              0);
    const CliResult r = run({"item-modify", group, "Annex", "--occupancy", "6"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Annex|6|45|Old\n");
    const CliResult r2 =
        run({"item-modify", group, "Annex", "--length", "2:15", "--description", "New"});
    EXPECT_EQ(r2.out, "Annex|6|135|New\n");
    const auto items = itemsOnDisk();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].defaultLength(), 135);
}

TEST_F(ItemCliTest, ModifyRefusesAnInvalidLengthAndAnUnknownItem) {
    ASSERT_EQ(run({"item-add", group, "--name", "Annex", "--length", "30"}).exitCode, 0);
    const CliResult bad = run({"item-modify", group, "Annex", "--length", "1:75"});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_EQ(bad.err, "Invalid Reservation Time: Invalid default reservation time\n");
    EXPECT_EQ(itemsOnDisk()[0].defaultLength(), 30);
    EXPECT_EQ(run({"item-modify", group, "Nowhere", "--occupancy", "1"}).exitCode, 1);
    EXPECT_EQ(run({"item-modify", group, "Annex"}).exitCode, 2);
}

TEST_F(ItemCliTest, DeleteNeedsYesAndThenTakesTheItemsReservations) {
    ASSERT_EQ(run({"item-add", group, "--name", "Annex"}).exitCode, 0);
    ASSERT_EQ(run({"item-add", group, "--name", "Hall"}).exitCode, 0);
    reserve("Annex", 8);
    reserve("Annex", 9);
    reserve("Hall", 8);

    const CliResult no = run({"item-delete", group, "Annex"});
    EXPECT_EQ(no.exitCode, 1);
    EXPECT_EQ(no.err.substr(0, no.err.find('\n') + 1),
              "Confirm Delete: Are you sure you want to delete room Annex? No (give --yes to "
              "answer Yes)\n");
    EXPECT_EQ(itemsOnDisk().size(), 2u);

    const CliResult yes = run({"item-delete", group, "Annex", "--yes"});
    EXPECT_EQ(yes.exitCode, 0) << yes.err;
    EXPECT_EQ(yes.out, "deleted Annex\n");
    const auto items = itemsOnDisk();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].name(), "Hall");
    EXPECT_EQ(scheduleRecordsOf("Annex"), 0);
    EXPECT_EQ(scheduleRecordsOf("Hall"), 1);
    EXPECT_EQ(run({"item-delete", group, "Annex", "--yes"}).exitCode, 1);
}

TEST_F(ItemCliTest, HelpDescribesEachCommand) {
    for (const char* command : {"item-add", "item-modify", "item-delete"}) {
        const CliResult r = run({command, "--help"});
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.out.rfind(std::string("usage: orvsched-cli ") + command, 0), 0u) << r.out;
    }
}

} // namespace
} // namespace orv::test
