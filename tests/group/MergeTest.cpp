// File > Merge Groups: what comes over and how the tables read back, the refusals that change
// neither group, the warnings, and groups that share a people table or lack attendee lists.
#include "common/GroupMaker.h"
#include "common/OldTables.h"
#include "common/TempDir.h"
#include "group/CGroupFile.h"
#include "group/CMergeGroups.h"
#include "group/CMergeInfoModel.h"
#include "group/CMergeWarningsModel.h"
#include "tables/CFixedClock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using namespace orv;
using namespace orv::test;
namespace fs = std::filesystem;

namespace {

using Strings = std::vector<std::string>;
using Step = std::function<void(CORVSchedDoc&)>;

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
    std::string file(const std::string& name) const { return dir.file(name); }
    void withGroup(const std::string& name, const Step& step) {
        ScriptedPrompt p;
        CORVSchedDoc d(p, settings);
        ASSERT_TRUE(d.openGroup(file(name)));
        step(d);
    }
    // Main: A1 with a reservation, Bob Moe. Annex: B1 and B2 with a reservation each (B2's runs
    // now), an attendee of B1's, Ann Lee and Kim Ng. Then the main group is opened.
    void makeGroups(const std::string& mainPeople = "", const std::string& annexPeople = "",
                    const std::function<void(Merge&)>& change = {}) {
        doc.reset();
        for (const auto& entry : fs::directory_iterator(dir.path()))
            fs::remove(entry.path());
        prompt = ScriptedPrompt();
        ASSERT_TRUE(makeGroup(file("Third.sch")));
        // A group that borrows a people table comes after the table's owner.
        const auto make = [this](const char* name, const std::string& people) {
            ASSERT_TRUE(makeGroup(file(name), people.empty() ? "" : file(people)));
        };
        make(annexPeople.empty() ? "Annex.sch" : "Main.sch",
             annexPeople.empty() ? annexPeople : mainPeople);
        make(annexPeople.empty() ? "Main.sch" : "Annex.sch",
             annexPeople.empty() ? mainPeople : annexPeople);
        withGroup("Annex.sch", [](CORVSchedDoc& d) {
            addItems(d, {"B1", "B2"});
            reserve(d, "B1", 9, "Lee");
            reserve(d, "B2", 10, "Ng");
            addLink(d, "B1", 9, "Ng");
            addPerson(d.people(), "Ann", "Lee", 2);
            addPerson(d.people(), "Kim", "Ng", 1);
        });
        withGroup("Main.sch", [](CORVSchedDoc& d) {
            addItems(d, {"A1"});
            reserve(d, "A1", 9, "Moe");
            addPerson(d.people(), "Bob", "Moe", 2);
        });
        if (change) change(*this);
        doc = std::make_unique<CORVSchedDoc>(prompt, settings);
        ASSERT_TRUE(doc->openGroup(file("Main.sch")));
        prompt.messages.clear();
    }
    // File > Merge Groups on `name`; the warnings dialog's lines are kept.
    int runMerge(const std::string& name) {
        prompt.fill<CMergeInfoModel>([](CMergeInfoModel&) {});
        prompt.files.push_back(file(name));
        prompt.fill<CMergeWarningsModel>(
            [this](CMergeWarningsModel& m) { warnings = m.warnings(); });
        return CMergeGroups(*doc).run();
    }
    Strings itemsOnDisk() {
        CGroupFileData data;
        std::string why;
        CGroupFile::read(file("Main.sch"), data, why);
        Strings names;
        for (const auto& r : data.items)
            names.push_back(r.name());
        return names;
    }

    TempDir dir;
    CFixedClock clock;
    CMemorySettings settings;
    ScriptedPrompt prompt;
    std::unique_ptr<CORVSchedDoc> doc;
    Strings warnings;
};

TEST_F(Merge, EverythingComesOverAndReadsBackWhileTheOtherGroupStaysAsItWas) {
    makeGroups();
    const auto annex = groupBytes(dir.path(), "Annex");
    EXPECT_EQ(runMerge("Annex.sch"), CMergeGroups::kMerged);
    EXPECT_EQ(prompt.fileChoices.at(0).title, "Select the Merge From Group File");
    EXPECT_EQ(prompt.fileChoices.at(0).filter, "Scheduler Files (*.sch)|*.sch||");
    EXPECT_EQ(prompt.messages,
              std::vector<RecordedMessage>{info(CMergeGroups::kSuccess, "Merge Sucessful")});
    EXPECT_EQ(itemsOnDisk(), (Strings{"A1", "B1", "B2"}));
    EXPECT_EQ(groupBytes(dir.path(), "Annex"), annex);
    // Each record of the other group is in this group's table byte for byte, and the tags
    // hold every record in order.
    for (const std::string table : {"Sched", "RosLnk", "People"}) {
        const auto mine = rawRecords(file("Main" + table + ".dbf"));
        for (const auto& record : rawRecords(file("Annex" + table + ".dbf")))
            EXPECT_NE(std::find(mine.begin(), mine.end(), record), mine.end()) << table;
        EXPECT_EQ(checkedKeys(file("Main" + table)), static_cast<long long>(mine.size())) << table;
    }
    EXPECT_EQ(doc->code().tables.size(), 3u);
    EXPECT_TRUE(doc->items().at(2).inUse()) << "B2's reservation runs now";
}

TEST_F(Merge, RefusalsChangeNeitherGroupAndLeaveNothingOpen) {
    struct Case {
        std::string from, mainPeople;
        std::function<void(Merge&)> before, meanwhile; // meanwhile: another user, group open
        int result;
        const char* text;
    };
    const auto addB1 = [](Merge& t) {
        CGroupFileData data;
        std::string why;
        CGroupFile::read(t.file("Main.sch"), data, why);
        data.items.emplace_back().setName("B1");
        CGroupFile::write(t.file("Main.sch"), data, why);
    };
    const std::vector<Case> cases = {
        {"Annex.sch", "", addB1, {}, CMergeGroups::kSameItemName, CMergeGroups::kSameItemText},
        {"Annex.sch", "", {}, addB1, CMergeGroups::kSameItemName, CMergeGroups::kSameItemText},
        {"Annex.sch",
         "",
         [](Merge& t) { makeOldSchedule(t.file("AnnexSched")); },
         {},
         CMergeGroups::kDifferentLevels,
         CMergeGroups::kDifferentLevelsText},
        {"Annex.sch",
         "AnnexPeople.dbf",
         {},
         {},
         CMergeGroups::kOwnsPeople,
         CMergeGroups::kOwnsPeopleText},
        {"Main.sch", "", {}, {}, CMergeGroups::kNotRun, CMergeGroups::kIntoItself},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.result);
        makeGroups(c.mainPeople, "", c.before);
        if (c.meanwhile) c.meanwhile(*this);
        const auto before = groupBytes(dir.path());
        EXPECT_EQ(runMerge(c.from), c.result);
        ASSERT_EQ(prompt.messages.size(), 1u);
        EXPECT_EQ(prompt.messages[0].text, c.text);
        EXPECT_EQ(prompt.messages[0].title,
                  c.result == CMergeGroups::kNotRun ? "Error" : "Merge Cancelled");
        EXPECT_EQ(prompt.messages[0].icon, PromptIcon::error);
        EXPECT_EQ(groupBytes(dir.path()), before);
        EXPECT_EQ(doc->code().tables.size(), 3u);
        EXPECT_EQ(doc->code().errorCode, 0);
    }
}

TEST_F(Merge, WarningsTellWhatDidNotComeOverAndSharedTablesAreLeftAlone) {
    struct Case {
        std::string mainPeople, annexPeople;
        std::function<void(Merge&)> change;
        Strings warnings;
        std::string untouched; // a file the merge must not change
    };
    const auto missing = [](const char* a, const char* b) {
        return [=](Merge& t) {
            fs::remove(t.file(a));
            fs::remove(t.file(b));
        };
    };
    const std::vector<Case> cases = {
        {"",
         "",
         [missing](Merge& t) {
             t.withGroup("Annex.sch",
                         [](CORVSchedDoc& d) { addPerson(d.people(), "Bob", "Moe", 3); });
             missing("AnnexSched.dbf", "AnnexSched.cdx")(t);
         },
         {CMergeGroups::kNoReservations, CMergeGroups::kPeopleExist},
         ""},
        {"",
         "",
         [](Merge& t) {
             for (const char* table : {"MainSched.dbf", "MainRosLnk.dbf", "MainPeople.dbf"})
                 fs::permissions(t.file(table), fs::perms::owner_read);
         },
         {CMergeGroups::kSomeReservationsLost, CMergeGroups::kSomeAttendeeListsLost,
          CMergeGroups::kSomePeopleLost},
         ""},
        {"", "MainPeople.dbf", {}, {}, "MainPeople.dbf"},
        {"ThirdPeople.dbf", "ThirdPeople.dbf", {}, {}, "ThirdPeople.dbf"},
        // No attendee function here: no links, and no error either.
        {"", "", missing("MainRosLnk.dbf", "MainRosLnk.cdx"), {}, ""},
        {"",
         "",
         [](Merge& t) {
             makeOldSchedule(t.file("MainSched"));
             makeOldSchedule(t.file("AnnexSched"));
         },
         {},
         "MainRosLnk.dbf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mainPeople + c.annexPeople + c.untouched +
                     std::to_string(c.warnings.size()));
        makeGroups(c.mainPeople, c.annexPeople, c.change);
        const std::string untouched = c.untouched.empty() ? "" : fileBytes(file(c.untouched));
        const std::size_t open = doc->code().tables.size();
        warnings.clear();
        EXPECT_EQ(runMerge("Annex.sch"),
                  c.warnings.empty() ? CMergeGroups::kMerged : CMergeGroups::kMergedWithWarnings);
        EXPECT_EQ(warnings, c.warnings);
        EXPECT_EQ(itemsOnDisk(), (Strings{"A1", "B1", "B2"}));
        EXPECT_EQ(c.untouched.empty() ? "" : fileBytes(file(c.untouched)), untouched);
        EXPECT_EQ(doc->code().tables.size(), open);
        EXPECT_EQ(doc->code().errorCode, 0);
    }
}

} // namespace
