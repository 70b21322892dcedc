// File > Compress Databases: which tables are packed for which group, the messages when another
// process has a table open (a real second process), and a pack or reopen that fails.
#include "common/FaultFs.h"
#include "common/GroupMaker.h"
#include "common/TempDir.h"
#include "group/CCompressDatabases.h"
#include "tables/CFixedClock.h"
#include "tables/TableTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

using namespace orv;
using namespace orv::test;
namespace fs = std::filesystem;

namespace {

using Messages = std::vector<RecordedMessage>;
using Outcome = CCompressDatabases::Outcome;

const RecordedMessage kAsked = question(CCompressDatabases::kQuestion, "Confirm Compress");
const RecordedMessage kDone = info(CCompressDatabases::kSuccess, "Compress Successful");

class Compress : public ::testing::Test {
public:
    void SetUp() override {
        clock.setLocal(2026, 12, 8, 10, 0);
        CClock::setCurrent(&clock);
    }
    void TearDown() override {
        doc.reset();
        CClock::setCurrent(nullptr);
    }

    std::string group() const { return dir.file("Main.sch"); }

    // Ten reservations of which four are deleted, three links of which one is deleted, three
    // people of whom one is deleted (in the people table the group uses).
    void makeMain(const std::string& borrowedPeople = "") {
        ASSERT_TRUE(makeGroup(group(), "Main rooms", borrowedPeople));
        ScriptedPrompt p;
        CORVSchedDoc d(p, settings);
        ASSERT_TRUE(d.openGroup(group()));
        addItems(d, {"A1"});
        for (int i = 0; i < 10; ++i)
            ASSERT_EQ(reserve(d, "A1", 19 - i, "P" + std::to_string(i)), 0);
        CSchedule& s = d.schedule();
        for (long record : {2L, 5L, 6L, 9L}) {
            ASSERT_EQ(s.goTo(record), 0);
            s.deleteCurrent();
        }
        s.unlock();
        if (d.attendeeAvailable()) {
            for (const char* last : {"X", "Y", "Z"})
                ASSERT_EQ(addLink(d, "A1", 12, last), 0);
            ASSERT_EQ(d.rosterLinks().first(), 0);
            ASSERT_EQ(d.rosterLinks().deleteCurrent(), 0);
        }
        for (const char* last : {"Lee", "Moe", "Ng"})
            ASSERT_EQ(addPerson(d.people(), "Al", last, 2), 0);
        ASSERT_EQ(d.people().seekPerson("Al", "", "Moe", ""), 0);
        ASSERT_EQ(d.people().deleteCurrent(), 0);
    }
    void openMain() {
        doc = std::make_unique<CORVSchedDoc>(prompt, settings);
        ASSERT_TRUE(doc->openGroup(group()));
        prompt.messages.clear();
    }
    Outcome compress() {
        prompt.answers.push_back(true);
        return CCompressDatabases(*doc).run();
    }
    long count(const std::string& dbf) {
        return static_cast<long>(rawRecords(dir.file(dbf)).size());
    }
    // The last names of the schedule's records in record order.
    std::vector<std::string> scheduleNames() {
        std::vector<std::string> names;
        for (const auto& r : rawRecords(dir.file("MainSched.dbf")))
            names.push_back(r.substr(37, 2));
        return names;
    }

    TempDir dir;
    CFixedClock clock;
    CMemorySettings settings;
    ScriptedPrompt prompt;
    std::unique_ptr<CORVSchedDoc> doc;
};

TEST_F(Compress, PacksTheTablesTheGroupOwnsAndKeepsTheRecordOrder) {
    struct Case {
        const char* name;
        std::function<void(Compress&)> make;
        long links, people; // record counts afterwards; -1: the file is not touched
    };
    const std::vector<Case> cases = {
        {"own people, attendee function", [](Compress& t) { t.makeMain(); }, 2, 2},
        {"another group's people",
         [](Compress& t) {
             ASSERT_TRUE(makeGroup(t.dir.file("Other.sch"), "Other"));
             t.makeMain(t.dir.file("OtherPeople.dbf"));
         },
         2, -1},
        {"no attendee function",
         [](Compress& t) {
             t.makeMain();
             fs::remove(t.dir.file("MainRosLnk.dbf"));
             fs::remove(t.dir.file("MainRosLnk.cdx"));
         },
         -1, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& entry : fs::directory_iterator(dir.path()))
            fs::remove(entry.path());
        prompt = ScriptedPrompt();
        c.make(*this);
        const auto before = groupBytes(dir.path(), "Other");
        openMain();
        EXPECT_EQ(compress(), Outcome::compressed);
        EXPECT_EQ(prompt.messages, (Messages{kAsked, kDone}));
        EXPECT_EQ(scheduleNames(), (std::vector<std::string>{"P0", "P2", "P3", "P6", "P7", "P9"}));
        std::vector<long long> keys;
        EXPECT_EQ(checkTags(dir.file("MainSched"), keys), "");
        EXPECT_EQ(keys, std::vector<long long>{6});
        if (c.links >= 0) {
            EXPECT_EQ(count("MainRosLnk.dbf"), c.links);
        }
        if (c.people >= 0) {
            EXPECT_EQ(count("MainPeople.dbf"), c.people);
        }
        EXPECT_EQ(groupBytes(dir.path(), "Other"), before);
        // The group goes on with its tables open for shared use.
        EXPECT_EQ(reserve(*doc, "A1", 7, "New"), 0);
        EXPECT_EQ(doc->people().seekPerson("Al", "", "Ng", ""), 0);
        doc.reset();
    }
}

TEST_F(Compress, ATableInUseElsewhereStopsTheCommandWithItsMessage) {
    struct Case {
        const char* table;
        const char* message;
        long schedule, links; // record counts afterwards
    };
    const std::vector<Case> cases = {
        {"MainSched", CCompressDatabases::kScheduleInUse, 10, 3},
        {"MainRosLnk", CCompressDatabases::kRosterInUse, 6, 3},
        {"MainPeople", CCompressDatabases::kPeopleInUse, 6, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.table);
        for (const auto& entry : fs::directory_iterator(dir.path()))
            fs::remove(entry.path());
        prompt = ScriptedPrompt();
        makeMain();
        openMain();
        HelperProcess other;
        ASSERT_TRUE(other.start("tables_table_holder", {dir.file(c.table)}));
        ASSERT_EQ(other.readLine(), "ready");
        EXPECT_EQ(compress(), Outcome::inUse);
        EXPECT_EQ(prompt.messages, (Messages{kAsked, error(c.message, "Compress Error")}));
        EXPECT_EQ(count("MainSched.dbf"), c.schedule);
        EXPECT_EQ(count("MainRosLnk.dbf"), c.links);
        EXPECT_EQ(count("MainPeople.dbf"), 3);
        EXPECT_EQ(doc->code().errorCode, 0);
        EXPECT_EQ(reserve(*doc, "A1", 7, "New"), 0);
        other.closeInput();
        EXPECT_EQ(other.wait(), 0);
        doc.reset();
    }
}

TEST_F(Compress, APackOrAReopenThatFailsIsToldAndStopsTheCommand) {
    struct Case {
        const char* name;
        std::function<void(FaultFs&)> fault;
        Messages messages;
        long schedule, links;
        bool rosterOpen;
    };
    const std::vector<Case> cases = {
        {"the lock of the pack fails",
         [](FaultFs& f) { f.brokenLocks = true; },
         {kAsked,
          error(
              "The Schedule database could not be compressed (Locking File), compression stopped.",
              "Compress Error")},
         10,
         3,
         true},
        {"the roster link table does not open again",
         [](FaultFs& f) {
             f.failOpensOf = "MainRosLnk.dbf";
             f.opensBeforeFailing = 1; // the exclusive open
         },
         {kAsked, error("The Roster database could not be opened again after compressing. Close "
                        "the group and open "
                        "it again.",
                        "Compress Error")},
         6,
         2,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& entry : fs::directory_iterator(dir.path()))
            fs::remove(entry.path());
        prompt = ScriptedPrompt();
        makeMain();
        FaultFs fault;
        doc = std::make_unique<CORVSchedDoc>(prompt, settings);
        code4init(&doc->code(), &fault);
        doc->code().silentErrors = 1;
        ASSERT_TRUE(doc->openGroup(group()));
        c.fault(fault);
        EXPECT_EQ(compress(), Outcome::failed);
        fault.brokenLocks = false;
        fault.failOpensOf.clear();
        EXPECT_EQ(prompt.messages, c.messages);
        EXPECT_EQ(count("MainSched.dbf"), c.schedule);
        EXPECT_EQ(count("MainRosLnk.dbf"), c.links);
        EXPECT_EQ(count("MainPeople.dbf"), 3) << "nothing after the failed table is packed";
        EXPECT_EQ(doc->code().errorCode, 0);
        EXPECT_EQ(doc->rosterLinks().isOpen(), c.rosterOpen);
        EXPECT_EQ(reserve(*doc, "A1", 7, "New"), 0);
        doc.reset();
    }
}

} // namespace
