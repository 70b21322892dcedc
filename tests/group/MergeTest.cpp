// File > Merge Groups: what a merge brings over and how the tables read back, the refusals that
// change nothing in either group, the warnings, shared people tables, and the item list handled
// under the group-wide lock as Items > Add Item handles it.
#include "common/GroupMaker.h"
#include "common/TempDir.h"
#include "group/CGroupFile.h"
#include "group/CMergeGroups.h"
#include "group/CMergeInfoModel.h"
#include "group/CMergeWarningsModel.h"
#include "tables/CFixedClock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

using namespace orv;
using namespace orv::test;
namespace fs = std::filesystem;

namespace {

using Messages = std::vector<RecordedMessage>;
using Strings = std::vector<std::string>;

class Merge : public ::testing::Test {
public:
    void SetUp() override {
        clock.setLocal(2026, 12, 8, 10, 15);
        CClock::setCurrent(&clock);
    }
    void TearDown() override {
        doc.reset();
        CClock::setCurrent(nullptr);
    }

    std::string main() const { return dir.file("Main.sch"); }
    std::string annex() const { return dir.file("Annex.sch"); }

    // Main: item A1 with a reservation and the person Bob Moe. Annex: items B1 and B2, two
    // reservations (B2's runs now), an attendee of B1's, and two people.
    void makeGroups(const std::string& mainPeople = "", const std::string& annexPeople = "") {
        ASSERT_TRUE(makeGroup(annex(), "Annex rooms", annexPeople));
        ASSERT_TRUE(makeGroup(main(), "Main rooms", mainPeople));
        fill(annex(), {"B1", "B2"}, {{"Ann", "Lee", 2}, {"Kim", "Ng", 1}}, [](CORVSchedDoc& d) {
            ASSERT_EQ(reserve(d, "B1", 9, "Lee"), 0);
            ASSERT_EQ(reserve(d, "B2", 10, "Ng"), 0);
            if (d.attendeeAvailable()) {
                ASSERT_EQ(addLink(d, "B1", 9, "Ng"), 0);
            }
        });
        fill(main(), {"A1"}, {{"Bob", "Moe", 2}},
             [](CORVSchedDoc& d) { ASSERT_EQ(reserve(d, "A1", 9, "Moe"), 0); });
    }
    struct Person {
        const char* first;
        const char* last;
        int flags;
    };
    void fill(const std::string& group, const Strings& items, const std::vector<Person>& people,
              const std::function<void(CORVSchedDoc&)>& records) {
        ScriptedPrompt p;
        CORVSchedDoc d(p, settings);
        ASSERT_TRUE(d.openGroup(group));
        addItems(d, items);
        if (d.storedPeopleName().empty()) {
            for (const Person& person : people)
                ASSERT_EQ(addPerson(d.people(), person.first, person.last, person.flags), 0);
        }
        records(d);
    }
    void openMain() {
        doc = std::make_unique<CORVSchedDoc>(prompt, settings);
        ASSERT_TRUE(doc->openGroup(main()));
    }
    // Runs File > Merge Groups on `path`, keeping what the warnings dialog lists.
    int runMerge(const std::string& path) {
        prompt.fill<CMergeInfoModel>([](CMergeInfoModel&) {});
        prompt.files.push_back(path);
        prompt.fill<CMergeWarningsModel>(
            [this](CMergeWarningsModel& m) { warningsShown = m.warnings(); });
        return CMergeGroups(*doc).run();
    }
    Strings itemsOnDisk(const std::string& group) {
        CGroupFileData data;
        std::string why;
        EXPECT_TRUE(CGroupFile::read(group, data, why)) << why;
        Strings names;
        for (const auto& r : data.items)
            names.push_back(r.name());
        return names;
    }
    // Every active record of the other table is in this one, byte for byte.
    static bool containsRecords(const std::string& into, const std::string& from) {
        const auto have = rawRecords(into);
        for (const auto& record : rawRecords(from))
            if (record[0] == ' ' && std::find(have.begin(), have.end(), record) == have.end())
                return false;
        return true;
    }
    static long long keys(const std::string& table) {
        std::vector<long long> counts;
        const std::string problem = checkTags(table, counts);
        EXPECT_EQ(problem, "") << table;
        return counts.empty() ? -1 : counts[0];
    }

    TempDir dir;
    CFixedClock clock;
    CMemorySettings settings;
    ScriptedPrompt prompt;
    std::unique_ptr<CORVSchedDoc> doc;
    Strings warningsShown;
};

TEST_F(Merge, ItemsReservationsAttendeesAndPeopleComeOverAndTheOtherGroupStaysAsItWas) {
    makeGroups();
    const auto annexBefore = groupBytes(dir.path(), "Annex");
    openMain();
    EXPECT_EQ(runMerge(annex()), CMergeGroups::kMerged);
    EXPECT_EQ(prompt.dialogsShown, (Strings{"MergeInformation"}));
    ASSERT_EQ(prompt.fileChoices.size(), 1u);
    EXPECT_EQ(prompt.fileChoices[0].title, "Select the Merge From Group File");
    EXPECT_EQ(prompt.fileChoices[0].filter, "Scheduler Files (*.sch)|*.sch||");
    EXPECT_EQ(prompt.fileChoices[0].defaultExtension, "sch");
    EXPECT_EQ(prompt.messages,
              (Messages{info("Group merged successfully. You should no longer use the merged from "
                             "group and it is recommended that it be deleted.",
                             "Merge Sucessful")}));

    EXPECT_EQ(itemsOnDisk(main()), (Strings{"A1", "B1", "B2"}));
    EXPECT_EQ(groupBytes(dir.path(), "Annex"), annexBefore);
    // Read back from the files: the same records, and tags that hold them in order.
    for (const char* table : {"Sched", "RosLnk", "People"})
        EXPECT_TRUE(containsRecords(dir.file(std::string("Main") + table + ".dbf"),
                                    dir.file(std::string("Annex") + table + ".dbf")))
            << table;
    EXPECT_EQ(keys(dir.file("MainSched")), 3);
    EXPECT_EQ(keys(dir.file("MainRosLnk")), 1);
    EXPECT_EQ(keys(dir.file("MainPeople")), 3);
    ASSERT_EQ(doc->people().seekPerson("Kim", "", "Ng", ""), 0);
    EXPECT_EQ(doc->people().image().flags(), 1);
    EXPECT_EQ(doc->people().image().lastUsedDay(), 30);

    // Only the group's own three tables stay open; B2 is in use right now.
    EXPECT_EQ(doc->code().errorCode, 0);
    EXPECT_EQ(doc->code().tables.size(), 3u);
    const int b2 = doc->findItem("B2");
    ASSERT_GE(b2, 0);
    EXPECT_TRUE(doc->items().at(b2).inUse());
}

TEST_F(Merge, RefusalsChangeNeitherGroupAndLeaveNoTableOfTheOtherOpen) {
    struct Case {
        const char* name;
        std::function<void(Merge&)> beforeOpen;
        std::function<void(Merge&)> afterOpen; // another user at work meanwhile
        std::string from;
        int result;
        Messages messages;
    };
    const auto cancelled = [](const char* text) {
        return Messages{error(text, "Merge Cancelled")};
    };
    const std::vector<Case> cases = {
        {"an item name in both groups",
         [](Merge& t) { t.fill(t.main(), {"B2"}, {}, [](CORVSchedDoc&) {}); },
         {},
         "Annex.sch",
         CMergeGroups::kSameItemName,
         cancelled("A room with the same name as one in current group exists in from group, merge "
                   "cancelled.")},
        {"another user added the name since the group was read",
         {},
         [](Merge& t) {
             CGroupFileData data;
             std::string why;
             ASSERT_TRUE(CGroupFile::read(t.main(), data, why));
             data.items.emplace_back();
             data.items.back().setName("B1");
             ASSERT_TRUE(CGroupFile::write(t.main(), data, why));
         },
         "Annex.sch",
         CMergeGroups::kSameItemName,
         cancelled("A room with the same name as one in current group exists in from group, merge "
                   "cancelled.")},
        {"schedule tables of different levels",
         [](Merge& t) { ASSERT_TRUE(makeMiddleLevelSchedule(t.annex())); },
         {},
         "Annex.sch",
         CMergeGroups::kDifferentLevels,
         cancelled("The groups are not the same version, merge cancelled.")},
        {"the other group owns this group's people table",
         {},
         {},
         "Annex.sch",
         CMergeGroups::kOwnsPeople,
         cancelled(
             "The group being merged owns the people file of the current group, merge cancelled.")},
        {"the group itself",
         {},
         {},
         "Main.sch",
         CMergeGroups::kNotRun,
         {error("You cannot merge the current group into itself", "Error")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& entry : fs::directory_iterator(dir.path()))
            fs::remove(entry.path());
        prompt = ScriptedPrompt();
        const bool borrow = c.result == CMergeGroups::kOwnsPeople;
        makeGroups(borrow ? dir.file("AnnexPeople.dbf") : "");
        if (c.beforeOpen) c.beforeOpen(*this);
        openMain();
        if (c.afterOpen) c.afterOpen(*this);
        const auto before = groupBytes(dir.path(), "");
        EXPECT_EQ(runMerge(dir.file(c.from)), c.result);
        EXPECT_EQ(prompt.messages, c.messages);
        EXPECT_EQ(groupBytes(dir.path(), ""), before);
        EXPECT_EQ(doc->code().tables.size(), 3u);
        EXPECT_EQ(doc->code().errorCode, 0);
        doc.reset();
    }
}

TEST_F(Merge, WithoutItsScheduleTheOtherGroupStillBringsItemsAndPeopleAndTheWarningsSaySo) {
    makeGroups();
    fill(annex(), {}, {{"Bob", "Moe", 3}, {"Cy", "Po", 2}}, [](CORVSchedDoc&) {});
    fs::remove(dir.file("AnnexSched.dbf"));
    fs::remove(dir.file("AnnexSched.cdx"));
    openMain();
    EXPECT_EQ(runMerge(annex()), CMergeGroups::kMergedWithWarnings);
    EXPECT_EQ(prompt.messages, Messages{});
    EXPECT_EQ(
        warningsShown,
        (Strings{"Could not open reservations database to be merged, no reservations included",
                 "Some people from merged group already exist in current group, those people "
                 "were not merged"}));
    EXPECT_EQ(itemsOnDisk(main()), (Strings{"A1", "B1", "B2"}));
    EXPECT_EQ(keys(dir.file("MainPeople")), 4) << "everybody but the one already there";
    EXPECT_EQ(keys(dir.file("MainSched")), 1);
    EXPECT_EQ(doc->code().errorCode, 0);
    EXPECT_EQ(doc->code().tables.size(), 3u);
    // The refused duplicate left nothing pending: the table takes the next person.
    EXPECT_EQ(addPerson(doc->people(), "Di", "Ox", 2), 0);
}

TEST_F(Merge, AGroupSharingThePeopleTableMergesWithoutOpeningItTwice) {
    struct Case {
        const char* name;
        std::string mainPeople, annexPeople, sharedTable;
    };
    const std::vector<Case> cases = {
        {"the other group uses this group's people", "", "MainPeople.dbf", "MainPeople"},
        {"both use a third group's people", "ThirdPeople.dbf", "ThirdPeople.dbf", "ThirdPeople"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& entry : fs::directory_iterator(dir.path()))
            fs::remove(entry.path());
        prompt = ScriptedPrompt();
        ASSERT_TRUE(makeGroup(dir.file("Third.sch"), "Third"));
        if (c.annexPeople == "MainPeople.dbf") {
            ASSERT_TRUE(makeGroup(main(), "Main rooms"));
            ASSERT_TRUE(makeGroup(annex(), "Annex rooms", dir.file(c.annexPeople)));
            fill(annex(), {"B1"}, {}, [](CORVSchedDoc&) {});
        } else {
            makeGroups(dir.file(c.mainPeople), dir.file(c.annexPeople));
        }
        const std::string people = fileBytes(dir.file(c.sharedTable + ".dbf"));
        openMain();
        EXPECT_EQ(runMerge(annex()), CMergeGroups::kMerged);
        EXPECT_EQ(warningsShown, Strings{});
        EXPECT_EQ(fileBytes(dir.file(c.sharedTable + ".dbf")), people);
        EXPECT_EQ(doc->code().errorCode, 0);
        doc.reset();
    }
}

TEST_F(Merge, AGroupWithoutAttendeeFunctionGetsNoLinksAndNoError) {
    struct Case {
        const char* name;
        std::function<void(Merge&)> prepare;
    };
    const std::vector<Case> cases = {
        {"older schedule layout in both groups",
         [](Merge& t) {
             ASSERT_TRUE(makeMiddleLevelSchedule(t.main()));
             ASSERT_TRUE(makeMiddleLevelSchedule(t.annex()));
         }},
        {"roster link table that does not open",
         [](Merge& t) {
             fs::remove(t.dir.file("MainRosLnk.dbf"));
             fs::remove(t.dir.file("MainRosLnk.cdx"));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& entry : fs::directory_iterator(dir.path()))
            fs::remove(entry.path());
        prompt = ScriptedPrompt();
        makeGroups();
        c.prepare(*this);
        const auto links =
            fs::exists(dir.file("MainRosLnk.dbf")) ? fileBytes(dir.file("MainRosLnk.dbf")) : "";
        openMain();
        ASSERT_FALSE(doc->attendeeAvailable());
        prompt.messages.clear();
        EXPECT_EQ(runMerge(annex()), CMergeGroups::kMerged);
        EXPECT_EQ(warningsShown, Strings{});
        EXPECT_EQ(doc->code().errorCode, 0);
        if (!links.empty()) {
            EXPECT_EQ(fileBytes(dir.file("MainRosLnk.dbf")), links);
        }
        doc.reset();
    }
}

TEST_F(Merge, AppendsThatFailAreWarningsNotSuccess) {
    makeGroups();
    for (const char* table : {"MainSched.dbf", "MainRosLnk.dbf", "MainPeople.dbf"})
        fs::permissions(dir.file(table),
                        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    openMain();
    EXPECT_EQ(runMerge(annex()), CMergeGroups::kMergedWithWarnings);
    EXPECT_EQ(
        warningsShown,
        (Strings{"Not all reservations from merged group could be added to the current group",
                 "Not all attendee lists from merged group could be added to the current group",
                 "Not all people from merged group could be added to the current group"}));
    EXPECT_EQ(itemsOnDisk(main()), (Strings{"A1", "B1", "B2"}));
    EXPECT_EQ(doc->code().errorCode, 0);
}

} // namespace
