// Creating, opening and closing a group document: every message the user can meet on the way,
// with its exact text, title and icon, and what is left on disk.
#include "common/ScriptedPrompt.h"
#include "common/TempDir.h"
#include "group/CGroupFile.h"
#include "group/CGroupInfoModel.h"
#include "group/CMemorySettings.h"
#include "group/CORVSchedDoc.h"
#include "tables/CFixedClock.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace orv;
using namespace orv::test;
namespace fs = std::filesystem;

namespace {

using Messages = std::vector<RecordedMessage>;

class Document : public ::testing::Test {
protected:
    void SetUp() override {
        clock.setLocal(2026, 12, 8, 10, 0);
        CClock::setCurrent(&clock);
    }
    void TearDown() override { CClock::setCurrent(nullptr); }

    // Scripts the New Group Information dialog and the file chooser.
    void scriptNewGroup(ScriptedPrompt& p, const std::string& kind, const std::string& description,
                        const std::string& file, bool otherPeople = false) {
        p.fill<CGroupInfoModel>([=](CGroupInfoModel& m) {
            m.kindWord = kind;
            m.description = description;
            m.useOtherPeople = otherPeople;
        });
        p.files.push_back(file);
    }

    // A complete group made through the document, closed again.
    void makeGroup(const std::string& file, const std::string& kind = "room") {
        ScriptedPrompt p;
        scriptNewGroup(p, kind, "Made for the test", file);
        CORVSchedDoc doc(p, settings);
        ASSERT_TRUE(doc.createGroup());
    }

    TempDir dir;
    CFixedClock clock;
    CMemorySettings settings;
};

TEST_F(Document, NewGroupWithOwnPeopleLeavesItsFiveFilesOnDisk) {
    ScriptedPrompt p;
    scriptNewGroup(p, "room", "Conference Rooms", dir.file("Room.sch"));
    std::vector<std::string> recent;
    CORVSchedDoc doc(p, settings);
    doc.setRecentFileHook([&](const std::string& f) { recent.push_back(f); });
    ASSERT_TRUE(doc.createGroup());
    EXPECT_EQ(p.messages, Messages{});
    ASSERT_EQ(p.fileChoices.size(), 1u);
    EXPECT_EQ(p.fileChoices[0].title, "Select a Path and Name for the New Group File");
    EXPECT_EQ(p.fileChoices[0].initialName, "Room.sch");
    EXPECT_EQ(p.fileChoices[0].defaultExtension, "sch");
    EXPECT_EQ(p.fileChoices[0].filter, "Scheduler Files (*.sch)|*.sch|All Files (*.*)|*.*||");
    EXPECT_FALSE(p.fileChoices[0].mustExist);
    EXPECT_EQ(recent, std::vector<std::string>{dir.file("Room.sch")});
    EXPECT_TRUE(doc.attendeeAvailable());
    EXPECT_EQ(doc.kindUpper(), "Room");
    EXPECT_EQ(doc.kindLower(), "room");

    for (const char* f : {"Room.sch", "RoomUpdate.bin", "RoomSched.dbf", "RoomSched.cdx", "RoomPeople.dbf",
                          "RoomPeople.cdx", "RoomRosLnk.dbf", "RoomRosLnk.cdx"})
        EXPECT_TRUE(fs::exists(dir.file(f))) << f;
    EXPECT_EQ(fs::file_size(dir.file("RoomUpdate.bin")), 60u);
    std::ifstream in(dir.file("Room.sch"), std::ios::binary);
    unsigned char header[4] = {};
    in.read(reinterpret_cast<char*>(header), 4);
    EXPECT_EQ(header[0] | header[1] << 8 | header[2] << 16 | header[3] << 24, 16777216);
    CGroupFileData data;
    std::string why;
    ASSERT_TRUE(CGroupFile::read(dir.file("Room.sch"), data, why));
    EXPECT_EQ(data.description, "Conference Rooms");
    EXPECT_EQ(data.kindWord, "room");
    EXPECT_EQ(data.peopleFileName, "");
    EXPECT_TRUE(data.items.empty());
}

TEST_F(Document, NewGroupInformationRefusesEmptyKindWordThenEmptyDescription) {
    ScriptedPrompt p;
    p.fill<CGroupInfoModel>([](CGroupInfoModel& m) { m.description = "Cars"; });
    p.fill<CGroupInfoModel>([](CGroupInfoModel& m) {
        m.kindWord = "car";
        m.description = "";
    });
    scriptNewGroup(p, "car", "Pool cars", dir.file("Car.sch"));
    CORVSchedDoc doc(p, settings);
    ASSERT_TRUE(doc.createGroup());
    EXPECT_EQ(p.messages, (Messages{error("A name for the group must be specified", "No Group Name"),
                                    error("A description for the group must be specified", "No Description")}));
    EXPECT_EQ(p.dialogsShown, std::vector<std::string>{"NewGroupInformation"});
}

TEST_F(Document, CancelledDialogOrChooserCreatesNothingAndSaysNothing) {
    {
        ScriptedPrompt p;
        p.cancelDialog();
        CORVSchedDoc doc(p, settings);
        EXPECT_FALSE(doc.createGroup());
        EXPECT_TRUE(p.messages.empty());
    }
    {
        ScriptedPrompt p;
        p.fill<CGroupInfoModel>([](CGroupInfoModel& m) {
            m.kindWord = "room";
            m.description = "x";
        });
        CORVSchedDoc doc(p, settings); // no file chosen
        EXPECT_FALSE(doc.createGroup());
        EXPECT_TRUE(p.messages.empty());
        EXPECT_TRUE(doc.description().empty());
    }
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

TEST_F(Document, OtherGroupsPeopleAreLookedUpInTheNewGroupsFolder) {
    makeGroup(dir.file("Offices.sch"), "office");
    fs::create_directories(dir.file("elsewhere"));
    ScriptedPrompt p;
    scriptNewGroup(p, "room", "Rooms", dir.file("Rooms.sch"), true);
    p.files.push_back(dir.file("elsewhere/OfficesPeople.dbf")); // the name is what counts
    CORVSchedDoc doc(p, settings);
    ASSERT_TRUE(doc.createGroup());
    EXPECT_EQ(p.messages, Messages{});
    ASSERT_EQ(p.fileChoices.size(), 2u);
    EXPECT_EQ(p.fileChoices[1].title, "What People Can Make Reservations in the New Group?");
    EXPECT_EQ(p.fileChoices[1].initialName, "*people.dbf");
    EXPECT_EQ(p.fileChoices[1].filter, "Scheduler People Files (*people.dbf)|*.dbf|All Files (*.*)|*.*||");
    EXPECT_TRUE(p.fileChoices[1].mustExist);
    EXPECT_EQ(doc.storedPeopleName(), "OfficesPeople.dbf");
    EXPECT_FALSE(fs::exists(dir.file("RoomsPeople.dbf"))) << "a group using other people makes none";
    EXPECT_TRUE(doc.attendeeAvailable());
    CGroupFileData data;
    std::string why;
    ASSERT_TRUE(CGroupFile::read(dir.file("Rooms.sch"), data, why));
    EXPECT_EQ(data.peopleFileName, "OfficesPeople.dbf");
}

TEST_F(Document, OwnerWithoutPeopleFileRefusesTheNewGroup) {
    ScriptedPrompt p;
    scriptNewGroup(p, "room", "Rooms", dir.file("Rooms.sch"), true);
    p.files.push_back(dir.file("OfficesPeople.dbf"));
    CORVSchedDoc doc(p, settings);
    EXPECT_FALSE(doc.createGroup());
    EXPECT_EQ(p.messages, Messages{error(
                              "The selected group does not have a people file, group creation cancelled",
                              "ORV Scheduler")});
    EXPECT_TRUE(fs::is_empty(dir.path()));
    EXPECT_TRUE(doc.groupFile().empty());
}

TEST_F(Document, NoPeopleFileChosenRefusesTheNewGroup) {
    ScriptedPrompt p;
    scriptNewGroup(p, "room", "Rooms", dir.file("Rooms.sch"), true);
    CORVSchedDoc doc(p, settings);
    EXPECT_FALSE(doc.createGroup());
    EXPECT_EQ(p.messages, Messages{error("No people file selected, group not created", "ORV Scheduler")});
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

TEST_F(Document, RosterLinkTableThatCannotBeCreatedDisablesAttendees) {
    { std::ofstream(dir.file("RoomRosLnk.dbf")) << "in the way"; }
    ScriptedPrompt p;
    scriptNewGroup(p, "room", "Rooms", dir.file("Room.sch"));
    CORVSchedDoc doc(p, settings);
    ASSERT_TRUE(doc.createGroup());
    EXPECT_EQ(p.messages,
              Messages{error("Cannot create an attendee database for this group, the attendee function is disabled",
                             "ORV Scheduler")});
    EXPECT_FALSE(doc.attendeeAvailable());
    EXPECT_TRUE(fs::exists(dir.file("Room.sch")));
}

TEST_F(Document, OldLayoutPeopleOfAnotherGroupDisablesAttendees) {
    // An owner group whose people table has the nine fields of the older layout.
    {
        Code4 code;
        code4init(&code);
        Field4info f;
        for (auto [name, width] : std::vector<std::pair<const char*, int>>{
                 {"LASTNAME", 21}, {"FIRSTNAME", 16}, {"MI", 2}, {"DEPARTMENT", 10}, {"LOCATION", 39},
                 {"F1", 39}, {"F2", 39}, {"NOTES", 39}, {"PHONE", 15}})
            f.add(name, 'C', width);
        Tag4info t;
        t.add("PEOPLETAG", "LASTNAME+FIRSTNAME+MI+DEPARTMENT", ".NOT. DELETED()", res4unique, 0);
        ASSERT_NE(d4create(&code, dir.file("OldPeople"), f, &t), nullptr);
        code4initUndo(&code);
    }
    ScriptedPrompt p;
    scriptNewGroup(p, "room", "Rooms", dir.file("Room.sch"), true);
    p.files.push_back(dir.file("OldPeople.dbf"));
    CORVSchedDoc doc(p, settings);
    ASSERT_TRUE(doc.createGroup());
    EXPECT_EQ(p.messages, Messages{error("The alternate person database was created before version 2.00, "
                                         "attendee function disabled until database is converted",
                                         "ORV Scheduler")});
    EXPECT_FALSE(doc.attendeeAvailable());
    EXPECT_TRUE(fs::exists(dir.file("RoomRosLnk.dbf"))) << "tables made before the refusal stay";
}

TEST_F(Document, CreatingOverAnExistingGroupEndsWithoutAGroup) {
    makeGroup(dir.file("Room.sch"));
    auto before = fs::last_write_time(dir.file("RoomSched.dbf"));
    ScriptedPrompt p;
    scriptNewGroup(p, "room", "Again", dir.file("Room.sch"));
    CORVSchedDoc doc(p, settings);
    EXPECT_FALSE(doc.createGroup());
    EXPECT_TRUE(p.messages.empty());
    EXPECT_EQ(fs::last_write_time(dir.file("RoomSched.dbf")), before);
    CGroupFileData data;
    std::string why;
    ASSERT_TRUE(CGroupFile::read(dir.file("Room.sch"), data, why));
    EXPECT_EQ(data.description, "Made for the test");
}

TEST_F(Document, OpensAGroupWithItsTablesAndStartupSetting) {
    makeGroup(dir.file("Room.sch"));
    settings.writeInt("Startup", "UseLastGroup", 1);
    ScriptedPrompt p;
    CORVSchedDoc doc(p, settings);
    ASSERT_TRUE(doc.openGroup(dir.file("Room.sch")));
    EXPECT_TRUE(p.messages.empty());
    EXPECT_TRUE(doc.attendeeAvailable());
    EXPECT_TRUE(doc.stampOpen());
    EXPECT_EQ(doc.dateKey(), "20261208");
    EXPECT_EQ(doc.description(), "Made for the test");
    EXPECT_EQ(settings.readText("Startup", "Group"), dir.file("Room.sch"));
}

TEST_F(Document, MissingPeopleFileAnsweredNoEndsTheOpen) {
    makeGroup(dir.file("Room.sch"));
    fs::remove(dir.file("RoomPeople.dbf"));
    ScriptedPrompt p;
    p.answers.push_back(false);
    CORVSchedDoc doc(p, settings);
    EXPECT_FALSE(doc.openGroup(dir.file("Room.sch")));
    EXPECT_EQ(p.messages,
              (Messages{question("The people file cannot be found, do you want to select a new one?", "ORV Scheduler"),
                        error("Could not successfully open the people file you requested, group not started.",
                              "ORV Scheduler")}));
    EXPECT_TRUE(doc.groupFile().empty());
    EXPECT_FALSE(doc.schedule().isOpen());
}

TEST_F(Document, MissingPeopleFileAnsweredYesOpensTheChosenOne) {
    makeGroup(dir.file("Room.sch"));
    makeGroup(dir.file("Office.sch"), "office");
    fs::remove(dir.file("RoomPeople.dbf"));
    ScriptedPrompt p;
    p.answers.push_back(true);
    p.files.push_back(dir.file("OfficePeople.dbf"));
    CORVSchedDoc doc(p, settings);
    ASSERT_TRUE(doc.openGroup(dir.file("Room.sch")));
    EXPECT_EQ(p.messages, Messages{question("The people file cannot be found, do you want to select a new one?",
                                            "ORV Scheduler")});
    ASSERT_EQ(p.fileChoices.size(), 1u);
    EXPECT_EQ(p.fileChoices[0].title, "What People Can Make Reservations in This Group?");
    EXPECT_EQ(doc.storedPeopleName(), "OfficePeople.dbf");
    EXPECT_TRUE(doc.people().isOpen());
}

TEST_F(Document, ChosenPeopleFileThatFailsAgainEndsTheOpen) {
    makeGroup(dir.file("Room.sch"));
    fs::remove(dir.file("RoomPeople.dbf"));
    { std::ofstream(dir.file("junk.dbf")) << "not a table"; }
    ScriptedPrompt p;
    p.answers.push_back(true);
    p.files.push_back(dir.file("junk.dbf"));
    CORVSchedDoc doc(p, settings);
    EXPECT_FALSE(doc.openGroup(dir.file("Room.sch")));
    ASSERT_EQ(p.messages.size(), 2u);
    EXPECT_EQ(p.messages[1], error("Could not successfully open the people file you requested, group not started.",
                                   "ORV Scheduler"));
}

TEST_F(Document, ScheduleTableThatCannotBeOpenedIsSaidOutLoud) {
    makeGroup(dir.file("Room.sch"));
    fs::remove(dir.file("RoomSched.dbf"));
    ScriptedPrompt p;
    settings.writeInt("Startup", "UseLastGroup", 1);
    CORVSchedDoc doc(p, settings);
    EXPECT_FALSE(doc.openGroup(dir.file("Room.sch")));
    EXPECT_EQ(p.messages, Messages{error("The reservation database of this group cannot be opened, group not started.",
                                         "ORV Scheduler")});
    EXPECT_TRUE(doc.groupFile().empty());
    EXPECT_TRUE(doc.description().empty());
    EXPECT_EQ(settings.readText("Startup", "Group"), "");
}

TEST_F(Document, MissingRosterLinkTableDisablesAttendeesButOpens) {
    makeGroup(dir.file("Room.sch"));
    fs::remove(dir.file("RoomRosLnk.dbf"));
    ScriptedPrompt p;
    CORVSchedDoc doc(p, settings);
    ASSERT_TRUE(doc.openGroup(dir.file("Room.sch")));
    EXPECT_EQ(p.messages, Messages{error("The attendee database cannot be opened, the attendee function is disabled",
                                         "ORV Scheduler")});
    EXPECT_FALSE(doc.attendeeAvailable());
}

TEST_F(Document, FourteenFieldScheduleMakesTheGroupOld) {
    makeGroup(dir.file("Room.sch"));
    fs::remove(dir.file("RoomSched.dbf"));
    fs::remove(dir.file("RoomSched.cdx"));
    {
        Code4 code;
        code4init(&code);
        Field4info f;
        for (auto [name, width] : std::vector<std::pair<const char*, int>>{
                 {"DATE", 8}, {"ROOMNAME", 20}, {"STARTHH", 2}, {"STARTMM", 2}, {"ENDHH", 2}, {"ENDMM", 2},
                 {"LASTNAME", 21}, {"FIRSTNAME", 16}, {"MI", 2}, {"DEPARTMENT", 10}, {"NOTES", 80},
                 {"DATEMADE", 8}, {"TIMEMADE", 4}, {"RECURDAYS", 3}})
            f.add(name, 'C', width);
        Tag4info t;
        t.add("SCHEDTAG", "DATE+ROOMNAME+STARTHH+STARTMM", ".NOT. DELETED()", res4unique, 0);
        ASSERT_NE(d4create(&code, dir.file("RoomSched"), f, &t), nullptr);
        code4initUndo(&code);
    }
    fs::remove(dir.file("RoomRosLnk.dbf")); // never looked for in an old group
    ScriptedPrompt p;
    CORVSchedDoc doc(p, settings);
    ASSERT_TRUE(doc.openGroup(dir.file("Room.sch")));
    EXPECT_TRUE(p.messages.empty());
    EXPECT_TRUE(doc.databasesOld());
    EXPECT_FALSE(doc.attendeeAvailable());
    EXPECT_FALSE(doc.rosterLinks().isOpen());
}

TEST_F(Document, ModifyGroupInformationAcceptsEmptyFieldsAndSaves) {
    makeGroup(dir.file("Room.sch"));
    ScriptedPrompt p;
    p.fill<CGroupInfoModel>([](CGroupInfoModel& m) {
        EXPECT_EQ(m.kindWord, "room");
        EXPECT_EQ(m.description, "Made for the test");
        m.kindWord = "";
        m.description = "";
    });
    CORVSchedDoc doc(p, settings);
    ASSERT_TRUE(doc.openGroup(dir.file("Room.sch")));
    ASSERT_TRUE(doc.modifyGroupInformation());
    EXPECT_EQ(p.dialogsShown, std::vector<std::string>{"ModifyGroupInformation"});
    EXPECT_TRUE(p.messages.empty());
    CGroupFileData data;
    std::string why;
    ASSERT_TRUE(CGroupFile::read(dir.file("Room.sch"), data, why));
    EXPECT_EQ(data.kindWord, "");
    EXPECT_EQ(data.description, "");
}

} // namespace

namespace {

TEST_F(Document, UnreadableGroupFileIsReportedAndNothingOpens) {
    { std::ofstream(dir.file("Broken.sch")) << "xy"; }
    ScriptedPrompt p;
    CORVSchedDoc doc(p, settings);
    EXPECT_FALSE(doc.openGroup(dir.file("Broken.sch")));
    ASSERT_EQ(p.messages.size(), 1u);
    EXPECT_EQ(p.messages[0].icon, PromptIcon::error);
    EXPECT_EQ(p.messages[0].title, "ORV Scheduler");
    EXPECT_NE(p.messages[0].text.find("Broken.sch"), std::string::npos) << p.messages[0].text;
    EXPECT_FALSE(fs::exists(dir.file("BrokenUpdate.bin")));
}

} // namespace

namespace {

TEST_F(Document, StoringTheWindowRectangleKeepsItemsAnotherUserAdded) {
    makeGroup(dir.file("Room.sch"));
    ScriptedPrompt p;
    CORVSchedDoc doc(p, settings);
    ASSERT_TRUE(doc.openGroup(dir.file("Room.sch")));
    // Another user adds an item while our window is open.
    CGroupFileData data;
    std::string why;
    ASSERT_TRUE(CGroupFile::read(dir.file("Room.sch"), data, why));
    CRoom added;
    added.setName("Added elsewhere");
    data.items.push_back(added);
    ASSERT_TRUE(CGroupFile::write(dir.file("Room.sch"), data, why));

    ASSERT_TRUE(doc.storeWindowRect(CRect{10, 20, 410, 320}));
    ASSERT_TRUE(CGroupFile::read(dir.file("Room.sch"), data, why));
    ASSERT_EQ(data.items.size(), 1u);
    EXPECT_EQ(data.items[0].name(), "Added elsewhere");
    EXPECT_EQ(data.window, (CRect{10, 20, 410, 320}));
}

} // namespace
