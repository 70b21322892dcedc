// People > Import... and Attendees > Import...: who is offered, what is copied, the closing
// messages and refusals, and a people table that goes on working after refused people or opens.
#include "common/GroupMaker.h"
#include "common/OldTables.h"
#include "common/TempDir.h"
#include "people/CImportPeople.h"
#include "people/CImportPeopleModel.h"

#include <gtest/gtest.h>

#include <functional>

using namespace orv;
using namespace orv::test;

namespace {

using Strings = std::vector<std::string>;
using Select = std::function<void(CImportPeopleModel&)>;

class Import : public ::testing::Test {
protected:
    // Main has Bob Moe and Cy Ng. Other offers five who may reserve (those two among them) and
    // two attendees (Cy Ng again, and Di Ox).
    void SetUp() override {
        ASSERT_TRUE(makeGroup(file("Other.sch")));
        ASSERT_TRUE(makeGroup(file("Main.sch")));
        for (const char* group : {"Other.sch", "Main.sch"}) {
            ScriptedPrompt p;
            CORVSchedDoc d(p, settings);
            ASSERT_TRUE(d.openGroup(file(group)));
            const bool other = group[0] == 'O';
            for (auto [first, last, flags] :
                 std::vector<std::tuple<const char*, const char*, int>>{{"Ann", "Lee", 2},
                                                                        {"Bob", "Moe", 2},
                                                                        {"Cy", "Ng", 3},
                                                                        {"Di", "Ox", 1},
                                                                        {"Ed", "Po", 2},
                                                                        {"Fay", "Qu", 2}})
                if (other || last[0] == 'M' || last[0] == 'N')
                    addPerson(d.people(), first, last, flags);
        }
        doc = std::make_unique<CORVSchedDoc>(prompt, settings);
        ASSERT_TRUE(doc->openGroup(file("Main.sch")));
    }
    std::string file(const std::string& name) const { return dir.file(name); }
    // The command on `group`; the dialog's title and lines are kept and `select` chooses.
    void runImport(bool attendees, const std::string& group, const Select& select) {
        prompt = ScriptedPrompt();
        prompt.files.push_back(file(group));
        prompt.fill<CImportPeopleModel>([&](CImportPeopleModel& m) {
            title = m.title();
            offered.clear();
            for (const auto& line : m.lines())
                offered.push_back(line.text);
            select(m);
        });
        before = rawRecords(file("MainPeople.dbf"));
        CImportPeople(*doc, attendees).run();
    }
    // Last name, last-used date and flags of each person added since runImport began; the
    // people there before must be untouched.
    Strings added() {
        const auto after = rawRecords(file("MainPeople.dbf"));
        EXPECT_EQ(Strings(after.begin(), after.begin() + static_cast<long>(before.size())), before);
        Strings people;
        for (std::size_t i = before.size(); i < after.size(); ++i)
            people.push_back(after[i].substr(1, 2) + " " + after[i].substr(221, 13));
        return people;
    }

    TempDir dir;
    CMemorySettings settings;
    ScriptedPrompt prompt;
    std::unique_ptr<CORVSchedDoc> doc;
    Strings before, offered;
    std::string title;
};

const Select kAll = [](CImportPeopleModel& m) { m.selectAll(); };

TEST_F(Import, FiveSelectedOfWhomTwoExistGiveTwoDuplicatesAndTheTableTakesTheNextPerson) {
    runImport(false, "Other.sch", kAll);
    EXPECT_EQ(title, "Import People From Another Group Into This Group");
    EXPECT_EQ(offered, (Strings{"Lee, Ann    ** 555-Lee **   ", "Moe, Bob    ** 555-Moe **   ",
                                "Ng, Cy    ** 555-Ng **   ", "Po, Ed    ** 555-Po **   ",
                                "Qu, Fay    ** 555-Qu **   "}));
    EXPECT_EQ(prompt.fileChoices.at(0).filter,
              "Scheduler Files (*.sch)|*.sch|All Files (*.*)|*.*||");
    EXPECT_EQ(prompt.messages,
              std::vector<RecordedMessage>{info(
                  "2 duplicates were not imported out of 5 selections", "Import Information")});
    EXPECT_EQ(added(), (Strings{"Le 2026113000002", "Po 2026113000002", "Qu 2026113000002"}));
    EXPECT_EQ(addPerson(doc->people(), "Gus", "Ro", 2), 0);
    EXPECT_EQ(added().back(), "Ro 2026113000002");
}

TEST_F(Import, RefusalsAndEmptySelectionsImportNothingAndLeaveTheGroupWorking) {
    struct Case {
        bool attendees;
        std::string group;
        Select select;
        std::string text; // empty: no message
        Strings added;
    };
    const std::string noPeople = CImportPeople::kNoPeople;
    const std::vector<Case> cases = {
        {false, "Main.sch", kAll, CImportPeople::kSameGroup, {}},
        {false, "MAIN.sch", kAll, noPeople, {}}, // its people table is open already
        {false, "Nowhere.sch", kAll, noPeople, {}},
        {false, "Other.sch", [](CImportPeopleModel&) {}, "", {}},
        {true,
         "Other.sch",
         kAll,
         "1 duplicates were not imported out of 2 selections",
         {"Ox 2026113000001"}},
        {false,
         "Other.sch",
         [](CImportPeopleModel& m) { m.selected = {4}; },
         "1 people have been imported into this group",
         {"Qu 2026113000002"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.group + " " + c.text);
        runImport(c.attendees, c.group, c.select);
        EXPECT_EQ(prompt.messages.size(), c.text.empty() ? 0u : 1u);
        if (!prompt.messages.empty()) {
            EXPECT_EQ(prompt.messages[0].text, c.text);
            EXPECT_EQ(prompt.messages[0].icon,
                      c.added.empty() ? PromptIcon::error : PromptIcon::information);
        }
        EXPECT_EQ(added(), c.added);
        EXPECT_EQ(doc->code().errorCode, 0);
        EXPECT_FALSE(doc->otherPeople().isOpen());
    }
    EXPECT_EQ(addPerson(doc->people(), "Gus", "Ro", 2), 0);
}

TEST_F(Import, AttendeesFromAnOlderPeopleTableAreEverybodyAndComeWithFlags2) {
    ASSERT_TRUE(makeOldPeople(file("OldPeople")));
    {
        Code4 code;
        code4init(&code);
        CPeople old(code);
        ASSERT_EQ(old.open(file("OldPeople"), true), 0);
        for (const char* last : {"Uhl", "Vos"})
            addPerson(old, "Zed", last, 1);
    }
    runImport(true, "Old.sch", kAll);
    EXPECT_EQ(title, "Import Attendees from Another Group");
    EXPECT_EQ(prompt.messages,
              std::vector<RecordedMessage>{
                  info("2 attendees have been imported into this group", "Import Information")});
    EXPECT_EQ(added(), (Strings{"Uh 0000000000002", "Vo 0000000000002"}));
}

} // namespace
