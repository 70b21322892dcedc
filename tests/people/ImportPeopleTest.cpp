// People > Import... and Attendees > Import...: who is offered, what is copied, the closing
// messages and refusals, and a group that goes on working after a refused person or open.
#include "common/GroupMaker.h"
#include "common/TempDir.h"
#include "people/CImportPeople.h"
#include "people/CImportPeopleModel.h"
#include "tables/CFixedClock.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

using namespace orv;
using namespace orv::test;
namespace fs = std::filesystem;

namespace {

using Messages = std::vector<RecordedMessage>;
using Strings = std::vector<std::string>;

class Import : public ::testing::Test {
protected:
    // Main has Bob Moe and Cy Ng; Other offers five who may reserve (two of them those two)
    // and two attendees (Cy Ng among them).
    void SetUp() override {
        clock.setLocal(2026, 12, 8, 10, 0);
        CClock::setCurrent(&clock);
        ASSERT_TRUE(makeGroup(other(), "Other"));
        ASSERT_TRUE(makeGroup(main(), "Main"));
        addPeople(other(), {{"Ann", "Lee", 2},
                            {"Bob", "Moe", 2},
                            {"Cy", "Ng", 3},
                            {"Di", "Ox", 1},
                            {"Ed", "Po", 2},
                            {"Fay", "Qu", 2}});
        addPeople(main(), {{"Bob", "Moe", 2}, {"Cy", "Ng", 2}});
        doc = std::make_unique<CORVSchedDoc>(prompt, settings);
        ASSERT_TRUE(doc->openGroup(main()));
    }
    void TearDown() override {
        doc.reset();
        CClock::setCurrent(nullptr);
    }

    struct Person {
        const char* first;
        const char* last;
        int flags;
    };
    void addPeople(const std::string& group, const std::vector<Person>& people) {
        ScriptedPrompt p;
        CORVSchedDoc d(p, settings);
        ASSERT_TRUE(d.openGroup(group));
        for (const Person& person : people)
            ASSERT_EQ(addPerson(d.people(), person.first, person.last, person.flags), 0);
    }
    std::string main() const { return dir.file("Main.sch"); }
    std::string other() const { return dir.file("Other.sch"); }

    // Runs the command on `path`; the dialog's lines are kept and `select` chooses.
    CImportPeople::Outcome runImport(bool attendees, const std::string& path,
                                     const std::function<void(CImportPeopleModel&)>& select) {
        prompt.files.push_back(path);
        prompt.fill<CImportPeopleModel>([&](CImportPeopleModel& m) {
            title = m.title();
            offered.clear();
            for (const auto& line : m.lines())
                offered.push_back(line.text);
            select(m);
        });
        return CImportPeople(*doc, attendees).run();
    }
    Strings peopleOf(const std::string& dbf) {
        Strings names;
        for (const auto& r : rawRecords(dir.file(dbf)))
            if (r[0] == ' ') names.push_back(r.substr(1, 21).substr(0, r.substr(1, 21).find(' ')));
        return names;
    }

    TempDir dir;
    CFixedClock clock;
    CMemorySettings settings;
    ScriptedPrompt prompt;
    std::unique_ptr<CORVSchedDoc> doc;
    std::string title;
    Strings offered;
};

TEST_F(Import, FiveSelectedOfWhomTwoExistReportTwoDuplicatesAndTheTableTakesTheNextPerson) {
    const auto before = rawRecords(dir.file("MainPeople.dbf"));
    EXPECT_EQ(runImport(false, other(), [](CImportPeopleModel& m) { m.selectAll(); }),
              CImportPeople::Outcome::imported);
    EXPECT_EQ(title, "Import People From Another Group Into This Group");
    EXPECT_EQ(offered, (Strings{"Lee, Ann    ** 555-Lee **   ", "Moe, Bob    ** 555-Moe **   ",
                                "Ng, Cy    ** 555-Ng **   ", "Po, Ed    ** 555-Po **   ",
                                "Qu, Fay    ** 555-Qu **   "}));
    ASSERT_EQ(prompt.fileChoices.size(), 1u);
    EXPECT_EQ(prompt.fileChoices[0].filter, "Scheduler Files (*.sch)|*.sch|All Files (*.*)|*.*||");
    EXPECT_EQ(prompt.fileChoices[0].defaultExtension, "sch");
    EXPECT_EQ(prompt.messages, (Messages{info("2 duplicates were not imported out of 5 selections",
                                              "Import Information")}));
    // The two already there are untouched; the three new ones keep marks and last-used date.
    const auto after = rawRecords(dir.file("MainPeople.dbf"));
    ASSERT_EQ(after.size(), 5u);
    EXPECT_EQ(Strings(after.begin(), after.begin() + 2), before);
    EXPECT_EQ(peopleOf("MainPeople.dbf"), (Strings{"Moe", "Ng", "Lee", "Po", "Qu"}));
    EXPECT_EQ(after[2].substr(221, 13), "2026113000002");
    EXPECT_EQ(addPerson(doc->people(), "Gus", "Ro", 2), 0);
    EXPECT_EQ(peopleOf("MainPeople.dbf").back(), "Ro");
    EXPECT_FALSE(doc->otherPeople().isOpen());
}

TEST_F(Import, RefusalsAndEmptySelectionsChangeNothing) {
    struct Case {
        const char* name;
        bool attendees;
        std::string path;
        std::function<void(CImportPeopleModel&)> select;
        Messages messages;
        Strings imported; // last names added to Main
    };
    const auto none = [](CImportPeopleModel&) {};
    const auto all = [](CImportPeopleModel& m) { m.selectAll(); };
    const auto noPeople = error("Could not find people information in the selected group", "Error");
    const std::vector<Case> cases = {
        {"the group itself",
         false,
         "Main.sch",
         all,
         {error("You cannot import from the current group", "Error")},
         {}},
        {"the group itself in other letters", false, "MAIN.sch", all, {noPeople}, {}},
        {"a group without people of its own", false, "Nowhere.sch", all, {noPeople}, {}},
        {"nobody selected", false, "Other.sch", none, {}, {}},
        {"attendees, one of them here already",
         true,
         "Other.sch",
         all,
         {info("1 duplicates were not imported out of 2 selections", "Import Information")},
         {"Ox"}},
        {"one person",
         false,
         "Other.sch",
         [](CImportPeopleModel& m) { m.selected = {4}; },
         {info("1 people have been imported into this group", "Import Information")},
         {"Qu"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompt = ScriptedPrompt();
        const auto before = rawRecords(dir.file("MainPeople.dbf"));
        runImport(c.attendees, dir.file(c.path), c.select);
        EXPECT_EQ(prompt.messages, c.messages);
        const auto after = rawRecords(dir.file("MainPeople.dbf"));
        EXPECT_EQ(Strings(after.begin(), after.begin() + static_cast<long>(before.size())), before);
        Strings added;
        for (std::size_t i = before.size(); i < after.size(); ++i)
            added.push_back(after[i].substr(1, 2));
        Strings expected;
        for (const auto& last : c.imported)
            expected.push_back(last.substr(0, 2));
        EXPECT_EQ(added, expected);
        EXPECT_EQ(doc->code().errorCode, 0);
        EXPECT_FALSE(doc->otherPeople().isOpen());
    }
    // After the refused opens the group still works.
    EXPECT_EQ(addPerson(doc->people(), "Gus", "Ro", 2), 0);
}

TEST_F(Import, AttendeesFromAnOlderPeopleTableAreEverybodyAndComeWithFlags2) {
    {
        Code4 code;
        code4init(&code);
        code.silentErrors = 1;
        Field4info fields;
        for (auto [name, width] : std::vector<std::pair<const char*, int>>{{"LASTNAME", 21},
                                                                           {"FIRSTNAME", 16},
                                                                           {"MI", 2},
                                                                           {"DEPARTMENT", 10},
                                                                           {"LOCATION", 39},
                                                                           {"F1", 39},
                                                                           {"F2", 39},
                                                                           {"NOTES", 39},
                                                                           {"PHONE", 15}})
            fields.add(name, 'C', width);
        Tag4info tags;
        tags.add("PEOPLETAG", "LASTNAME+FIRSTNAME+MI+DEPARTMENT", ".NOT. DELETED()", res4unique);
        Data4* made = d4create(&code, dir.file("OldPeople"), fields, &tags);
        ASSERT_NE(made, nullptr);
        d4close(made);
        CPeople old(code);
        ASSERT_EQ(old.open(dir.file("OldPeople"), true), 0);
        for (const char* last : {"Uhl", "Vos"})
            ASSERT_EQ(addPerson(old, "Zed", last, 1), 0);
        code4initUndo(&code);
    }
    EXPECT_EQ(runImport(true, dir.file("Old.sch"), [](CImportPeopleModel& m) { m.selectAll(); }),
              CImportPeople::Outcome::imported);
    EXPECT_EQ(title, "Import Attendees from Another Group");
    EXPECT_EQ(offered.size(), 2u);
    EXPECT_EQ(prompt.messages, (Messages{info("2 attendees have been imported into this group",
                                              "Import Information")}));
    const auto after = rawRecords(dir.file("MainPeople.dbf"));
    ASSERT_EQ(after.size(), 4u);
    for (std::size_t i = 2; i < 4; ++i)
        EXPECT_EQ(after[i].substr(221, 13), "0000000000002");
}

} // namespace
