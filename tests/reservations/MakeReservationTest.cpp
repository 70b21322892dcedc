// Making reservations and series: the dates each recurrence writes, the midnight rule, the
// refusals that keep the dialog open, conflicts in a series, the undo of an overnight span, the
// shared creation stamp and the attendee links written along a series.
#include "ReservationFixture.h"

#include <cstdlib>
#include <ctime>

namespace orv::test {
namespace {

using D = CDate;
constexpr int kNone = CAddReservation::kNone;
constexpr int kDaily = CAddReservation::kDaily;
constexpr int kWeekdays = CAddReservation::kWeekdays;
constexpr int kWeekly = CAddReservation::kWeekly;
constexpr int kOvernight = CAddReservation::kOvernight;

class MakeReservation : public ReservationFixture {};

struct SeriesCase {
    const char* name;
    Booking booking;
    std::vector<Slot> written;
};

Booking series(D date, int sh, int sm, int eh, int em, int code, D until) {
    Booking b;
    b.date = date;
    b.sh = sh;
    b.sm = sm;
    b.eh = eh;
    b.em = em;
    b.code = code;
    b.until = until;
    return b;
}

TEST_F(MakeReservation, EachRecurrenceWritesItsDatesWithOneStamp) {
    const SeriesCase cases[] = {
        {"ending at midnight",
         series({2026, 12, 9}, 22, 0, 0, 0, kNone, {2026, 12, 9}),
         {{{2026, 12, 9}, 2200, 2359}}},
        {"daily to the 15th ending at midnight stops on the 14th",
         series({2026, 12, 10}, 20, 0, 0, 0, kDaily, {2026, 12, 15}),
         {{{2026, 12, 10}, 2000, 2359},
          {{2026, 12, 11}, 2000, 2359},
          {{2026, 12, 12}, 2000, 2359},
          {{2026, 12, 13}, 2000, 2359},
          {{2026, 12, 14}, 2000, 2359}}},
        {"weekdays from a Saturday start on Monday",
         series({2026, 12, 12}, 9, 0, 10, 0, kWeekdays, {2026, 12, 16}),
         {{{2026, 12, 14}, 900, 1000}, {{2026, 12, 15}, 900, 1000}, {{2026, 12, 16}, 900, 1000}}},
        {"weekly with the last date six days on writes the date only",
         series({2026, 12, 9}, 9, 0, 10, 0, kWeekly, {2026, 12, 15}),
         {{{2026, 12, 9}, 900, 1000}}},
        {"weekly",
         series({2026, 12, 9}, 9, 0, 10, 0, kWeekly, {2026, 12, 23}),
         {{{2026, 12, 9}, 900, 1000}, {{2026, 12, 16}, 900, 1000}, {{2026, 12, 23}, 900, 1000}}},
        {"overnight Monday 18:00 to Wednesday 08:00",
         series({2026, 12, 14}, 18, 0, 8, 0, kOvernight, {2026, 12, 16}),
         {{{2026, 12, 14}, 1800, 2359}, {{2026, 12, 15}, 0, 2359}, {{2026, 12, 16}, 0, 800}}},
        {"overnight on one date",
         series({2026, 12, 9}, 8, 0, 17, 0, kOvernight, {2026, 12, 9}),
         {{{2026, 12, 9}, 800, 1700}}},
        {"daily with the last date equal to the date",
         series({2026, 12, 9}, 9, 0, 10, 0, kDaily, {2026, 12, 9}),
         {{{2026, 12, 9}, 900, 1000}}},
    };
    for (const SeriesCase& c : cases) {
        SCOPED_TRACE(c.name);
        fresh();
        EXPECT_TRUE(book("Boardroom", c.booking));
        EXPECT_EQ(prompt.messages, Messages{});
        EXPECT_EQ(slots("Boardroom"), c.written);
        const std::vector<CScheduleRecord> written = records("Boardroom");
        for (const CScheduleRecord& r : written) {
            EXPECT_TRUE(r.sameStamp(written.front()));
            EXPECT_EQ(r.recurrenceCode(), c.booking.code);
            EXPECT_EQ(r.madeHour() * 100 + r.madeMinute(), 1000);
            EXPECT_EQ(r.lastName(), "Morgan");
        }
    }
}

TEST_F(MakeReservation, TheRecurrenceEndIsTheLoopLimit) {
    EXPECT_TRUE(book("Boardroom", series({2026, 12, 10}, 20, 0, 0, 0, kDaily, {2026, 12, 15})));
    for (const CScheduleRecord& r : records("Boardroom"))
        EXPECT_EQ(r.recurrenceEnd(), (D{2026, 12, 14}));
    EXPECT_TRUE(book("Huddle", series({2026, 12, 10}, 9, 0, 10, 0, kNone, {2026, 12, 20})));
    EXPECT_EQ(records("Huddle").front().recurrenceEnd(), D{});
}

struct Refusal {
    const char* name;
    Booking booking;
    Messages messages;
};

TEST_F(MakeReservation, RefusalsKeepTheDialogOpenAndWriteNothing) {
    Booking noPerson;
    noPerson.person = {"No", "", "Body", ""};
    const Refusal cases[] = {
        {"end before start",
         series({2026, 12, 9}, 11, 0, 10, 0, kNone, {2026, 12, 9}),
         {error(CAddReservation::kEndNotAfterStart, "Reservation Error")}},
        {"last date before the date",
         series({2026, 12, 9}, 9, 0, 10, 0, kDaily, {2026, 12, 8}),
         {error(CAddReservation::kEndBeforeStart, "Recurring Reservation Error")}},
        {"overnight from 23:59 on one date",
         series({2026, 12, 9}, 23, 59, 23, 59, kOvernight, {2026, 12, 9}),
         {error(CAddReservation::kEndNotAfterStart, "Reservation Error")}},
        {"overlapping the existing 09:00-10:00 by a minute",
         series({2026, 12, 8}, 9, 59, 10, 30, kNone, {2026, 12, 8}),
         {error("Reservation conflicts with existing reservation on 12/08/2026",
                "Reservation Error")}},
        {"no person selected", noPerson, {error(CAddReservation::kNoPerson, "No Person Selected")}},
    };
    for (const Refusal& c : cases) {
        SCOPED_TRACE(c.name);
        fresh();
        ASSERT_TRUE(book("Boardroom", series({2026, 12, 8}, 9, 0, 10, 0, kNone, {2026, 12, 8})));
        prompt.messages.clear();
        const auto before = slots("Boardroom");
        EXPECT_FALSE(book("Boardroom", c.booking));
        EXPECT_EQ(prompt.messages, c.messages);
        EXPECT_EQ(slots("Boardroom"), before);
    }
}

TEST_F(MakeReservation, TouchingSpansDoNotOverlapAndBlockoutsBlock) {
    ASSERT_TRUE(book("Boardroom", series({2026, 12, 8}, 9, 0, 10, 0, kNone, {2026, 12, 8})));
    EXPECT_TRUE(book("Boardroom", series({2026, 12, 8}, 10, 0, 11, 0, kNone, {2026, 12, 8})));
    EXPECT_TRUE(book("Boardroom", series({2026, 12, 8}, 8, 0, 9, 0, kNone, {2026, 12, 8})));
    EXPECT_EQ(prompt.messages, Messages{});
    // A blockout blocks like a reservation; touching it is allowed.
    put("Huddle", {2026, 12, 8}, 1300, 1400, "Out", 0, {}, 0, CScheduleRecord::kFlagBlockout);
    EXPECT_FALSE(book("Huddle", series({2026, 12, 8}, 13, 30, 14, 30, kNone, {2026, 12, 8})));
    EXPECT_EQ(prompt.messages,
              Messages{error("Reservation conflicts with existing reservation on 12/08/2026",
                             "Reservation Error")});
    EXPECT_TRUE(book("Huddle", series({2026, 12, 8}, 14, 0, 15, 0, kNone, {2026, 12, 8})));
    EXPECT_EQ(CAddReservation::checkTimes(13, 0, 14, 0, {1230}, {1330}), 2);
    EXPECT_EQ(CAddReservation::checkTimes(13, 30, 14, 0, {1230}, {1330}), 0);
    EXPECT_EQ(CAddReservation::checkTimes(14, 0, 14, 0, {}, {}), 1);
}

TEST_F(MakeReservation, ASeriesWithAConflictWritesTheOtherDatesAndSaysSo) {
    ASSERT_TRUE(book("Boardroom", series({2026, 12, 11}, 9, 30, 9, 45, kNone, {2026, 12, 11})));
    prompt.messages.clear();
    EXPECT_TRUE(book("Boardroom", series({2026, 12, 9}, 9, 0, 10, 0, kDaily, {2026, 12, 12})));
    EXPECT_EQ(prompt.messages,
              (Messages{error("Reservation conflicts with existing reservation on 12/11/2026",
                              "Reservation Error"),
                        info(CAddReservation::kPartlyMade, "Recurring Reservation Conflict")}));
    EXPECT_EQ(slots("Boardroom"), (std::vector<Slot>{{{2026, 12, 9}, 900, 1000},
                                                     {{2026, 12, 10}, 900, 1000},
                                                     {{2026, 12, 11}, 930, 945},
                                                     {{2026, 12, 12}, 900, 1000}}));
}

TEST_F(MakeReservation, AnOvernightConflictUndoesTheSpanAndItsLinks) {
    // Another reservation starting at 00:00 on the second date, and one that blocks it later.
    ASSERT_TRUE(book("Boardroom", series({2026, 12, 10}, 0, 0, 1, 0, kNone, {2026, 12, 10})));
    prompt.messages.clear();
    EXPECT_TRUE(bookWith("Boardroom",
                         series({2026, 12, 9}, 18, 0, 8, 0, kOvernight, {2026, 12, 11}), {"Ames"},
                         false));
    EXPECT_EQ(prompt.messages,
              (Messages{error("Reservation conflicts with existing reservation on 12/10/2026",
                              "Reservation Error"),
                        info(CAddReservation::kPartlyMade, "Recurring Reservation Conflict")}));
    EXPECT_EQ(slots("Boardroom"), (std::vector<Slot>{{{2026, 12, 10}, 0, 100}}));
    EXPECT_EQ(links("Boardroom", {2026, 12, 9}, 18, 0), std::vector<std::string>{});
}

TEST_F(MakeReservation, TodaysReservationShowsInTheMainViewAndStampsTheChange) {
    ASSERT_TRUE(doc->stampOpen());
    // Another user's window, whose timer compares the stamp.
    ScriptedPrompt otherPrompt;
    CORVSchedDoc other(otherPrompt, settings);
    ASSERT_TRUE(other.openGroup(group));
    CDocSettings refresh;
    refresh.refresh = 1;
    other.setSettings(refresh);
    EXPECT_FALSE(other.changedByOthers());
    // A reservation of another day changes nothing of today's boxes: no new stamp. (The stamp
    // holds the time of the change: the clock moves on between the changes.)
    clock.setLocal(2026, 12, 8, 10, 1, 5);
    EXPECT_TRUE(book("Huddle", series({2026, 12, 9}, 9, 30, 11, 0, kNone, {2026, 12, 9})));
    EXPECT_FALSE(other.changedByOthers());
    clock.setLocal(2026, 12, 8, 10, 2, 10);
    EXPECT_TRUE(book("Huddle", series({2026, 12, 8}, 9, 30, 11, 0, kNone, {2026, 12, 8})));
    EXPECT_TRUE(other.changedByOthers());
    ASSERT_EQ(doc->todaysList().size(), 1u);
    EXPECT_TRUE(doc->items().at(item("Huddle")).inUse());
    EXPECT_EQ(doc->items().at(item("Huddle")).currentUse(), "Morgan");
}

TEST_F(MakeReservation, AttendeesGoToTheFirstDateOnlyUnlessIncludedInLaterOnes) {
    Booking b = series({2026, 12, 9}, 9, 0, 10, 0, kWeekly, {2026, 12, 23});
    ASSERT_TRUE(bookWith("Boardroom", b, {"Ames", "Baker"}, false));
    EXPECT_EQ(links("Boardroom", {2026, 12, 9}, 9, 0), (std::vector<std::string>{"Ames", "Baker"}));
    EXPECT_EQ(links("Boardroom", {2026, 12, 16}, 9, 0), std::vector<std::string>{});
    for (const CScheduleRecord& r : records("Boardroom"))
        EXPECT_TRUE(r.hasAttendees());

    ASSERT_TRUE(bookWith("Huddle", b, {"Baker"}, true));
    for (D d : {D{2026, 12, 9}, D{2026, 12, 16}, D{2026, 12, 23}})
        EXPECT_EQ(links("Huddle", d, 9, 0), std::vector<std::string>{"Baker"});

    // A cancelled attendee dialog writes the reservation without the attendee flag.
    b = series({2026, 12, 9}, 14, 0, 15, 0, kNone, {2026, 12, 9});
    b.attendees = true;
    scriptBooking(b);
    prompt.cancelDialog();
    CItemDayModel d = day("Huddle", b.date);
    EXPECT_TRUE(d.makeReservation());
    EXPECT_FALSE(records("Huddle", {2026, 12, 9}, 1).back().hasAttendees());
}

TEST_F(MakeReservation, AddANewPersonFromTheListSelectsThemForTheNextOk) {
    prompt.fill<CAddReservation>([](CAddReservation& r) {
        r.setStartTime(13, 0);
        r.setEndTime(14, 0);
        r.selectedPerson = 0;
    });
    prompt.fill<CPersonModel>([](CPersonModel& p) {
        EXPECT_EQ(p.title(), "Add a New Person");
        EXPECT_FALSE(p.addAndNewOffered());
        EXPECT_STREQ(p.confirmLabel(), "OK");
        p.firstName = "Kim";
        p.lastName = "Lee";
    });
    std::string selected;
    prompt.dialogSteps.push_back([&](CDialogModel& m) {
        auto& r = dynamic_cast<CAddReservation&>(m);
        selected = r.personLines().at(static_cast<std::size_t>(r.selectedPerson)).text;
        return true;
    });
    CItemDayModel d = day("Huddle");
    EXPECT_TRUE(d.makeReservation());
    EXPECT_EQ(selected, "Lee, Kim    ");
    EXPECT_EQ(records("Huddle", {2026, 12, 8}, 1).at(0).lastName(), "Lee");
}

TEST_F(MakeReservation, OpeningProposesTheDefaultLengthUntilTheEndIsEdited) {
    clock.setLocal(2026, 12, 8, 22, 40);
    CItemDayModel d = day("Boardroom");
    CAddReservation r(*doc, "Boardroom", {2026, 12, 8}, 60, d);
    EXPECT_EQ(r.title(), "Make a Reservation for Boardroom");
    EXPECT_EQ(r.endHour() * 100 + r.endMinute(), 2340);
    r.setStartTime(23, 30); // would end on the next day: the end stays
    EXPECT_EQ(r.endHour() * 100 + r.endMinute(), 2340);
    r.setStartTime(9, 15);
    EXPECT_EQ(r.endHour() * 100 + r.endMinute(), 1015);
    r.setEndTime(11, 0);
    r.setStartTime(8, 0);
    EXPECT_EQ(r.endHour() * 100 + r.endMinute(), 1100);
    EXPECT_EQ(r.personLines().front().text, "<Add a new person>");
    EXPECT_EQ(r.personLines().size(), 3u) << "people who can make reservations only";
    EXPECT_EQ(r.selectedPerson, -1);
}

TEST_F(MakeReservation, ASeriesKeepsItsDatesAndTimesAcrossADaylightSavingChange) {
    const char* old = std::getenv("TZ");
    const std::string saved = old ? old : "";
    setenv("TZ", "America/New_York", 1);
    tzset();
    clock.setLocal(2026, 10, 30, 8, 0);
    doc->setDateToToday();
    EXPECT_TRUE(book("Boardroom", series({2026, 10, 30}, 9, 0, 10, 0, kDaily, {2026, 11, 3})));
    EXPECT_EQ(slots("Boardroom", {2026, 10, 29}, 7),
              (std::vector<Slot>{{{2026, 10, 30}, 900, 1000},
                                 {{2026, 10, 31}, 900, 1000},
                                 {{2026, 11, 1}, 900, 1000},
                                 {{2026, 11, 2}, 900, 1000},
                                 {{2026, 11, 3}, 900, 1000}}));
    // Cancelling the rest of it steps the same way.
    CItemDayModel d = day("Boardroom", {2026, 10, 31});
    d.select(0);
    prompt.answers = {true, true};
    d.cancelReservation();
    EXPECT_EQ(slots("Boardroom", {2026, 10, 29}, 7),
              (std::vector<Slot>{{{2026, 10, 30}, 900, 1000}}));
    if (old)
        setenv("TZ", saved.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

} // namespace
} // namespace orv::test
