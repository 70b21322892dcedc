// Blockouts: what one OK writes, what stops it, the removal list and its two buttons, and the
// main view of today following at once, here and at another user's.
#include "ReservationFixture.h"
#include "common/FaultFs.h"
#include "reservations/CBlockoutModel.h"
#include "reservations/CRemoveBlockoutModel.h"
#include "tables/TableTestSupport.h"

namespace orv::test {
namespace {

using D = CDate;

class Blockout : public ReservationFixture {
protected:
    // A reservation (or, with `flags` 129, a blockout) written straight into the table.
    void put(const std::string& itemName, D date, int start, int end, int flags = 0) {
        ReservationFixture::put(itemName, date, start, end, flags ? "Out" : "Ames", 0, {}, 0,
                                flags);
    }
    // One OK of the dialog on these values; the dialog's result.
    bool block(D date, int start, int end, std::set<int> selected = {}) {
        CBlockoutModel b(*doc);
        b.date = date;
        b.startHour = start / 100;
        b.startMinute = start % 100;
        b.endHour = end / 100;
        b.endMinute = end % 100;
        b.selected = std::move(selected);
        return b.block();
    }
    std::vector<std::string> blockoutsOf(const std::string& itemName, D date) {
        std::vector<std::string> out;
        for (const CScheduleRecord& r : records(itemName, date, 1))
            if (r.isBlockout()) out.push_back(CRemoveBlockoutModel::lineFor(r));
        return out;
    }
};

TEST_F(Blockout, OneOkWritesOneBlockoutRecordPerItemAndOpensOnTomorrow) {
    clock.setLocal(2026, 12, 8, 10, 7, 42);
    CBlockoutModel opened(*doc);
    EXPECT_EQ(opened.date, D(2026, 12, 9));
    EXPECT_EQ(opened.startHour * 100 + opened.startMinute, 0);
    EXPECT_EQ(opened.endHour * 100 + opened.endMinute, 2359);
    EXPECT_EQ(opened.itemNames(), (std::vector<std::string>{"Boardroom", "Huddle"}));

    ASSERT_TRUE(block({2026, 12, 9}, 1000, 1200));
    EXPECT_EQ(prompt.messages, Messages{info(CBlockoutModel::kBlocked, "Blockout Sucessful")});
    // The records as stored.
    const std::string dbf = dir.file("RoomSched.dbf");
    for (auto [record, item] : {std::pair{1L, "Boardroom"}, std::pair{2L, "Huddle"}})
        EXPECT_EQ(recordBytes(dbf, record),
                  " 20261209" + padded(item, 20) + "10001200" + padded("Out", 21) +
                      padded("Blocked", 16) + padded("", 12) + padded("Blocked Out", 80) +
                      "202612081007" + "000" + "00129" + "00000000" + padded("", 8));
}

TEST_F(Blockout, TheOverlapScanCountsOnlyTheChosenItemsAndTouchingSpansPass) {
    const D date{2026, 12, 10};
    struct Existing {
        const char* item;
        int start, end, flags;
    };
    struct Case {
        const char* what;
        std::vector<Existing> existing; // on `date`
        int start, end;
        std::set<int> selected;
        const char* refusal; // null: blocked
    } cases[] = {
        {"ends where a reservation starts",
         {{"Boardroom", 1200, 1300, 0}},
         1000,
         1200,
         {0},
         nullptr},
        {"starts where a reservation ends",
         {{"Boardroom", 800, 1000, 0}},
         1000,
         1200,
         {0},
         nullptr},
        {"one minute of overlap",
         {{"Boardroom", 1159, 1300, 0}},
         1000,
         1200,
         {0},
         CBlockoutModel::kOverlap},
        {"overlap on an item not selected", {{"Huddle", 1100, 1130, 0}}, 1000, 1200, {0}, nullptr},
        {"overlap on an item, none selected",
         {{"Huddle", 1100, 1130, 0}},
         1000,
         1200,
         {},
         CBlockoutModel::kOverlap},
        {"an existing blockout overlaps",
         {{"Huddle", 1130, 1400, 129}},
         1000,
         1200,
         {1},
         CBlockoutModel::kOverlap},
        {"only the next date has reservations", {}, 1000, 1200, {}, nullptr},
        {"start equals end", {}, 900, 900, {}, CBlockoutModel::kEndNotAfterStart},
        {"end at midnight", {}, 900, 0, {}, CBlockoutModel::kEndNotAfterStart},
    };
    const char* const names[] = {"Boardroom", "Huddle"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fresh();
        for (const Existing& e : c.existing)
            put(e.item, date, e.start, e.end, e.flags);
        put("Boardroom", date.addDays(1), 1000, 1200);
        EXPECT_EQ(block(date, c.start, c.end, c.selected), c.refusal == nullptr);
        ASSERT_EQ(prompt.messages.size(), 1u);
        EXPECT_EQ(prompt.messages[0], c.refusal
                                          ? error(c.refusal, "Blockout Error")
                                          : info(CBlockoutModel::kBlocked, "Blockout Sucessful"));
        for (int i = 0; i < 2; ++i) {
            std::size_t had = 0;
            for (const Existing& e : c.existing)
                had += (e.item == std::string(names[i]) && e.flags) ? 1 : 0;
            const bool target = !c.refusal && (c.selected.empty() || c.selected.count(i));
            EXPECT_EQ(blockoutsOf(names[i], date).size(), had + (target ? 1 : 0)) << names[i];
        }
    }
}

TEST_F(Blockout, TheRemovalListHoldsOnlyBlockoutsAndItsButtonsReportWhatWasRemoved) {
    const D date{2026, 12, 11};
    put("Boardroom", date, 800, 900);
    put("Boardroom", date, 1300, 1400, 129);
    put("Huddle", date, 1000, 1200, 129);
    put("Huddle", date, 1400, 1500);
    put("Huddle", date, 1530, 1600, 129);

    CRemoveBlockoutModel empty(*doc, {2026, 12, 12});
    EXPECT_TRUE(empty.lines().empty());
    EXPECT_FALSE(empty.removeSelectedEnabled());
    EXPECT_FALSE(empty.removeSelected());
    EXPECT_EQ(prompt.messages,
              Messages{error(CRemoveBlockoutModel::kSelectFirst, "Selection Error")});

    prompt.messages.clear();
    CRemoveBlockoutModel removal(*doc);
    EXPECT_EQ(removal.date(), D(2026, 12, 9)) << "opens on tomorrow";
    removal.setDate(date);
    EXPECT_TRUE(removal.removeSelectedEnabled());
    EXPECT_EQ(removal.lines(),
              (std::vector<std::string>{"13:00  -  14:00   Boardroom ", "10:00  -  12:00   Huddle ",
                                        "15:30  -  16:00   Huddle "}));
    removal.selected = {2, 0};
    EXPECT_TRUE(removal.removeSelected());
    EXPECT_EQ(removal.lines(), (std::vector<std::string>{"10:00  -  12:00   Huddle "}));
    EXPECT_TRUE(removal.selected.empty());
    EXPECT_EQ(blockoutsOf("Boardroom", date), std::vector<std::string>{});
    EXPECT_EQ(blockoutsOf("Huddle", date), (std::vector<std::string>{"10:00  -  12:00   Huddle "}));

    EXPECT_TRUE(removal.removeAll());
    EXPECT_TRUE(removal.lines().empty());
    EXPECT_EQ(prompt.messages,
              (Messages{info(CRemoveBlockoutModel::kSelectedRemoved, "Removal Results"),
                        info(CRemoveBlockoutModel::kAllRemoved, "Removal Results")}));
    EXPECT_EQ(slots("Boardroom", date, 1), (std::vector<Slot>{{date, 800, 900}}));
    EXPECT_EQ(slots("Huddle", date, 1), (std::vector<Slot>{{date, 1400, 1500}}))
        << "reservations stay";
}

TEST_F(Blockout, ARemovalThatCannotBeWrittenIsNotReportedAsDone) {
    const D date{2026, 12, 11};
    put("Boardroom", date, 1300, 1400, 129);
    put("Huddle", date, 1000, 1200, 129);
    CRemoveBlockoutModel removal(*doc, date);
    ASSERT_EQ(removal.lines().size(), 2u);

    // Another user holds the lock of the Huddle blockout.
    Code4 otherCode;
    code4init(&otherCode);
    otherCode.silentErrors = 1;
    CSchedule other(otherCode);
    ASSERT_EQ(other.open(group), 0);
    ASSERT_EQ(other.seek(date.key(), "Huddle", "10", "00"), 0);
    ASSERT_EQ(other.relockCurrent(), 0);
    doc->code().lockRetries = 1;

    EXPECT_FALSE(removal.removeAll());
    EXPECT_EQ(prompt.messages,
              Messages{error(CRemoveBlockoutModel::kNotAllRemoved, "Removal Results")});
    EXPECT_EQ(blockoutsOf("Boardroom", date), std::vector<std::string>{});
    EXPECT_EQ(blockoutsOf("Huddle", date), (std::vector<std::string>{"10:00  -  12:00   Huddle "}))
        << "left in place";
    EXPECT_EQ(doc->code().errorCode, 0);
    other.unlock();
    other.close();
    code4initUndo(&otherCode);
}

TEST_F(Blockout, NothingIsBlockedWhileAnotherUserHoldsTheTable) {
    Code4 otherCode;
    code4init(&otherCode);
    otherCode.silentErrors = 1;
    CSchedule other(otherCode);
    ASSERT_EQ(other.open(group), 0);
    ASSERT_EQ(other.lockAll(), 0);
    doc->code().lockRetries = 1;

    EXPECT_FALSE(block({2026, 12, 10}, 1000, 1200));
    EXPECT_EQ(prompt.messages, Messages{error(CBlockoutModel::kNotChecked, "Blockout Error")});
    EXPECT_TRUE(records("Boardroom", {2026, 12, 10}, 1).empty());
    EXPECT_TRUE(records("Huddle", {2026, 12, 10}, 1).empty());
    EXPECT_EQ(doc->code().errorCode, 0);
    other.unlock();
    other.close();
    code4initUndo(&otherCode);
}

// Another user tries to book the second item each time the blockout lets go of a lock.
class LetInAtUnlockFs : public FaultFs {
public:
    std::function<void()> afterUnlock;
    int lockRange(int fd, std::int64_t start, std::int64_t length, Lock4Kind kind) override {
        const int rc = FaultFs::lockRange(fd, start, length, kind);
        if (kind == Lock4Kind::unlock && afterUnlock) afterUnlock();
        return rc;
    }
};

TEST_F(Blockout, NoOtherUserBooksAnItemBetweenTheAppendsOfOneBlockout) {
    LetInAtUnlockFs fs;
    doc.reset();
    doc = std::make_unique<CORVSchedDoc>(prompt, settings);
    doc->code().fs = &fs;
    ASSERT_TRUE(doc->openGroup(group));
    ScriptedPrompt otherPrompt;
    CORVSchedDoc other(otherPrompt, settings);
    ASSERT_TRUE(other.openGroup(group));
    other.code().lockRetries = 1;
    bool booked = false;
    fs.afterUnlock = [&] {
        if (booked) return;
        otherPrompt.fill<CAddReservation>([](CAddReservation& r) {
            r.date = {2026, 12, 10};
            r.setStartTime(11, 0);
            r.setEndTime(12, 0);
            r.selectedPerson = r.personLine({"Li", "", "Chen", ""});
        });
        CItemDayModel huddle(other, other.findItem("Huddle"), {2026, 12, 10});
        huddle.makeReservation();
        booked = !huddle.lastWritten().empty();
    };
    const bool blocked = block({2026, 12, 10}, 1000, 1200);
    fs.afterUnlock = nullptr;
    EXPECT_TRUE(blocked);
    EXPECT_FALSE(booked) << "the booking came between two appends of the blockout";
    EXPECT_EQ(slots("Huddle", {2026, 12, 10}, 1),
              (std::vector<Slot>{{{2026, 12, 10}, 1000, 1200}}));
    doc.reset();
}

TEST_F(Blockout, ABlockoutOfTodayShowsInTheMainViewHereAndAtOtherUsersAtOnce) {
    ScriptedPrompt otherPrompt;
    CORVSchedDoc other(otherPrompt, settings);
    ASSERT_TRUE(other.openGroup(group));
    CDocSettings refresh;
    refresh.refresh = 1;
    other.setSettings(refresh);
    ASSERT_FALSE(other.changedByOthers());
    const int huddle = item("Huddle");

    clock.advance(20);
    ASSERT_TRUE(block({2026, 12, 8}, 930, 1100, {1}));
    ASSERT_EQ(doc->todaysList().size(), 1u);
    EXPECT_EQ(doc->todaysList()[0].blockedOut, 1);
    EXPECT_TRUE(doc->items().at(huddle).inUse());
    EXPECT_EQ(doc->items().at(huddle).currentUse(), "Blocked Out");
    EXPECT_TRUE(other.changedByOthers());

    clock.advance(20);
    CRemoveBlockoutModel removal(*doc, {2026, 12, 8});
    EXPECT_TRUE(removal.removeAll());
    EXPECT_TRUE(doc->todaysList().empty());
    EXPECT_FALSE(doc->items().at(huddle).inUse());
    EXPECT_TRUE(other.changedByOthers());
}

} // namespace
} // namespace orv::test
