// File > Compress Databases: which tables are packed for which group, and the first table that
// cannot be packed (another process has it open, a failing lock, a table that does not open
// again) ending the command with its message.
#include "common/FaultFs.h"
#include "common/GroupMaker.h"
#include "common/TempDir.h"
#include "group/CCompressDatabases.h"
#include "tables/TableTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

using namespace orv;
using namespace orv::test;
namespace fs = std::filesystem;

namespace {

using Messages = std::vector<RecordedMessage>;
const RecordedMessage kAsked = question(CCompressDatabases::kQuestion, "Confirm Compress");

class Compress : public ::testing::Test {
public:
    // Ten reservations of which four are deleted, three links of which one is deleted, three
    // people of whom one is deleted; then the group is opened (through `fs` when given).
    void makeMain(const std::string& borrowedPeople = "", FaultFs* fs = nullptr) {
        doc.reset();
        for (const auto& entry : fs::directory_iterator(dir.path()))
            fs::remove(entry.path());
        ASSERT_TRUE(makeGroup(dir.file("Other.sch")));
        ASSERT_TRUE(makeGroup(group(), borrowedPeople));
        {
            ScriptedPrompt p;
            CORVSchedDoc d(p, settings);
            ASSERT_TRUE(d.openGroup(group()));
            for (int i = 0; i < 10; ++i)
                reserve(d, "A1", 19 - i, "P" + std::to_string(i));
            for (long record : {2L, 5L, 6L, 9L}) {
                d.schedule().goTo(record);
                d.schedule().deleteCurrent();
            }
            for (const char* last : {"X", "Y", "Z"})
                addLink(d, "A1", 12, last);
            d.rosterLinks().first();
            d.rosterLinks().deleteCurrent();
            for (const char* last : {"Lee", "Moe", "Ng"})
                addPerson(d.people(), "Al", last, 2);
            d.people().seekPerson("Al", "", "Moe", "");
            d.people().deleteCurrent();
        }
        prompt = ScriptedPrompt();
        prompt.answers.push_back(true);
        doc = std::make_unique<CORVSchedDoc>(prompt, settings);
        if (fs) code4init(&doc->code(), fs);
        doc->code().silentErrors = 1;
        ASSERT_TRUE(doc->openGroup(group()));
    }
    std::string group() const { return dir.file("Main.sch"); }
    std::size_t count(const std::string& dbf) { return rawRecords(dir.file(dbf)).size(); }

    TempDir dir;
    CMemorySettings settings;
    ScriptedPrompt prompt;
    std::unique_ptr<CORVSchedDoc> doc;
};

TEST_F(Compress, PacksTheTablesTheGroupOwnsInTheirOrder) {
    struct Case {
        std::string borrowedPeople;
        bool withRoster;
        std::size_t links, people;
    };
    for (const Case& c :
         std::vector<Case>{{"", true, 2, 2}, {"OtherPeople.dbf", true, 2, 3}, {"", false, 0, 2}}) {
        SCOPED_TRACE(c.borrowedPeople + (c.withRoster ? " with roster" : ""));
        makeMain(c.borrowedPeople.empty() ? "" : dir.file(c.borrowedPeople));
        if (!c.withRoster) { // a group without the attendee function
            doc.reset();
            fs::remove(dir.file("MainRosLnk.dbf"));
            doc = std::make_unique<CORVSchedDoc>(prompt, settings);
            ASSERT_TRUE(doc->openGroup(group()));
            prompt.messages.clear();
        }
        prompt.progresses.clear();
        EXPECT_EQ(CCompressDatabases(*doc).run(), CCompressDatabases::Outcome::compressed);
        const long tables = 1 + (c.withRoster ? 1 : 0) + (c.borrowedPeople.empty() ? 1 : 0);
        ASSERT_EQ(prompt.progresses.size(), 1u);
        EXPECT_EQ(prompt.progresses[0].label, "Compressing databases");
        EXPECT_FALSE(prompt.progresses[0].cancellable) << "a pack cannot stop halfway";
        EXPECT_EQ(prompt.progresses[0].steps, tables);
        EXPECT_EQ(prompt.progresses[0].lastTotal, tables);
        EXPECT_EQ(prompt.messages,
                  (Messages{kAsked, info(CCompressDatabases::kSuccess, "Compress Successful")}));
        std::vector<std::string> names;
        for (const auto& record : rawRecords(dir.file("MainSched.dbf")))
            names.push_back(record.substr(37, 2));
        EXPECT_EQ(names, (std::vector<std::string>{"P0", "P2", "P3", "P6", "P7", "P9"}));
        EXPECT_EQ(checkedKeys(dir.file("MainSched")), 6);
        EXPECT_EQ(count("MainRosLnk.dbf"), c.links);
        EXPECT_EQ(count(c.borrowedPeople.empty() ? "MainPeople.dbf" : c.borrowedPeople), c.people);
        EXPECT_EQ(reserve(*doc, "A1", 7, "New"), 0) << "the tables are open for shared use again";
    }
}

TEST_F(Compress, TheFirstTableThatCannotBePackedEndsTheCommandWithItsMessage) {
    struct Case {
        std::function<void(FaultFs&)> fault;
        std::string text;
        std::size_t schedule, links;
    };
    const std::vector<Case> cases = {
        {{}, CCompressDatabases::kRosterInUse, 6, 3},
        {[](FaultFs& f) { f.brokenLocks = true; },
         "The Schedule database could not be compressed (Locking File), compression stopped.", 10,
         3},
        {[](FaultFs& f) {
             f.failOpensOf = "MainRosLnk.dbf";
             f.opensBeforeFailing = 1; // the exclusive open passes, the reopen fails
         },
         CCompressDatabases::notReopened("Roster"), 6, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        FaultFs fault;
        makeMain("", &fault);
        HelperProcess other; // another user with the roster link table open
        if (!c.fault) {
            ASSERT_TRUE(other.start("tables_table_holder", {dir.file("MainRosLnk")}));
            ASSERT_EQ(other.readLine(), "ready");
        } else {
            c.fault(fault);
        }
        EXPECT_NE(CCompressDatabases(*doc).run(), CCompressDatabases::Outcome::compressed);
        fault.brokenLocks = false;
        EXPECT_EQ(prompt.messages, (Messages{kAsked, error(c.text, "Compress Error")}));
        EXPECT_EQ(count("MainSched.dbf"), c.schedule);
        EXPECT_EQ(count("MainRosLnk.dbf"), c.links);
        EXPECT_EQ(count("MainPeople.dbf"), 3u) << "nothing after that table is packed";
        EXPECT_EQ(doc->code().errorCode, 0);
        EXPECT_EQ(reserve(*doc, "A1", 7, "New"), 0);
        doc.reset();
    }
}

} // namespace
