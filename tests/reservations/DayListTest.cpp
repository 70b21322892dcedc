// An item's day list and its actions: the list lines, cancel with the rest of a series (end date
// and miss rule, weekdays, overnight), terminate, show and change, and every refusal.
#include "ReservationFixture.h"
#include "reservations/CCancelRangeModel.h"

namespace orv::test {
namespace {

using D = CDate;

class DayList : public ReservationFixture {
protected:
    // A record written straight into the table: another user's, or one of an older program.
    std::vector<CDate> datesOf(const std::string& itemName) {
        std::vector<CDate> out;
        for (const Slot& s : slots(itemName))
            out.push_back(s.date);
        return out;
    }
    // Cancels the line starting at `start` on `date`, answering the questions in order.
    void cancel(const std::string& itemName, D date, int start, std::deque<bool> answers) {
        CItemDayModel d = day(itemName, date);
        d.select(d.lineStartingAt(start));
        prompt.answers = std::move(answers);
        d.cancelReservation();
    }
};

TEST_F(DayList, LinesShowTimesInTheTwelveHourFormAndWhoHasTheItem) {
    put("Boardroom", {2026, 12, 8}, 15, 1200, "Morgan", 0, {}, 0, 0, "Projector");
    put("Boardroom", {2026, 12, 8}, 1305, 1400, "Chen");
    put("Boardroom", {2026, 12, 8}, 1500, 1600, "Out", 0, {}, 0, 129, "Blocked Out");
    put("Huddle", {2026, 12, 8}, 900, 1000, "Ames");
    CItemDayModel d = day("Boardroom");
    EXPECT_EQ(d.title(), "Reservations for Boardroom");
    EXPECT_EQ(d.occupancyText(), "Occupancy : 12");
    EXPECT_EQ(d.lines(), (std::vector<std::string>{"00:15 AM   12:00 PM   Morgan, Pat     (Note)",
                                                   "01:05 PM   02:00 PM   Chen, Pat     ",
                                                   "03:00 PM   04:00 PM   *Blocked Out*"}));
    EXPECT_EQ(d.dayStarts(), (std::vector<int>{15, 1305, 1500}));
    EXPECT_EQ(d.dayEnds(), (std::vector<int>{1200, 1400, 1600}));
    d.setDate({2026, 12, 9});
    EXPECT_TRUE(d.lines().empty());
}

TEST_F(DayList, ActionsWithoutASelectionAreRefused) {
    put("Boardroom", {2026, 12, 8}, 900, 1000, "Chen");
    put("Boardroom", {2026, 12, 8}, 1100, 1200, "Ames");
    CItemDayModel d = day("Boardroom");
    d.cancelReservation();
    d.terminateReservation();
    d.showReservation();
    CItemDayModel empty = day("Huddle");
    empty.showReservation();
    EXPECT_EQ(prompt.messages, (Messages{error(CItemDayModel::kSelectToCancel, "Error"),
                                         error(CItemDayModel::kSelectToTerminate, "Error"),
                                         error(CItemDayModel::kSelectToView, "Error"),
                                         error(CItemDayModel::kSelectToView, "Error")}));
    EXPECT_EQ(slots("Boardroom").size(), 2u);
}

struct SeriesCancel {
    const char* name;
    std::vector<D> members; // dates of the series, in order
    int code;
    D recurEnd; // not set: the miss rule
    D cancelled;
    std::vector<D> left;
};

TEST_F(DayList, CancellingTheRestOfASeriesFollowsItsEndOrTheMissRule) {
    const SeriesCancel cases[] = {
        {"daily: the second and the rest",
         {{2026, 12, 9}, {2026, 12, 10}, {2026, 12, 11}, {2026, 12, 12}},
         1,
         {2026, 12, 12},
         {2026, 12, 10},
         {{2026, 12, 9}}},
        {"weekdays from a Friday go on on Monday",
         {{2026, 12, 10}, {2026, 12, 11}, {2026, 12, 14}, {2026, 12, 15}},
         3,
         {2026, 12, 15},
         {2026, 12, 10},
         {}},
        {"weekly",
         {{2026, 12, 9}, {2026, 12, 16}, {2026, 12, 23}},
         7,
         {2026, 12, 23},
         {2026, 12, 16},
         {{2026, 12, 9}}},
        {"no end date: gaps of five are crossed, six end it",
         {{2026, 12, 1}, {2026, 12, 2}, {2026, 12, 8}, {2026, 12, 15}},
         1,
         {},
         {2026, 12, 1},
         {{2026, 12, 15}}},
    };
    for (const SeriesCancel& c : cases) {
        SCOPED_TRACE(c.name);
        fresh();
        for (D m : c.members)
            put("Boardroom", m, 900, 1000, "Chen", c.code, c.recurEnd);
        // The same item and start, made by another OK: never part of the series.
        put("Boardroom", {2026, 12, 13}, 900, 1000, "Ames", c.code, {}, 33);
        cancel("Boardroom", c.cancelled, 900, {true, true});
        std::vector<D> left = c.left;
        left.push_back({2026, 12, 13});
        std::sort(left.begin(), left.end());
        EXPECT_EQ(datesOf("Boardroom"), left);
        EXPECT_EQ(prompt.messages,
                  (Messages{question(CItemDayModel::kConfirmCancel, "Confirm Cancel"),
                            question(CItemDayModel::kSeriesQuestion, "Recurring Reservation")}));
    }
}

TEST_F(DayList, AnOvernightSpanLosesItsFollowingDaysWithoutAQuestion) {
    for (int d = 14; d <= 17; ++d)
        put("Boardroom", {2026, 12, d}, d == 14 ? 1800 : 0, d == 17 ? 800 : 2359, "Chen", 9,
            {2026, 12, 17});
    cancel("Boardroom", {2026, 12, 15}, 0, {true});
    EXPECT_EQ(datesOf("Boardroom"), (std::vector<D>{{2026, 12, 14}}));
    EXPECT_EQ(prompt.messages,
              (Messages{question(CItemDayModel::kConfirmCancel, "Confirm Cancel")}));
}

TEST_F(DayList, NoAnswerOrANoKeepsTheSeries) {
    for (int d = 9; d <= 11; ++d)
        put("Boardroom", {2026, 12, d}, 900, 1000, "Chen", 1, {2026, 12, 11});
    cancel("Boardroom", {2026, 12, 9}, 900, {false});
    EXPECT_EQ(datesOf("Boardroom").size(), 3u);
    cancel("Boardroom", {2026, 12, 9}, 900, {true, false});
    EXPECT_EQ(datesOf("Boardroom"), (std::vector<D>{{2026, 12, 10}, {2026, 12, 11}}));
}

TEST_F(DayList, CancelWithAnAttendeeListDeletesItsLinksOnly) {
    Booking b;
    b.sh = 9;
    b.eh = 10;
    ASSERT_TRUE(bookWith("Boardroom", b, {"Ames"}, false));
    b.sh = 10;
    b.sm = 1;
    b.eh = 11;
    b.em = 0;
    ASSERT_TRUE(bookWith("Boardroom", b, {"Baker"}, false));
    cancel("Boardroom", {2026, 12, 8}, 900, {true});
    EXPECT_EQ(links("Boardroom", {2026, 12, 8}, 9, 0), std::vector<std::string>{});
    EXPECT_EQ(links("Boardroom", {2026, 12, 8}, 10, 1), std::vector<std::string>{"Baker"});
    EXPECT_EQ(doc->todaysList().size(), 1u) << "today's list follows the cancel";
}

TEST_F(DayList, TerminateEndsTheRunningReservationAtThisMinute) {
    put("Boardroom", {2026, 12, 8}, 1000, 1100, "Chen");
    put("Boardroom", {2026, 12, 8}, 1200, 1300, "Ames");
    put("Boardroom", {2026, 12, 9}, 1000, 1100, "Ames");
    clock.setLocal(2026, 12, 8, 10, 37);
    CItemDayModel d = day("Boardroom");
    d.select(1);
    prompt.answers = {true, true};
    d.terminateReservation();
    EXPECT_EQ(prompt.messages.back(),
              error(CItemDayModel::kOnlyActive, "Cannot Terminate This Reservation"));
    d.select(0);
    d.terminateReservation();
    EXPECT_EQ(slots("Boardroom", {2026, 12, 8}, 1),
              (std::vector<Slot>{{{2026, 12, 8}, 1000, 1037}, {{2026, 12, 8}, 1200, 1300}}));
    EXPECT_TRUE(d.changed());
    CItemDayModel other = day("Boardroom", {2026, 12, 9});
    other.select(0);
    prompt.messages.clear();
    other.terminateReservation();
    EXPECT_EQ(prompt.messages,
              (Messages{error(CItemDayModel::kOnlyActive, "Cannot Terminate This Reservation")}));
}

TEST_F(DayList, TerminatingTheFirstDayOfAnOvernightSpanDropsTheRest) {
    put("Boardroom", {2026, 12, 8}, 800, 2359, "Chen", 9, {2026, 12, 10});
    put("Boardroom", {2026, 12, 9}, 0, 2359, "Chen", 9, {2026, 12, 10});
    put("Boardroom", {2026, 12, 10}, 0, 900, "Chen", 9, {2026, 12, 10});
    CItemDayModel d = day("Boardroom");
    d.select(0);
    prompt.answers = {true};
    d.terminateReservation();
    EXPECT_EQ(slots("Boardroom"), (std::vector<Slot>{{{2026, 12, 8}, 800, 1000}}));
}

TEST_F(DayList, ShowWithOneLineNeedsNoSelectionAndTellsWhenThePersonIsGone) {
    put("Boardroom", {2026, 12, 8}, 900, 1000, "Gone");
    std::string reservedFor, dateText, start;
    prompt.dialogSteps.push_back([&](CDialogModel& m) {
        auto& s = dynamic_cast<CShowReservation&>(m);
        reservedFor = s.reservedFor();
        dateText = s.dateText();
        start = s.startText();
        return false;
    });
    CItemDayModel d = day("Boardroom");
    d.showReservation();
    EXPECT_EQ(prompt.messages, (Messages{error(CItemDayModel::kPersonGone, "Database Error")}));
    EXPECT_EQ(reservedFor, "Gone, Pat ");
    EXPECT_EQ(dateText, "Tuesday, December 08, 2026");
    EXPECT_EQ(start, "09:00 AM");
}

TEST_F(DayList, ANoteChangeReachesTheLaterMembersOfTheSeries) {
    for (int d : {9, 16, 23, 30})
        put("Boardroom", {2026, 12, d}, 900, 1000, "Chen", 7, {2026, 12, 30}, 0, 0, "old");
    prompt.fill<CShowReservation>([](CShowReservation& s) {
        EXPECT_EQ(s.recurringText(), CShowReservation::kRecurringNotice);
        s.note = "new";
    });
    CItemDayModel d = day("Boardroom", {2026, 12, 16});
    d.select(0);
    d.showReservation();
    std::vector<std::string> notes;
    for (const CScheduleRecord& r : records("Boardroom"))
        notes.push_back(r.note());
    EXPECT_EQ(notes, (std::vector<std::string>{"old", "new", "new", "new"}));
    EXPECT_EQ(d.lines().front(), "09:00 AM   10:00 AM   Chen, Pat     (Note)");
}

TEST_F(DayList, AttendeesChosenInTheDetailAreLinkedOnceAndSetTheFlag) {
    put("Boardroom", {2026, 12, 9}, 900, 1000, "Chen", 1, {2026, 12, 10});
    put("Boardroom", {2026, 12, 10}, 900, 1000, "Chen", 1, {2026, 12, 10});
    auto detail = [&](std::vector<std::string> people, bool later) {
        prompt.fill<CShowReservation>([](CShowReservation& s) { s.viewAttendees = true; });
        scriptRoster(std::move(people), later);
        CItemDayModel d = day("Boardroom", {2026, 12, 9});
        d.select(0);
        d.showReservation();
    };
    detail({"Ames", "Morgan"}, false);
    EXPECT_EQ(links("Boardroom", {2026, 12, 9}, 9, 0),
              (std::vector<std::string>{"Ames", "Morgan"}));
    EXPECT_EQ(links("Boardroom", {2026, 12, 10}, 9, 0), std::vector<std::string>{});
    // Every member written gets the flag; only the links stay with the shown one.
    EXPECT_TRUE(records("Boardroom").front().hasAttendees());
    EXPECT_TRUE(records("Boardroom").back().hasAttendees());
    // Nobody new on the left for those linked; carried along, nobody twice.
    detail({"Baker"}, true);
    EXPECT_EQ(links("Boardroom", {2026, 12, 9}, 9, 0),
              (std::vector<std::string>{"Ames", "Morgan", "Baker"}));
    EXPECT_EQ(links("Boardroom", {2026, 12, 10}, 9, 0), std::vector<std::string>{"Baker"});
}

TEST_F(DayList, MovingAPersonOverAndBackLeavesNothingToWrite) {
    put("Boardroom", {2026, 12, 9}, 900, 1000, "Chen");
    CRosterModel roster(*doc, CRosterModel::Mode::Existing, false, {2026, 12, 9}, 9, 0, 10, 0,
                        "Boardroom");
    ASSERT_EQ(roster.allAttendees().front().text, "<Add a new person>");
    EXPECT_EQ(roster.allAttendees().size(), 4u);
    roster.moveRight({0 + 1, 2});
    EXPECT_EQ(roster.allAttendees().front().text, "<Add a new person>");
    EXPECT_EQ(doc->attendees().toAdd().size(), 2u);
    roster.moveLeft({0, 1});
    EXPECT_TRUE(doc->attendees().toAdd().empty());
    EXPECT_TRUE(doc->attendees().toRemove().empty());
    EXPECT_EQ(roster.allAttendees().size(), 4u);
    EXPECT_TRUE(roster.attending().empty());
}

TEST_F(DayList, AnActionOnARecordReplacedMeanwhileWritesNothing) {
    put("Boardroom", {2026, 12, 8}, 900, 1000, "Chen");
    CItemDayModel d = day("Boardroom");
    // Another user cancels it and books the same start for someone else.
    CSchedule& s = doc->schedule();
    ASSERT_EQ(s.seek("20261208", "Boardroom", "09", "00"), 0);
    ASSERT_EQ(s.deleteCurrent(), 0);
    put("Boardroom", {2026, 12, 8}, 900, 1030, "Ames", 0, {}, 41);
    d.select(0);
    prompt.answers = {true};
    d.cancelReservation();
    EXPECT_EQ(prompt.messages, (Messages{question(CItemDayModel::kConfirmCancel, "Confirm Cancel"),
                                         error(CItemDayModel::kNotDeleted, "Database Error")}));
    EXPECT_EQ(d.lines(), (std::vector<std::string>{"09:00 AM   10:30 AM   Ames, Pat     "}))
        << "the list was reloaded";
    EXPECT_EQ(slots("Boardroom", {2026, 12, 8}, 1),
              (std::vector<Slot>{{{2026, 12, 8}, 900, 1030}}));
}

TEST_F(DayList, CancellingPartOfASeriesKeepsTheMembersOutsideTheRangeAndTheirLinks) {
    Booking b;
    b.date = {2026, 12, 9};
    b.sh = 9;
    b.eh = 10;
    b.code = CAddReservation::kDaily;
    b.until = {2026, 12, 16};
    ASSERT_TRUE(bookWith("Boardroom", b, {"Ames"}, true));
    clock.advance(5);
    b.code = CAddReservation::kNone;
    ASSERT_TRUE(book("Huddle", b)); // another item: never part of it
    CItemDayModel d = day("Boardroom", {2026, 12, 10});
    d.select(0);
    prompt.fill<CCancelRangeModel>([](CCancelRangeModel& r) {
        EXPECT_EQ(r.from, (D{2026, 12, 10}));
        EXPECT_EQ(r.to, (D{2026, 12, 16}));
        r.from = {2026, 12, 11};
        r.to = {2026, 12, 13};
    });
    prompt.answers = {true};
    d.cancelPartOfSeries();
    EXPECT_EQ(prompt.messages,
              (Messages{question(
                  "Are you sure you want to cancel the members of this series from 12/11/2026 to "
                  "12/13/2026?",
                  "Confirm Cancel")}));
    EXPECT_EQ(datesOf("Boardroom"),
              (std::vector<D>{
                  {2026, 12, 9}, {2026, 12, 10}, {2026, 12, 14}, {2026, 12, 15}, {2026, 12, 16}}));
    for (int day : {9, 10, 14, 16})
        EXPECT_EQ(links("Boardroom", {2026, 12, day}, 9, 0), std::vector<std::string>{"Ames"});
    EXPECT_EQ(links("Boardroom", {2026, 12, 12}, 9, 0), std::vector<std::string>{});
    EXPECT_EQ(datesOf("Huddle"), (std::vector<D>{{2026, 12, 9}}));
}

} // namespace
} // namespace orv::test
