// Series made by repeat rules beyond the classic choices: the dates a rule gives (against an
// independent expansion), the skipped dates, how the members and the rule are stored, the limits,
// the preview, and the classic walks on members of every pattern.
#include "ReservationFixture.h"
#include "common/OldTables.h"
#include "common/Process.h"
#include "group/CCompressDatabases.h"
#include "group/CMergeGroups.h"
#include "reservations/CRepeatRule.h"
#include "reservations/CSeriesChange.h"
#include "reservations/CSeriesInfo.h"
#include "reservations/CSeriesPreview.h"
#include "tables/CSeriesRules.h"

#include <cstdio>
#include <memory>
#include <set>

namespace orv::test {
namespace {

// The dates python-dateutil's rrule gives for the rule from `first`.
std::vector<std::string> independentDates(const std::string& rule, const CDate& first) {
    const std::string command = "/usr/bin/python3 '" ORV_SOURCE_DIR
                                "/tests/reservations/helpers/rrule_dates.py' '" +
                                rule + "' " + first.key();
    std::vector<std::string> out;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    if (!pipe) return out;
    char line[64];
    while (std::fgets(line, sizeof line, pipe.get()))
        out.emplace_back(line, 8);
    return out;
}

std::vector<std::string> keys(std::vector<CDate> dates) {
    std::sort(dates.begin(), dates.end());
    std::vector<std::string> out;
    for (const CDate& d : dates)
        out.push_back(d.key());
    return out;
}

TEST(RepeatRule, DatesEqualAnIndependentExpansionAndMonthsWithoutTheDayAreListed) {
    struct Case {
        const char* rule;
        CDate first;
        std::vector<CDate> exceptions;
        std::vector<std::string> noDay;
        const char* words;
    };
    const std::vector<Case> cases = {
        {"FREQ=DAILY;INTERVAL=3;COUNT=10", {2026, 12, 8}, {}, {}, "Every 3 days"},
        {"FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,WE;UNTIL=20270331",
         {2026, 12, 9},
         {},
         {},
         "Every 2 weeks on Monday and Wednesday, until 3/31/2027"},
        {"FREQ=MONTHLY;BYMONTHDAY=31;COUNT=6",
         {2026, 12, 8},
         {},
         {"February 2027 has no day 31", "April 2027 has no day 31", "June 2027 has no day 31"},
         "Every month on day 31"},
        {"FREQ=MONTHLY;BYDAY=5MO;UNTIL=20270630",
         {2026, 12, 1},
         {},
         {"December 2026 has no fifth Monday", "January 2027 has no fifth Monday",
          "February 2027 has no fifth Monday", "April 2027 has no fifth Monday",
          "June 2027 has no fifth Monday"},
         "Every month on the fifth Monday, until 6/30/2027"},
        {"FREQ=MONTHLY;BYDAY=-1FR;COUNT=6",
         {2026, 12, 8},
         {},
         {},
         "Every month on the last Friday"},
        {"FREQ=MONTHLY;BYDAY=1MO;COUNT=12",
         {2026, 12, 9},
         {},
         {},
         "Every month on the first Monday"},
        {"FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=29;COUNT=2",
         {2026, 12, 8},
         {},
         {"2027 has no February 29", "2029 has no February 29", "2030 has no February 29",
          "2031 has no February 29"},
         "Every year on February 29"},
        {"FREQ=WEEKLY;BYDAY=TU;COUNT=8",
         {2026, 12, 8},
         {{2026, 12, 22}, {2026, 12, 29}},
         {},
         "Every week on Tuesday"},
        // Across the change to daylight saving time on 3/14/2027.
        {"FREQ=WEEKLY;BYDAY=FR,SU;UNTIL=20270402",
         {2027, 3, 1},
         {},
         {},
         "Every week on Friday and Sunday, until 4/2/2027"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        CRepeatRule rule;
        std::string error;
        ASSERT_TRUE(rule.parse(c.rule, error)) << error;
        CRepeatRule::Dates dates;
        ASSERT_TRUE(rule.expand(c.first, c.exceptions, dates, error)) << error;
        std::vector<CDate> all = dates.dates;
        all.insert(all.end(), dates.leftOut.begin(), dates.leftOut.end());
        EXPECT_EQ(keys(all), independentDates(c.rule, c.first));
        EXPECT_EQ(keys(dates.leftOut), keys(c.exceptions));
        std::vector<std::string> noDay;
        for (const CSkippedDate& s : dates.noDay)
            noDay.push_back(s.text);
        EXPECT_EQ(noDay, c.noDay);
        EXPECT_EQ(rule.words(), c.words);
    }
}

TEST(RepeatRule, TheCustomPatternWritesTheRuleItDescribes) {
    CRepeatPattern p;
    p.frequency = CRepeatPattern::Frequency::weekly;
    p.interval = 2;
    p.weekdays = {3, 1};
    p.until = {2027, 3, 31};
    EXPECT_EQ(p.text(), "FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,WE;UNTIL=20270331");
    p = CRepeatPattern();
    p.frequency = CRepeatPattern::Frequency::monthly;
    p.monthlyByWeekday = true;
    p.ordinal = -1;
    p.ordinalWeekday = 5;
    p.count = 6;
    EXPECT_EQ(p.text(), "FREQ=MONTHLY;BYDAY=-1FR;COUNT=6");
    p.monthlyByWeekday = false;
    p.monthDay = 31;
    EXPECT_EQ(p.text(), "FREQ=MONTHLY;BYMONTHDAY=31;COUNT=6");
    p.frequency = CRepeatPattern::Frequency::yearly;
    p.month = 2;
    p.monthDay = 29;
    EXPECT_EQ(p.text(), "FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=29;COUNT=6");
}

class SeriesRule : public ReservationFixture {
protected:
    std::vector<CSeriesRow> seriesRows(const CScheduleRecord& member) {
        std::vector<CSeriesRow> rows;
        EXPECT_EQ(doc->seriesRules().rowsOf(CSeriesRules::seriesKey(member), rows), 0);
        return rows;
    }
};

TEST_F(SeriesRule, MembersAreOrdinaryDailyRecordsAndTheRuleKeepsTheSkippedDates) {
    put("Boardroom", {2026, 12, 23}, 930, 1100, "Ames");
    put("Boardroom", {2027, 1, 4}, 800, 1700, "Out", 0, {}, 0, 129, "Blocked Out");
    EXPECT_TRUE(bookRule("FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,WE;UNTIL=20270131", {2026, 12, 9}));
    EXPECT_EQ(
        prompt.messages,
        (Messages{
            {CAddReservation::conflictText({2026, 12, 23}), "Reservation Error", PromptIcon::error},
            {CAddReservation::conflictText({2027, 1, 4}), "Reservation Error", PromptIcon::error},
            {CAddReservation::kPartlyMade, CAddReservation::kPartlyMadeTitle,
             PromptIcon::information}}));
    std::vector<CScheduleRecord> members;
    for (const CScheduleRecord& r : records("Boardroom", {2026, 12, 1}, 70))
        if (r.lastName() == "Morgan") members.push_back(r);
    std::vector<CDate> dates;
    for (const CScheduleRecord& r : members) {
        dates.push_back(r.date());
        EXPECT_EQ(r.recurrenceCode(), 1);
        EXPECT_TRUE(r.sameStamp(members[0]));
        EXPECT_EQ(r.recurrenceEnd(), CDate(2027, 1, 20));
        EXPECT_EQ(r.startHhmm(), 900);
    }
    EXPECT_EQ(keys(dates),
              keys({{2026, 12, 9}, {2026, 12, 21}, {2027, 1, 6}, {2027, 1, 18}, {2027, 1, 20}}));

    const std::vector<CSeriesRow> rows = seriesRows(members[0]);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].kind, CSeriesRow::kRule);
    EXPECT_EQ(rows[0].text, "FREQ=WEEKLY;UNTIL=20270131;INTERVAL=2;BYDAY=MO,WE");
    EXPECT_EQ(rows[0].date, CDate(2026, 12, 9));
    EXPECT_EQ(rows[0].lastDate, CDate(2027, 1, 20));
    EXPECT_EQ(rows[1].date, CDate(2026, 12, 23));
    EXPECT_EQ(rows[1].reason, CSeriesRow::kConflict);
    EXPECT_EQ(rows[1].text, "conflicts with 09:30 AM   11:00 AM   Ames, Pat");
    EXPECT_EQ(rows[2].date, CDate(2027, 1, 4));
    EXPECT_EQ(rows[2].reason, CSeriesRow::kBlockedOut);

    // The detail lists the series; a skipped date that is free now can be booked.
    CSeriesInfo info(*doc, members[1]);
    EXPECT_EQ(info.lines(),
              (std::vector<std::string>{
                  "Every 2 weeks on Monday and Wednesday, until 1/31/2027, 5 dates",
                  "12/09/2026   09:00 AM   10:00 AM   Morgan, Alex J    ",
                  "12/21/2026   09:00 AM   10:00 AM   Morgan, Alex J    ",
                  "01/06/2027   09:00 AM   10:00 AM   Morgan, Alex J    ",
                  "01/18/2027   09:00 AM   10:00 AM   Morgan, Alex J    ",
                  "01/20/2027   09:00 AM   10:00 AM   Morgan, Alex J    ",
                  "12/23/2026   skipped: conflicts with 09:30 AM   11:00 AM   Ames, Pat",
                  "01/04/2027   skipped: blocked out"}));
    EXPECT_TRUE(info.freeNow().empty());
    CItemDayModel d = day("Boardroom", {2026, 12, 23});
    d.select(0);
    prompt.answers = {true};
    d.cancelReservation();
    EXPECT_EQ(info.freeNow(), (std::vector<CDate>{{2026, 12, 23}}));
    EXPECT_EQ(info.bookSkipped(info.freeNow()), 1);
    EXPECT_EQ(info.members().size(), 6u);
    EXPECT_EQ(info.skipped().size(), 1u);
}

TEST_F(SeriesRule, ClassicWalksReachExactlyTheMembersAfterTheChosenOneOnEveryPattern) {
    const std::vector<std::pair<const char*, CDate>> rules = {
        {"FREQ=DAILY;INTERVAL=3;COUNT=5", {2026, 12, 8}},
        {"FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,WE;COUNT=6", {2026, 12, 9}},
        {"FREQ=MONTHLY;BYMONTHDAY=31;COUNT=4", {2026, 12, 8}},
        {"FREQ=MONTHLY;BYDAY=1MO;COUNT=5", {2026, 12, 9}},
        {"FREQ=MONTHLY;BYDAY=-1FR;COUNT=4", {2026, 12, 8}},
        {"FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=29;COUNT=3", {2026, 12, 8}},
    };
    for (bool cancel : {true, false}) {
        for (const auto& [rule, first] : rules) {
            SCOPED_TRACE(std::string(rule) + (cancel ? " cancel" : " note"));
            fresh();
            ASSERT_TRUE(bookRule(rule, first));
            std::vector<CScheduleRecord> before =
                CSeriesInfo(*doc, records("Boardroom", first, 4000).front()).members();
            ASSERT_GE(before.size(), 3u);
            const CScheduleRecord chosen = before[1];
            if (cancel) {
                CItemDayModel d = day("Boardroom", chosen.date());
                d.cancelLaterInSeries(chosen, 9, 0);
            } else {
                prompt.fill<CShowReservation>([](CShowReservation& s) { s.note = "Moved"; });
                CShowReservation::open(*doc, chosen, "");
            }
            const std::vector<CScheduleRecord> after = records("Boardroom", first, 4000);
            if (cancel) {
                ASSERT_EQ(after.size(), 2u);
                EXPECT_EQ(after[1].date(), chosen.date());
            } else {
                ASSERT_EQ(after.size(), before.size());
                for (std::size_t i = 0; i < after.size(); ++i)
                    EXPECT_EQ(after[i].note(), i == 0 ? "" : "Moved") << after[i].dateKey();
            }
        }
    }
}

TEST_F(SeriesRule, RulesBeyondTheLimitsOrUnreadableAreRefusedWithNothingWritten) {
    struct Case {
        const char* rule;
        std::vector<CDate> exceptions;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"FREQ=DAILY;COUNT=1001", {}, CRepeatRule::kTooMany},
        {"FREQ=YEARLY;COUNT=12", {}, CRepeatRule::kTooMany},
        {"FREQ=WEEKLY;BYDAY=MO", {}, CRepeatRule::kTooMany},
        {"FREQ=HOURLY;COUNT=3", {}, CRepeatRule::kNotDaysOrMore},
        {"FREQ=DAILY;BYHOUR=9,10;COUNT=3", {}, CRepeatRule::kNotDaysOrMore},
        {"FREQ=WEEKLY;BYDAY=XX", {}, "The repeat rule \"FREQ=WEEKLY;BYDAY=XX\" cannot be read."},
        {"FREQ=WEEKLY;COUNT=2", {{2026, 12, 8}, {2026, 12, 15}}, CRepeatRule::kNoDates},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        prompt.messages.clear();
        EXPECT_FALSE(bookRule(c.rule, {2026, 12, 8}, c.exceptions));
        EXPECT_EQ(prompt.messages,
                  (Messages{{c.message, "Recurring Reservation Error", PromptIcon::error}}));
        EXPECT_TRUE(records("Boardroom", {2026, 12, 1}, 400).empty());
    }
    // A table without RECUREND cannot hold the last date the classic walks go by.
    doc.reset();
    ASSERT_TRUE(makeOldSchedule(dir.file("RoomSched")));
    open();
    prompt.messages.clear();
    EXPECT_FALSE(bookRule("FREQ=WEEKLY;COUNT=2", {2026, 12, 8}));
    EXPECT_EQ(prompt.messages, (Messages{{CRepeatRule::kOldFormat, "Old Database Format",
                                          PromptIcon::information}}));
}

TEST_F(SeriesRule, ThePreviewShowsEachDateAndOkBooksTheFreeOnesCheckedAgain) {
    put("Boardroom", {2026, 12, 15}, 930, 1100, "Ames");
    put("Boardroom", {2026, 12, 22}, 0, 2359, "Out", 0, {}, 0, 129, "Blocked Out");
    std::vector<std::string> shown;
    std::string summary;
    prompt.dialogSteps.clear();
    Booking b;
    b.sh = 9;
    b.eh = 10;
    b.code = CAddReservation::kWeekly;
    b.until = {2027, 1, 5};
    scriptBooking(b);
    auto values = prompt.dialogSteps.front();
    prompt.dialogSteps.front() = [values](CDialogModel& m) {
        static_cast<CAddReservation&>(m).previewFirst = true;
        return values(m);
    };
    prompt.fill<CSeriesPreview>([&](CSeriesPreview& p) {
        shown = p.lines();
        summary = p.summary();
        // Another user takes a free date before OK.
        put("Boardroom", {2026, 12, 29}, 900, 930, "Baker");
    });
    CItemDayModel d = day("Boardroom");
    EXPECT_TRUE(d.makeReservation());
    EXPECT_EQ(summary, "Every week through 01/05/2027, 5 dates");
    EXPECT_EQ(shown, (std::vector<std::string>{
                         "12/08/2026   free",
                         "12/15/2026   conflicts with 09:30 AM   11:00 AM   Ames, Pat",
                         "12/22/2026   blocked out", "12/29/2026   free", "01/05/2027   free"}));
    EXPECT_EQ(prompt.messages,
              (Messages{{CAddReservation::conflictText({2026, 12, 29}), "Reservation Error",
                         PromptIcon::error},
                        {CAddReservation::kPartlyMade, CAddReservation::kPartlyMadeTitle,
                         PromptIcon::information}}));
    std::vector<CDate> booked;
    for (const CScheduleRecord& r : records("Boardroom"))
        if (r.lastName() == "Morgan") booked.push_back(r.date());
    EXPECT_EQ(keys(booked), keys({{2026, 12, 8}, {2027, 1, 5}}));
    // Cancel in the preview writes nothing.
    prompt.messages.clear();
    b.date = b.until = {2027, 2, 2};
    scriptBooking(b);
    values = prompt.dialogSteps.front();
    prompt.dialogSteps.front() = [values](CDialogModel& m) {
        static_cast<CAddReservation&>(m).previewFirst = true;
        return values(m);
    };
    EXPECT_FALSE(day("Boardroom", b.date).makeReservation());
    EXPECT_TRUE(records("Boardroom", {2027, 2, 2}, 1).empty());
}

TEST_F(SeriesRule, AChangeOfAllMembersKeepsSingleChangesAndAConflictChangesNothing) {
    ASSERT_TRUE(bookRule("FREQ=WEEKLY;BYDAY=TU,TH;COUNT=6", {2026, 12, 8}));
    auto member = [&](CDate d, const std::string& item = "Boardroom") {
        std::vector<CScheduleRecord> r;
        doc->schedule().recordsOfItemOnDate(d.key(), item, r);
        return r.empty() ? CScheduleRecord() : r.front();
    };
    // One member gets a note of its own.
    CSeriesChange single(*doc, member({2026, 12, 15}));
    single.note = "Own note";
    ASSERT_TRUE(single.onOk(prompt));
    EXPECT_EQ(single.changed(), 1);

    put("Huddle", {2026, 12, 17}, 930, 1030, "Ames");
    CSeriesChange all(*doc, member({2026, 12, 10}));
    all.scope = CSeriesChange::Scope::all;
    all.item = "Huddle";
    all.note = "Moved";
    EXPECT_FALSE(all.onOk(prompt));
    EXPECT_EQ(prompt.messages.back(),
              (RecordedMessage{CSeriesChange::conflictsText({{2026, 12, 17}}), "Reservation Error",
                               PromptIcon::error}));
    EXPECT_EQ(records("Boardroom", {2026, 12, 8}, 20).size(), 6u) << "nothing moved";

    // The reservation in the way goes; the user chooses again: the item only, for all.
    all.note = member({2026, 12, 10}).note();
    CItemDayModel blocking = day("Huddle", {2026, 12, 17});
    blocking.select(0);
    prompt.answers = {true};
    blocking.cancelReservation();
    prompt.messages.clear();
    ASSERT_TRUE(all.onOk(prompt));
    EXPECT_EQ(all.changed(), 6);
    EXPECT_TRUE(prompt.messages.empty());
    EXPECT_TRUE(records("Boardroom", {2026, 12, 8}, 20).empty());
    const std::vector<CScheduleRecord> moved = records("Huddle", {2026, 12, 8}, 20);
    ASSERT_EQ(moved.size(), 6u);
    for (const CScheduleRecord& r : moved)
        EXPECT_EQ(r.note(), r.date() == CDate(2026, 12, 15) ? "Own note" : "") << r.dateKey();
    EXPECT_EQ(CSeriesInfo(*doc, moved[3]).words(), "Every week on Tuesday and Thursday, 6 dates");

    // An overnight span's days have times of their own.
    put("Huddle", {2026, 12, 26}, 2200, 2359, "Baker", 9, {2026, 12, 27});
    put("Huddle", {2026, 12, 27}, 0, 800, "Baker", 9, {2026, 12, 27});
    CSeriesChange overnight(*doc, member({2026, 12, 26}, "Huddle"));
    overnight.scope = CSeriesChange::Scope::all;
    overnight.start = 2100;
    prompt.messages.clear();
    EXPECT_FALSE(overnight.onOk(prompt));
    EXPECT_EQ(prompt.messages, (Messages{{CSeriesChange::kOvernightTimes, CSeriesChange::kTitle,
                                          PromptIcon::error}}));
}

TEST_F(SeriesRule, AttendeesChosenForTheFollowingMembersReachThemAndNoEarlierOne) {
    ASSERT_TRUE(bookRule("FREQ=MONTHLY;BYDAY=1MO;COUNT=3", {2026, 12, 9}));
    const std::vector<CScheduleRecord> members = records("Boardroom", {2027, 1, 1}, 70);
    ASSERT_EQ(members.size(), 3u);
    CSeriesChange change(*doc, members[1]);
    change.scope = CSeriesChange::Scope::following;
    scriptRoster({"Ames", "Baker"}, false);
    ASSERT_TRUE(change.chooseAttendees(prompt));
    ASSERT_TRUE(change.onOk(prompt));
    EXPECT_EQ(change.changed(), 2);
    const std::vector<std::string> none;
    const std::vector<std::string> both{"Ames", "Baker"};
    EXPECT_EQ(links("Boardroom", members[0].date(), 9, 0), none);
    EXPECT_EQ(links("Boardroom", members[1].date(), 9, 0), both);
    EXPECT_EQ(links("Boardroom", members[2].date(), 9, 0), both);
    const std::vector<CScheduleRecord> after = records("Boardroom", {2027, 1, 1}, 70);
    EXPECT_FALSE(after[0].hasAttendees());
    EXPECT_TRUE(after[1].hasAttendees() && after[2].hasAttendees());
    // Split in the very second the series was made: still a series of its own.
    EXPECT_FALSE(after[1].sameStamp(after[0]));
    EXPECT_TRUE(after[2].sameStamp(after[1]));
}

TEST_F(SeriesRule, CompressMergeAndDeletingOldReservationsKeepTheSeriesTableInStep) {
    ASSERT_TRUE(bookRule("FREQ=WEEKLY;BYDAY=TU;COUNT=2", {2026, 12, 8}));
    clock.setLocal(2026, 12, 8, 10, 1); // another creation stamp
    ASSERT_TRUE(bookRule("FREQ=MONTHLY;BYMONTHDAY=31;COUNT=2", {2027, 2, 1}));
    const CScheduleRecord early = records("Boardroom", {2026, 12, 8}, 1).front();
    const CScheduleRecord late = records("Boardroom", {2027, 3, 31}, 1).front();
    ASSERT_EQ(seriesRows(late).size(), 3u) << "the rule, February and April without a 31st";

    // All members of the first series are older than the cut: its rule goes with them.
    doc->deleteOlderThan("20261216");
    EXPECT_TRUE(seriesRows(early).empty());
    EXPECT_EQ(seriesRows(late).size(), 3u);

    prompt.answers = {true};
    EXPECT_EQ(CCompressDatabases(*doc).run(), CCompressDatabases::Outcome::compressed);
    EXPECT_TRUE(doc->seriesRules().isOpen());
    EXPECT_EQ(seriesRows(late).size(), 3u);
    EXPECT_EQ(d4recCount(code4opened(&doc->code(), doc->seriesRules().tableName())), 3)
        << "the deleted rule packed away";

    // A second group with a series of its own merges in with its rule.
    const std::string other = dir.file("Other.sch");
    createGroup(other);
    {
        ScriptedPrompt p;
        CORVSchedDoc maker(p, settings);
        ASSERT_TRUE(maker.openGroup(other));
        p.fill<CItemInfoModel>([](CItemInfoModel& m) { m.name = "Annex"; });
        ASSERT_TRUE(CItemManager(maker).addItem());
        ASSERT_EQ(maker.seriesRules().openOrCreate(other), 0);
        CScheduleRecord annex = late;
        annex.setItemName("Annex");
        maker.schedule().image() = annex;
        ASSERT_EQ(maker.schedule().append(), 0);
        ASSERT_EQ(maker.seriesRules().append({{CSeriesRules::seriesKey(annex),
                                               CSeriesRow::kRule,
                                               {2027, 3, 31},
                                               {2027, 3, 31},
                                               ' ',
                                               "FREQ=MONTHLY;COUNT=1"}}),
                  0);
    }
    EXPECT_EQ(CMergeGroups(*doc).mergeGroup(other), CMergeGroups::kMerged);
    CScheduleRecord annex = late;
    annex.setItemName("Annex");
    const std::vector<CSeriesRow> merged = seriesRows(annex);
    ASSERT_EQ(merged.size(), 1u);
    EXPECT_EQ(merged[0].text, "FREQ=MONTHLY;COUNT=1");
}

TEST_F(SeriesRule, TwoProcessesChangingOneSeriesAtOnceLeaveItInOneUsersState) {
    ASSERT_TRUE(bookRule("FREQ=DAILY;COUNT=120", {2026, 12, 9}));
    const std::string cli = std::string(ORV_BINARY_DIR) + "/src/cli/orvsched-cli";
    auto modify = [&](const char* start, const char* end) {
        return std::make_unique<Process>(
            cli, std::vector<std::string>{"modify", group, "Boardroom", "20261209", "09:00",
                                          "--scope", "all", "--start", start, "--end", end});
    };
    auto a = modify("10:00", "11:00");
    auto b = modify("12:00", "13:00");
    a->wait();
    b->wait();
    std::set<int> starts;
    const std::vector<CScheduleRecord> after = records("Boardroom", {2026, 12, 9}, 120);
    for (const CScheduleRecord& r : after)
        starts.insert(r.startHhmm());
    EXPECT_EQ(after.size(), 120u);
    ASSERT_EQ(starts.size(), 1u) << "members of both users' changes";
    EXPECT_TRUE(*starts.begin() == 1000 || *starts.begin() == 1200);
}

} // namespace
} // namespace orv::test
