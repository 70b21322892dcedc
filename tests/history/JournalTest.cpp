// The journal: every write path of the dialogs' logic leaves one entry per record it changed,
// whose images are exactly what changed in the tables; the history lines; restore; undo and redo.

#include "cli/CliRunner.h"
#include "group/CCompressDatabases.h"
#include "history/CHistory.h"
#include "history/CHistoryModel.h"
#include "history/CJournalChange.h"
#include "history/CJournalImage.h"
#include "history/CJournalUndo.h"
#include "people/CPeopleCommands.h"
#include "people/CPersonDeleteModel.h"
#include "people/CPersonListModel.h"
#include "reservations/CBlockoutModel.h"
#include "reservations/CRemoveBlockoutModel.h"
#include "reservations/ReservationFixture.h"
#include "tables/CTableNames.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <tuple>

namespace orv::test {
namespace {

// One changed record: its table and its bytes after the deletion flag before and after, trailing
// blanks dropped; empty where the record was not there (or deleted).
using Change = std::tuple<std::string, std::string, std::string>;

std::string trimmed(std::string s) {
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

// Every record of a .dbf file as stored, by record number, read from the bytes on disk.
std::map<long, std::string> recordsOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto u = [&](std::size_t at, int n) {
        unsigned long v = 0;
        for (int i = n - 1; i >= 0; --i)
            v = v * 256 + static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
        return v;
    };
    std::map<long, std::string> out;
    if (bytes.size() < 32) return out;
    const unsigned long count = u(4, 4), header = u(8, 2), length = u(10, 2);
    for (unsigned long r = 0; r < count; ++r)
        out[static_cast<long>(r + 1)] = bytes.substr(header + r * length, length);
    return out;
}

std::string imageOf(const std::string& record) {
    if (record.empty() || record[0] == '*') return {};
    return trimmed(record.substr(1));
}

// A booking of `start`-`end` (hhmm) on Tuesday 12/08/2026, once.
Booking at(int start, int end) {
    Booking b;
    b.sh = start / 100;
    b.sm = start % 100;
    b.eh = end / 100;
    b.em = end % 100;
    return b;
}
Booking weekly(int start, int end, CDate until) {
    Booking b = at(start, end);
    b.code = CAddReservation::kWeekly;
    b.until = until;
    return b;
}

class Journal : public ReservationFixture {
public:
    // The write paths below drive the fixture from outside.
    using ReservationFixture::book;
    using ReservationFixture::bookWith;
    using ReservationFixture::day;
    using ReservationFixture::doc;
    using ReservationFixture::prompt;
    using ReservationFixture::put;
    using ReservationFixture::scriptRoster;

protected:
    void SetUp() override {
        setenv("LOGNAME", "alice", 1);
        ReservationFixture::SetUp();
    }

    using Snapshot = std::map<std::string, std::map<long, std::string>>;
    Snapshot snapshot() const {
        return {{"Sched", recordsOf(CTableNames::schedule(group) + ".dbf")},
                {"RosLnk", recordsOf(CTableNames::rosterLink(group) + ".dbf")},
                {"People", recordsOf(CTableNames::people(group) + ".dbf")}};
    }
    static std::multiset<Change> diff(const Snapshot& before, const Snapshot& after) {
        std::multiset<Change> out;
        for (const auto& [table, records] : after) {
            const auto& was = before.at(table);
            for (const auto& [number, bytes] : records) {
                const auto it = was.find(number);
                const std::string then = it == was.end() ? std::string() : imageOf(it->second);
                const std::string now = imageOf(bytes);
                if (then != now) out.insert({table, then, now});
            }
        }
        return out;
    }
    std::vector<CHistoryEntry> history() {
        std::vector<CHistoryEntry> entries;
        EXPECT_EQ(CHistory::load(doc->journal(), entries), 0);
        return entries;
    }
    CHistoryEntry lastEntry() {
        auto entries = history();
        return entries.empty() ? CHistoryEntry{} : entries.back();
    }
    // Selects the line of the day list that starts at `hhmm`.
    static void selectStart(CItemDayModel& d, int hhmm) {
        for (int i = 0; i < d.lineCount(); ++i)
            if (d.recordAt(i).startHhmm() == hhmm) d.select(i);
    }
};

struct WritePath {
    const char* name;
    std::function<void(Journal&)> setUp;  // unrecorded preparation
    std::function<void(Journal&)> change; // the change under test
    std::size_t entries;
    const char* kind;
};

TEST_F(Journal, EveryWritePathLeavesOneEntryARecordWhoseImagesAreTheTablesDiff) {
    const CPeopleKey morgan{"Alex", "J", "Morgan", "Sales"};
    auto booked = [](Journal& t) {
        ASSERT_TRUE(t.bookWith("Boardroom", at(1100, 1200), {"Baker", "Ames"}, false));
    };
    auto series = [](Journal& t) {
        ASSERT_TRUE(t.book("Boardroom", weekly(900, 1000, {2026, 12, 22})));
    };
    auto blocked = [](Journal& t) {
        t.prompt.fill<CBlockoutModel>([](CBlockoutModel& b) {
            b.date = {2026, 12, 9};
            b.startHour = 13;
            b.endHour = 14;
            b.endMinute = 0;
        });
        CBlockoutModel model(*t.doc);
        ASSERT_TRUE(t.prompt.runDialog(model));
    };
    const std::vector<WritePath> paths = {
        {"book once",
         {},
         [](Journal& t) { ASSERT_TRUE(t.book("Boardroom", at(1100, 1200))); },
         1,
         CJournalChange::kMade},
        {"book with attendees", {}, booked, 1, CJournalChange::kMade},
        {"book a weekly series", {}, series, 3, CJournalChange::kMade},
        {"cancel with attendees", booked,
         [](Journal& t) {
             t.prompt.answers = {true};
             auto d = t.day("Boardroom");
             selectStart(d, 1100);
             d.cancelReservation();
         },
         1, CJournalChange::kCancelled},
        {"cancel the rest of a series", series,
         [](Journal& t) {
             t.prompt.answers = {true, true};
             auto d = t.day("Boardroom");
             selectStart(d, 900);
             d.cancelReservation();
         },
         3, CJournalChange::kCancelled},
        {"terminate",
         [](Journal& t) {
             t.put("Huddle", {2026, 12, 8}, 930, 1100, "Ames");
         },
         [](Journal& t) {
             t.prompt.answers = {true};
             auto d = t.day("Huddle");
             selectStart(d, 930);
             d.terminateReservation();
         },
         1, CJournalChange::kTerminated},
        {"change the note", booked,
         [](Journal& t) {
             t.prompt.fill<CShowReservation>([](CShowReservation& s) { s.note = "Budget"; });
             auto d = t.day("Boardroom");
             selectStart(d, 1100);
             d.showReservation();
         },
         1, CJournalChange::kChanged},
        {"change the attendee list", booked,
         [](Journal& t) {
             t.prompt.fill<CShowReservation>([](CShowReservation& s) { s.viewAttendees = true; });
             t.scriptRoster({"Morgan"}, false);
             auto d = t.day("Boardroom");
             selectStart(d, 1100);
             d.showReservation();
         },
         1, CJournalChange::kAttendees},
        {"block out every item", {}, blocked, 2, CJournalChange::kBlocked},
        {"remove the blockouts", blocked,
         [](Journal& t) {
             ASSERT_TRUE(CRemoveBlockoutModel(*t.doc, {2026, 12, 9}).removeAll());
         },
         2, CJournalChange::kUnblocked},
        {"delete old reservations", booked,
         [](Journal& t) {
             // As the group window records Edit > Delete Old Reservations.
             CJournalChange change(*t.doc, CJournalChange::kDeletedOld, true);
             t.doc->deleteOlderThan("20261209");
         },
         1, CJournalChange::kDeletedOld},
        {"add a person",
         {},
         [](Journal& t) {
             t.prompt.fill<CPersonModel>([](CPersonModel& p) {
                 p.firstName = "Dana";
                 p.lastName = "Cruz";
                 p.mayReserve = true;
             });
             CPeopleCommands(*t.doc).add(CPeople::Kind::MayReserve);
         },
         1,
         CJournalChange::kPersonAdded},
        {"change a person",
         {},
         [morgan](Journal& t) {
             t.prompt.fill<CPersonListModel>(
                 [morgan](CPersonListModel& l) { l.selected = l.lineOf(morgan); });
             t.prompt.fill<CPersonModel>([](CPersonModel& p) { p.phone = "555-0199"; });
             CPeopleCommands(*t.doc).modify(CPeople::Kind::MayReserve);
         },
         1,
         CJournalChange::kPersonChanged},
        {"delete a person",
         {},
         [](Journal& t) {
             t.prompt.answers = {true};
             t.prompt.fill<CPersonDeleteModel>([](CPersonDeleteModel& m) { m.selected = {0}; });
             CPeopleCommands(*t.doc).remove(CPeople::Kind::MayReserve);
         },
         1,
         CJournalChange::kPersonDeleted},
    };
    for (const WritePath& path : paths) {
        SCOPED_TRACE(path.name);
        fresh();
        if (path.setUp) {
            ASSERT_NO_FATAL_FAILURE(path.setUp(*this));
        }
        const std::size_t known = history().size();
        const Snapshot before = snapshot();
        ASSERT_NO_FATAL_FAILURE(path.change(*this));
        const Snapshot after = snapshot();
        const auto entries = history();
        ASSERT_EQ(entries.size(), known + path.entries);
        std::multiset<Change> recorded;
        for (std::size_t i = known; i < entries.size(); ++i) {
            EXPECT_EQ(entries[i].kind, path.kind);
            EXPECT_EQ(entries[i].user, "alice");
            EXPECT_EQ(entries[i].batch, entries[known].entry) << "one change, one batch";
            for (const CJournalRow& r : entries[i].rows)
                recorded.insert({r.table, r.before, r.after});
        }
        EXPECT_EQ(recorded, diff(before, after));
    }
}

TEST_F(Journal, HistoryLinesNameWhenWhoWhatAndTheReasonNewestFirstAndFilter) {
    doc->setChangeReason("Budget review");
    ASSERT_TRUE(book("Boardroom", at(1100, 1200)));
    const CScheduleRecord boardroom = records("Boardroom").at(0);
    doc->setChangeReason("");
    clock.setLocal(2026, 12, 9, 8, 15, 5);
    prompt.answers = {true};
    auto d = day("Boardroom");
    selectStart(d, 1100);
    d.reason = "no show"; // typed in the day list: goes with its change, and no further
    d.cancelReservation();
    Booking chen = at(1300, 1400);
    chen.person = {"Li", "", "Chen", ""};
    ASSERT_TRUE(book("Huddle", chen));
    CShowReservation detail(*doc, records("Huddle").at(0), "", "");
    detail.note = "Moved to the annex";
    detail.reason = "room moved"; // typed in the reservation detail
    ASSERT_TRUE(detail.onOk(prompt));
    EXPECT_EQ(doc->changeReason(), "");

    const auto entries = history();
    const std::string host = CJournalChange::hostName();
    std::vector<std::string> lines;
    for (const CHistoryEntry* e : CHistory::newestFirst(entries, {}))
        lines.push_back(CHistory::line(*e));
    EXPECT_EQ(lines,
              (std::vector<std::string>{
                  "     4  12/09/2026 08:15  alice@" + host +
                      "  changed  Huddle 12/08/2026 13:00-14:00 for Chen, Li  \"room moved\"",
                  "     3  12/09/2026 08:15  alice@" + host +
                      "  made  Huddle 12/08/2026 13:00-14:00 for Chen, Li",
                  "     2  12/09/2026 08:15  alice@" + host +
                      "  cancelled  Boardroom 12/08/2026 11:00-12:00 for Morgan, Alex J (Sales)"
                      "  \"no show\"",
                  "     1  12/08/2026 10:00  alice@" + host +
                      "  made  Boardroom 12/08/2026 11:00-12:00 for Morgan, Alex J (Sales)"
                      "  \"Budget review\"",
              }));
    struct Case {
        const char* name;
        std::function<void(CHistoryFilter&)> set;
        std::vector<long> shown;
    };
    const std::vector<Case> cases = {
        {"item", [](CHistoryFilter& f) { f.item = "Boardroom"; }, {2, 1}},
        {"person",
         [](CHistoryFilter& f) {
             f.person = CPeopleKey{"Li", "", "Chen", ""};
         },
         {4, 3}},
        {"kind", [](CHistoryFilter& f) { f.kind = "cancelled"; }, {2}},
        {"date range",
         [](CHistoryFilter& f) {
             f.from = {2026, 12, 9};
             f.to = {2026, 12, 9};
         },
         {4, 3, 2}},
        {"user", [](CHistoryFilter& f) { f.user = "bob"; }, {}},
    };
    // The reservation detail's History... shows that reservation's lines alone.
    const CHistoryModel ofBoardroom(*doc, boardroom);
    EXPECT_EQ(ofBoardroom.title(), "History of Boardroom 12/08/2026 11:00");
    EXPECT_EQ(ofBoardroom.lines(), std::vector<std::string>(lines.begin() + 2, lines.end()));
    for (const Case& c : cases) {
        std::vector<long> shown;
        CHistoryFilter filter;
        c.set(filter);
        for (const CHistoryEntry* e : CHistory::newestFirst(entries, filter))
            shown.push_back(e->entry);
        EXPECT_EQ(shown, c.shown) << c.name;
    }
}

TEST_F(Journal, RestoreWritesACancelledSeriesAgainAfterCompressAndRefusesATakenSlot) {
    Booking standup = weekly(900, 1000, {2026, 12, 22});
    standup.note = "Standup";
    ASSERT_TRUE(bookWith("Boardroom", standup, {"Ames"}, true));
    const auto written = records("Boardroom");
    ASSERT_EQ(written.size(), 3u);
    prompt.answers = {true, true};
    auto d = day("Boardroom");
    selectStart(d, 900);
    d.cancelReservation();
    ASSERT_TRUE(records("Boardroom").empty());
    const long cancelled = lastEntry().entry;
    doc->schedule().compress();
    doc->rosterLinks().compress();

    // A slot taken meanwhile refuses the whole restore.
    put("Boardroom", {2026, 12, 15}, 930, 1000, "Baker");
    prompt.messages.clear();
    EXPECT_FALSE(CJournalUndo(*doc).restore(cancelled));
    EXPECT_EQ(prompt.messages,
              (Messages{{"Reservation conflicts with existing reservation on 12/15/2026",
                         "Reservation Error", PromptIcon::error}}));
    EXPECT_EQ(records("Boardroom").size(), 1u);

    prompt.answers = {true};
    auto taken = day("Boardroom", {2026, 12, 15});
    selectStart(taken, 930);
    taken.cancelReservation();
    prompt.messages.clear();
    EXPECT_TRUE(CJournalUndo(*doc).restore(cancelled));
    EXPECT_TRUE(prompt.messages.empty());
    const auto back = records("Boardroom");
    ASSERT_EQ(back.size(), 3u);
    for (std::size_t i = 0; i < back.size(); ++i) {
        EXPECT_TRUE(back[i].sameSeries(written[i]));
        EXPECT_EQ(back[i].note(), "Standup");
        EXPECT_EQ(back[i].flags(), written[i].flags());
        EXPECT_EQ(links("Boardroom", back[i].date(), 9, 0), std::vector<std::string>{"Ames"});
    }
    EXPECT_EQ(lastEntry().kind, CJournalChange::kRestored);
}

TEST_F(Journal, UndoAndRedoOwnChangesAcrossARestart) {
    ASSERT_TRUE(bookWith("Boardroom", at(1100, 1200), {"Ames"}, false));
    const auto made = records("Boardroom");
    ASSERT_TRUE(book("Huddle", at(1100, 1200)));
    open(); // a restart: the stacks come from the journal
    EXPECT_TRUE(CJournalUndo(*doc).undo());
    EXPECT_TRUE(records("Huddle").empty());
    open();
    EXPECT_TRUE(CJournalUndo(*doc).undo());
    EXPECT_TRUE(records("Boardroom").empty());
    EXPECT_TRUE(links("Boardroom", {2026, 12, 8}, 11, 0).empty());
    prompt.messages.clear();
    EXPECT_FALSE(CJournalUndo(*doc).undo());
    EXPECT_EQ(prompt.messages, (Messages{{CJournalUndo::kNothingToUndo, CJournalUndo::kUndoTitle,
                                          PromptIcon::information}}));
    open();
    EXPECT_TRUE(CJournalUndo(*doc).redo());
    const auto again = records("Boardroom");
    ASSERT_EQ(again.size(), 1u);
    EXPECT_TRUE(again[0].sameReservation(made[0]));
    EXPECT_TRUE(again[0].sameStamp(made[0]));
    EXPECT_EQ(links("Boardroom", {2026, 12, 8}, 11, 0), std::vector<std::string>{"Ames"});
    // A new change of one's own ends what can be redone.
    ASSERT_TRUE(book("Huddle", at(1500, 1600)));
    prompt.messages.clear();
    EXPECT_FALSE(CJournalUndo(*doc).redo());
    EXPECT_EQ(prompt.messages, (Messages{{CJournalUndo::kNothingToRedo, CJournalUndo::kRedoTitle,
                                          PromptIcon::information}}));
}

TEST_F(Journal, UndoIsRefusedWhenAnotherUsersProcessChangedTheRecordSince) {
    ASSERT_TRUE(book("Boardroom", at(1100, 1200)));
    const CliResult other = runCli({"detail", group, "Boardroom", "2026-12-08", "11:00", "--note",
                                    "Moved", "--reason", "room moved"},
                                   dir.path(), "", [] { setenv("LOGNAME", "bob", 1); });
    ASSERT_EQ(other.exitCode, 0) << other.err;
    const CHistoryEntry bobs = lastEntry();
    ASSERT_EQ(bobs.user, "bob");
    EXPECT_EQ(bobs.reason, "room moved");
    const CliResult listed = runCli({"history", group, "--user", "bob"}, dir.path());
    EXPECT_EQ(listed.exitCode, 0) << listed.err;
    EXPECT_EQ(listed.out, CHistory::line(bobs) + "\n");
    EXPECT_NE(listed.out.find("  changed  Boardroom 12/08/2026 11:00-12:00 for Morgan, Alex J "
                              "(Sales)  \"room moved\"\n"),
              std::string::npos)
        << listed.out;
    prompt.messages.clear();
    EXPECT_FALSE(CJournalUndo(*doc).undo());
    const CDate when = CDate::fromKey(bobs.date);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%02d/%02d/%04d %.2s:%.2s", when.month, when.day, when.year,
                  bobs.time.c_str(), bobs.time.c_str() + 2);
    EXPECT_EQ(
        prompt.messages,
        (Messages{
            {"Boardroom 12/08/2026 11:00-12:00 for Morgan, Alex J (Sales) was changed by bob@" +
                 CJournalChange::hostName() + " on " + stamp + ". Nothing was changed.",
             CJournalUndo::kUndoTitle, PromptIcon::error}}));
    const auto still = records("Boardroom");
    ASSERT_EQ(still.size(), 1u);
    EXPECT_EQ(still[0].note(), "Moved");
}

TEST_F(Journal, ItemChangesAreUndoneAndRedoneWithTheReservationsTheyTook) {
    auto itemChange = [this](const std::function<bool()>& change) {
        CJournalChange journal(*doc, CJournalChange::kChanged, true);
        return change();
    };
    auto itemValues = [this](const std::string& name) {
        const int k = doc->findItem(name);
        return k < 0 ? std::string("(none)")
                     : CJournalImage::itemImage(doc->items().at(k));
    };
    // Added, changed, deleted with a reservation: undo takes each back, newest first, and redo
    // makes them again.
    ASSERT_TRUE(book("Huddle", at(1100, 1200)));
    const std::string boardroom = itemValues("Boardroom");
    ASSERT_TRUE(itemChange([this] {
        prompt.fill<CItemInfoModel>([](CItemInfoModel& m) {
            m.name = "Cart";
            m.occupancy = "4";
            m.description = "On wheels";
        });
        return CItemManager(*doc).addItem();
    }));
    ASSERT_TRUE(itemChange([this] {
        prompt.fill<CItemInfoModel>([](CItemInfoModel& m) {
            m.occupancy = "30";
            m.defaultLength = "1:30";
            m.description = "Moved to the annex";
        });
        return CItemManager(*doc).modifyItem(doc->findItem("Boardroom"));
    }));
    ASSERT_TRUE(itemChange([this] {
        prompt.answers = {true};
        return CItemManager(*doc).deleteItem(doc->findItem("Huddle"));
    }));
    const std::string cart = itemValues("Cart"), changed = itemValues("Boardroom");
    EXPECT_EQ(cart, "Cart|4|0|On wheels");
    ASSERT_TRUE(records("Huddle").empty());

    open();
    ASSERT_TRUE(CJournalUndo(*doc).undo());
    ASSERT_NE(doc->findItem("Huddle"), -1);
    EXPECT_EQ(records("Huddle").size(), 1u) << "the reservations went with the item and are back";
    ASSERT_TRUE(CJournalUndo(*doc).undo());
    EXPECT_EQ(itemValues("Boardroom"), boardroom);
    ASSERT_TRUE(CJournalUndo(*doc).undo());
    EXPECT_EQ(itemValues("Cart"), "(none)");
    open(); // what was written is in the group file, not only in this document
    EXPECT_EQ(itemValues("Cart"), "(none)");
    EXPECT_EQ(itemValues("Boardroom"), boardroom);
    ASSERT_TRUE(CJournalUndo(*doc).redo());
    EXPECT_EQ(itemValues("Cart"), cart);
    ASSERT_TRUE(CJournalUndo(*doc).redo());
    EXPECT_EQ(itemValues("Boardroom"), changed);

    // Another user's reservation in the added item since: taking the item back is refused.
    const CliResult other =
        runCli({"reserve", group, "Cart", "2026-12-08", "09:00", "10:00", "--person",
                "Morgan|Alex|J|Sales"},
               dir.path(), "", [] { setenv("LOGNAME", "bob", 1); });
    ASSERT_EQ(other.exitCode, 0) << other.err;
    ASSERT_TRUE(CJournalUndo(*doc).undo()); // the change of Boardroom again
    prompt.messages.clear();
    EXPECT_FALSE(CJournalUndo(*doc).undo());
    EXPECT_EQ(prompt.messages,
              (Messages{{doc->kindUpper() + " Cart has reservations now. Nothing was changed.",
                         CJournalUndo::kUndoTitle, PromptIcon::error}}));
    EXPECT_EQ(itemValues("Cart"), cart);
    EXPECT_EQ(records("Cart").size(), 1u);
}

} // namespace
} // namespace orv::test

namespace orv::test {
namespace {

TEST_F(Journal, DeletingOldReservationsFromTheCommandLineIsRecorded) {
    ASSERT_TRUE(book("Boardroom", at(1100, 1200)));
    const CliResult r = runCli(
        {"delete-old", group, "2026-12-09", "--yes", "--reason", "year end"}, dir.path());
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "1\n");
    const CHistoryEntry e = lastEntry();
    EXPECT_EQ(e.kind, CJournalChange::kDeletedOld);
    EXPECT_EQ(e.reason, "year end");
    EXPECT_EQ(CJournalImage::itemName(e.record().before), "Boardroom");
}

TEST_F(Journal, CompressKeepsTheHistoryForItsDaysAndItemChangesAndMergedJournalsAreKept) {
    struct Case {
        const char* name;
        std::optional<int> keepDays;
        std::vector<long> kept;
    };
    const std::vector<Case> cases = {
        {"a year unless set", std::nullopt, {2}},
        {"0 keeps everything", 0, {1, 2}},
        {"ten days", 10, {2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        clock.setLocal(2026, 12, 8, 10, 0);
        fresh();
        if (c.keepDays) settings.writeInt("History", "KeepDays", *c.keepDays);
        ASSERT_TRUE(book("Boardroom", at(1100, 1200)));
        clock.setLocal(2027, 12, 20, 9, 0); // 377 days on
        ASSERT_TRUE(book("Huddle", at(1100, 1200)));
        prompt.answers = {true};
        EXPECT_EQ(CCompressDatabases(*doc).run(), CCompressDatabases::Outcome::compressed);
        std::vector<long> kept;
        for (const CHistoryEntry& e : history())
            kept.push_back(e.entry);
        EXPECT_EQ(kept, c.kept);
        settings.writeInt("History", "KeepDays", CJournal::kDefaultKeepDays);
    }

    // An item added and one deleted, as the group window records the item commands.
    {
        CJournalChange change(*doc, CJournalChange::kChanged, true);
        prompt.fill<CItemInfoModel>([](CItemInfoModel& m) { m.name = "Cart"; });
        ASSERT_TRUE(CItemManager(*doc).addItem());
        prompt.answers = {true};
        ASSERT_TRUE(CItemManager(*doc).deleteItem(doc->findItem("Huddle")));
    }
    std::vector<std::string> kinds;
    for (const CHistoryEntry& e : history())
        kinds.push_back(e.kind + " " + CHistory::describe(e));
    EXPECT_EQ(std::vector<std::string>(kinds.end() - 2, kinds.end()),
              (std::vector<std::string>{"item deleted Huddle", "item added Cart"}));

    // A merge carries the other group's journal over, numbered after this one's.
    const long before = history().back().entry;
    const std::string annex = dir.file("Annex.sch");
    createGroup(annex);
    {
        ScriptedPrompt p;
        CMemorySettings s;
        CORVSchedDoc other(p, s);
        ASSERT_TRUE(other.openGroup(annex));
        CJournalChange change(other);
        addPerson(other.people(), {"Dana", "", "Cruz", ""}, 2);
    }
    ASSERT_EQ(doc->journal().appendFrom(annex), 0);
    const CHistoryEntry carried = history().back();
    EXPECT_EQ(carried.entry, before + 1);
    EXPECT_EQ(carried.kind, CJournalChange::kPersonAdded);
}

} // namespace
} // namespace orv::test
