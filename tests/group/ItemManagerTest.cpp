// Adding, changing and deleting items under the group-wide lock, with the item dialog's checks,
// and the in-use states the document computes from today's list.
#include "common/Bytes.h"
#include "common/FaultFs.h"
#include "common/Process.h"
#include "common/ScriptedPrompt.h"
#include "common/TempDir.h"
#include "group/CGroupFile.h"
#include "group/CGroupInfoModel.h"
#include "group/CItemInfoModel.h"
#include "group/CItemManager.h"
#include "group/CMemorySettings.h"
#include "group/CORVSchedDoc.h"
#include "tables/CFixedClock.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace orv;
using namespace orv::test;
namespace fs = std::filesystem;

namespace {

using Messages = std::vector<RecordedMessage>;

class Items : public ::testing::Test {
protected:
    void SetUp() override {
        clock.setLocal(2026, 12, 8, 10, 0);
        CClock::setCurrent(&clock);
        group = dir.file("Room.sch");
        ScriptedPrompt p;
        p.fill<CGroupInfoModel>([](CGroupInfoModel& m) {
            m.kindWord = "room";
            m.description = "Rooms";
        });
        p.files.push_back(group);
        CORVSchedDoc maker(p, settings);
        ASSERT_TRUE(maker.createGroup());
        doc = std::make_unique<CORVSchedDoc>(prompt, settings);
        ASSERT_TRUE(doc->openGroup(group));
    }
    void TearDown() override {
        doc.reset();
        CClock::setCurrent(nullptr);
    }

    void scriptItem(const std::string& name, const std::string& occupancy = "", const std::string& length = "",
                    const std::string& description = "") {
        prompt.fill<CItemInfoModel>([=](CItemInfoModel& m) {
            m.name = name;
            m.occupancy = occupancy;
            m.defaultLength = length;
            m.description = description;
        });
    }
    void add(const std::string& name, const std::string& occupancy = "", const std::string& length = "",
             const std::string& description = "") {
        scriptItem(name, occupancy, length, description);
        ASSERT_TRUE(CItemManager(*doc).addItem());
    }
    std::vector<std::string> namesOnDisk() {
        CGroupFileData data;
        std::string why;
        EXPECT_TRUE(CGroupFile::read(group, data, why));
        std::vector<std::string> names;
        for (const auto& r : data.items) names.push_back(r.name());
        return names;
    }
    void reserve(const std::string& item, int sh, int sm, int eh, int em, const std::string& last) {
        CSchedule& s = doc->schedule();
        s.clearImage();
        s.image().setDate(12, 8, 2026);
        s.image().setItemName(item);
        s.image().setStartTime(sh, sm);
        s.image().setEndTime(eh, em);
        s.image().setPerson("Pat", "", last, "");
        ASSERT_EQ(s.append(), 0);
    }

    TempDir dir;
    CFixedClock clock;
    CMemorySettings settings;
    ScriptedPrompt prompt;
    std::string group;
    std::unique_ptr<CORVSchedDoc> doc;
};

TEST(ItemDefaultLength, TextsParseAsTheDialogReadsThem) {
    EXPECT_EQ(CItemInfoModel::parseDefaultLength(""), 0);
    EXPECT_EQ(CItemInfoModel::parseDefaultLength("45"), 45);
    EXPECT_EQ(CItemInfoModel::parseDefaultLength("1:30"), 90);
    EXPECT_EQ(CItemInfoModel::parseDefaultLength(":30"), 30);
    EXPECT_EQ(CItemInfoModel::parseDefaultLength("90"), 90);
    EXPECT_EQ(CItemInfoModel::parseDefaultLength("2:60"), -1);
    EXPECT_EQ(CItemInfoModel::parseDefaultLength("24:00"), -1);
    EXPECT_EQ(CItemInfoModel::parseDefaultLength("23:59"), 1439);
    EXPECT_EQ(CItemInfoModel::parseDefaultLength("1:2:15"), 75); // the last ':' counts
}

TEST(ItemDefaultLength, ShownWithHoursFromAnHourOn) {
    EXPECT_EQ(CItemInfoModel::formatDefaultLength(45), "45");
    EXPECT_EQ(CItemInfoModel::formatDefaultLength(5), " 5");
    EXPECT_EQ(CItemInfoModel::formatDefaultLength(90), " 1:30");
    EXPECT_EQ(CItemInfoModel::formatDefaultLength(600), "10:00");
}

TEST_F(Items, AddItemAppendsAndWritesTheGroupFile) {
    add("Boardroom", "16", "1:30", "Oval table");
    add("Lakeview");
    EXPECT_EQ(namesOnDisk(), (std::vector<std::string>{"Boardroom", "Lakeview"}));
    const CRoom& b = doc->items().at(0);
    EXPECT_EQ(b.occupancy(), 16);
    EXPECT_EQ(b.defaultLength(), 90);
    EXPECT_EQ(prompt.messages, Messages{});
    EXPECT_FALSE(doc->people().isOpen() && doc->code().errorCode != 0);
}

TEST_F(Items, DialogTitlesCarryTheKindWord) {
    CItemInfoModel adding(true, doc->items(), doc->kindUpper(), doc->kindLower());
    CItemInfoModel changing(false, doc->items(), doc->kindUpper(), doc->kindLower());
    EXPECT_EQ(adding.title(), "Add Room to Group");
    EXPECT_EQ(changing.title(), "Modify Room");
}

TEST_F(Items, LockSettingRefusesAddItem) {
    CDocSettings s;
    s.lock = 1;
    doc->setSettings(s);
    EXPECT_FALSE(CItemManager(*doc).addItem());
    EXPECT_EQ(prompt.messages,
              Messages{error("Groups cannot be updated, please see administrator", "Groups Locked")});
    EXPECT_TRUE(prompt.dialogsShown.empty());
}

TEST_F(Items, DialogRefusesABadLengthAndAnExistingNameThenAccepts) {
    add("Boardroom");
    prompt.messages.clear();
    scriptItem("Lakeview", "", "2:60");
    scriptItem("Boardroom", "", "30");
    scriptItem("Lakeview", "", "30");
    ASSERT_TRUE(CItemManager(*doc).addItem());
    EXPECT_EQ(prompt.messages, (Messages{error("Invalid default reservation time", "Invalid Reservation Time"),
                                         error("A room with this name already exists", "Error")}));
    EXPECT_EQ(namesOnDisk(), (std::vector<std::string>{"Boardroom", "Lakeview"}));
}

TEST_F(Items, NamesThatDifferInCaseAreDifferentItems) {
    add("Boardroom");
    add("BOARDROOM");
    EXPECT_EQ(doc->items().count(), 2);
}

TEST_F(Items, SameNameAddedMeanwhileByAnotherUserIsRefusedUnderTheLock) {
    // While our dialog is open another copy of the program adds the same name.
    prompt.fill<CItemInfoModel>([&](CItemInfoModel& m) {
        m.name = "Boardroom";
        CGroupFileData data;
        std::string why;
        ASSERT_TRUE(CGroupFile::read(group, data, why));
        CRoom r;
        r.setName("Boardroom");
        r.setOccupancy(8);
        data.items.push_back(r);
        ASSERT_TRUE(CGroupFile::write(group, data, why));
    });
    EXPECT_FALSE(CItemManager(*doc).addItem());
    EXPECT_EQ(prompt.messages, Messages{error("A room with this name already exists", "Error")});
    EXPECT_EQ(namesOnDisk(), std::vector<std::string>{"Boardroom"});
    EXPECT_EQ(doc->items().at(0).occupancy(), 8) << "the other user's item stays as written";
}

TEST_F(Items, AddItemWaitsWhileAnotherProcessHoldsTheGroupLock) {
    const std::string released = dir.file("released");
    Process peer(helperPath("group_peer"), {"lockpeople", group, "1500", released});
    std::string line;
    ASSERT_TRUE(peer.readLine(line));
    ASSERT_EQ(line, "locked");
    add("Boardroom");
    EXPECT_TRUE(fs::exists(released)) << "the item was written while the other user held the lock";
    EXPECT_EQ(peer.wait(), 0);
    EXPECT_EQ(namesOnDisk(), std::vector<std::string>{"Boardroom"});
}

TEST_F(Items, ModifyOfAnItemDeletedMeanwhileIsRefused) {
    add("Boardroom");
    add("Lakeview");
    fs::file_time_type before;
    prompt.fill<CItemInfoModel>([&](CItemInfoModel& m) {
        EXPECT_EQ(m.name, "Boardroom");
        m.description = "changed";
        Process peer(helperPath("group_peer"), {"deleteitem", group, "Boardroom"});
        ASSERT_EQ(peer.wait(), 0);
        before = fs::last_write_time(group);
    });
    EXPECT_FALSE(CItemManager(*doc).modifyItem(0));
    EXPECT_EQ(prompt.messages,
              Messages{error("Room has been deleted by another user, update cannot be made", "Modify Error")});
    EXPECT_EQ(namesOnDisk(), std::vector<std::string>{"Lakeview"});
    EXPECT_EQ(fs::last_write_time(group), before) << "the other user's group file is left as written";
}

TEST_F(Items, ModifyFillsTheDialogAndKeepsTheName) {
    add("Boardroom", "16", "90");
    prompt.fill<CItemInfoModel>([](CItemInfoModel& m) {
        EXPECT_EQ(m.occupancy, "16");
        EXPECT_EQ(m.defaultLength, " 1:30");
        m.name = "Renamed";
        m.occupancy = "";
        m.defaultLength = "45";
    });
    ASSERT_TRUE(CItemManager(*doc).modifyItem(0));
    EXPECT_EQ(doc->items().at(0).name(), "Boardroom");
    EXPECT_EQ(doc->items().at(0).occupancy(), 0);
    EXPECT_EQ(doc->items().at(0).occupancyText(), "");
    EXPECT_EQ(doc->items().at(0).defaultLength(), 45);
}

TEST_F(Items, DeleteAsksThenRemovesItsReservationsAndReloadsTodaysList) {
    add("Alpha");
    add("Beta");
    add("Gamma");
    reserve("Alpha", 9, 0, 11, 0, "Ames");
    reserve("Gamma", 9, 30, 10, 30, "Gill");
    doc->loadTodaysList("20261208");
    doc->recomputeInUse(true);
    doc->items().setRect(1, CRect{1, 2, 3, 4});
    ASSERT_EQ(doc->todaysList().size(), 2u);

    prompt.answers.push_back(true);
    ASSERT_TRUE(CItemManager(*doc).deleteItem(0));
    EXPECT_EQ(prompt.messages, Messages{question("Are you sure you want to delete room Alpha?", "Confirm Delete")});
    EXPECT_EQ(namesOnDisk(), (std::vector<std::string>{"Beta", "Gamma"}));
    ASSERT_EQ(doc->items().count(), 2);
    EXPECT_EQ(doc->items().rectAt(0), (CRect{1, 2, 3, 4}));
    EXPECT_TRUE(doc->items().at(1).inUse());
    EXPECT_EQ(doc->items().at(1).currentUse(), "Gill");
    ASSERT_EQ(doc->todaysList().size(), 1u);
    EXPECT_EQ(doc->todaysList()[0].itemIndex, 1);
    std::vector<CScheduleRecord> left;
    doc->schedule().recordsOnDate("20261208", left);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].itemName(), "Gamma");
}

TEST_F(Items, DeleteAnsweredNoChangesNothing) {
    add("Alpha");
    prompt.answers.push_back(false);
    EXPECT_FALSE(CItemManager(*doc).deleteItem(0));
    EXPECT_EQ(namesOnDisk(), std::vector<std::string>{"Alpha"});
}

// Every change of the group file when the group-wide lock or the write fails: nothing is
// written, nothing else is done, the user is told.
TEST_F(Items, FailedLockOrWriteChangesNothingAndSaysSo) {
    add("Alpha", "8");
    add("Beta");
    reserve("Alpha", 9, 0, 10, 0, "Ames");
    struct Operation {
        const char* name;
        std::function<bool(CORVSchedDoc&, ScriptedPrompt&)> run;
    };
    const std::vector<Operation> operations = {
        {"add", [](CORVSchedDoc& d, ScriptedPrompt& p) {
             p.fill<CItemInfoModel>([](CItemInfoModel& m) { m.name = "Gamma"; });
             return CItemManager(d).addItem();
         }},
        {"modify", [](CORVSchedDoc& d, ScriptedPrompt& p) {
             p.fill<CItemInfoModel>([](CItemInfoModel& m) { m.occupancy = "30"; });
             return CItemManager(d).modifyItem(0);
         }},
        {"delete", [](CORVSchedDoc& d, ScriptedPrompt& p) {
             p.answers.push_back(true);
             return CItemManager(d).deleteItem(0);
         }},
        {"window", [](CORVSchedDoc& d, ScriptedPrompt&) { return d.storeWindowRect(CRect{5, 6, 7, 8}); }},
        {"group information", [](CORVSchedDoc& d, ScriptedPrompt& p) {
             p.fill<CGroupInfoModel>([](CGroupInfoModel& m) { m.description = "Changed"; });
             return d.modifyGroupInformation();
         }},
    };
    const std::string peopleFile = dir.file("RoomPeople.dbf");
    const std::string full = "Cannot write '" + group + "': No space left on device, the group was not changed.";
    const std::string io = "Cannot write '" + group + "': Input/output error, the group was not changed.";
    const std::string unlocked = std::string(CORVSchedDoc::kGroupNotLocked) + peopleFile + CORVSchedDoc::kNothingChanged;
    struct Fault {
        const char* name;
        std::function<void(FaultFs&)> set;
        std::string message;
    };
    const std::vector<Fault> faults = {
        {"lock", [](FaultFs& f) { f.brokenLocks = true; }, unlocked},
        {"full disk", [](FaultFs& f) { f.writeError = ENOSPC; }, full},
        {"write error", [](FaultFs& f) { f.writeError = EIO; }, io},
        {"flush error", [](FaultFs& f) { f.fsyncError = EIO; }, io},
    };
    doc.reset();
    const std::vector<std::uint8_t> before = readBytes(group);
    for (const Operation& op : operations)
        for (const Fault& fault : faults) {
            SCOPED_TRACE(std::string(op.name) + ", " + fault.name);
            FaultFs files;
            ScriptedPrompt p;
            CORVSchedDoc d(p, settings);
            code4init(&d.code(), &files);
            d.code().silentErrors = 1;
            ASSERT_TRUE(d.openGroup(group));
            fault.set(files);
            EXPECT_FALSE(op.run(d, p));
            ASSERT_FALSE(p.messages.empty());
            EXPECT_EQ(p.messages.back(), error(fault.message, CORVSchedDoc::kGroupErrorTitle));
            EXPECT_EQ(readBytes(group), before);
            EXPECT_EQ(d.items().count(), 2) << "the document shows the file as it is";
            EXPECT_EQ(d.description(), "Rooms");
            std::vector<CScheduleRecord> kept;
            d.schedule().recordsOfItemOnDate("20261208", "Alpha", kept);
            EXPECT_EQ(kept.size(), 1u) << "an item not deleted keeps its reservations";
            for (const auto& e : fs::directory_iterator(dir.path()))
                EXPECT_EQ(e.path().filename().string().find(".tmp"), std::string::npos) << "no scrap left";
        }
}

class InUse : public Items {};

TEST_F(InUse, BackToBackReservationsHandOverAtTheMinute) {
    add("Alpha");
    reserve("Alpha", 9, 0, 10, 0, "First");
    reserve("Alpha", 10, 0, 11, 0, "Second");
    clock.setLocal(2026, 12, 8, 9, 59);
    doc->loadTodaysList("20261208");
    doc->recomputeInUse(true);
    EXPECT_EQ(doc->items().at(0).currentUse(), "First");
    clock.setLocal(2026, 12, 8, 10, 0);
    doc->recomputeInUse(false);
    EXPECT_TRUE(doc->items().at(0).inUse());
    EXPECT_EQ(doc->items().at(0).currentUse(), "Second");
    doc->recomputeInUse(true);
    EXPECT_EQ(doc->items().at(0).currentUse(), "Second");
}

TEST_F(InUse, MissedEndingMinuteKeepsTheBoxUntilAFreshRecomputation) {
    add("Alpha");
    reserve("Alpha", 9, 0, 9, 30, "Early");
    clock.setLocal(2026, 12, 8, 9, 15);
    doc->loadTodaysList("20261208");
    doc->recomputeInUse(true);
    ASSERT_TRUE(doc->items().at(0).inUse());
    clock.setLocal(2026, 12, 8, 9, 31); // no tick fell at 9:30
    doc->recomputeInUse(false);
    EXPECT_TRUE(doc->items().at(0).inUse());
    doc->recomputeInUse(true);
    EXPECT_FALSE(doc->items().at(0).inUse());
}

TEST_F(InUse, FirstCoveringEntryLabelWins) {
    add("Alpha");
    reserve("Alpha", 9, 0, 12, 0, "Long");
    reserve("Alpha", 10, 0, 11, 0, "Inner");
    clock.setLocal(2026, 12, 8, 10, 30);
    doc->loadTodaysList("20261208");
    doc->recomputeInUse(true);
    EXPECT_EQ(doc->items().at(0).currentUse(), "Long");
}

} // namespace
