// Reminders and change notices for the person a user is, through the clock seam and a real
// second process; `upcoming` against an independent walk of the tables.
#include "cli/CliRunner.h"
#include "common/GroupFixture.h"
#include "history/CJournalChange.h"
#include "reminders/CReminders.h"
#include "reservations/CReservationText.h"
#include "storage/Data4.h"
#include "storage/Field4.h"

#include <algorithm>
#include <random>
#include <set>
#include <sstream>
#include <tuple>

namespace orv::test {
namespace {

class Reminders : public GroupFixture {
protected:
    void SetUp() override {
        GroupFixture::SetUp();
        addItems({"Boardroom", "Lakeview"});
        addPerson("Pat", "", "Smith", "");
        addPerson("Kim", "", "Jones", "");
    }
    // A reservation with a creation stamp of its own (a series shares one).
    void book(const std::string& item, CDate d, int sh, int sm, int eh, int em,
              const std::string& last, int stampSeconds, int code = 0) {
        CSchedule& s = doc->schedule();
        s.clearImage();
        CScheduleRecord& r = s.image();
        r.setDate(d.month, d.day, d.year);
        r.setItemName(item);
        r.setStartTime(sh, sm);
        r.setEndTime(eh, em);
        r.setPerson(last == "Smith" ? "Pat" : "Kim", "", last, "");
        r.setMade(12, 1, 2026, 9, 0, stampSeconds);
        if (code) r.setRecurrenceCode(code);
        ASSERT_EQ(s.append(), 0);
    }
    void attend(const std::string& item, CDate d, int sh, int sm, const std::string& last) {
        CRosterLink& l = doc->rosterLinks();
        l.clearImage();
        l.setDate(d.month, d.day, d.year);
        l.setItemName(item);
        l.setStartTime(sh, sm);
        l.setPerson(CPeopleKey(last == "Smith" ? "Pat" : "Kim", "", last, ""));
        ASSERT_EQ(l.append(), 0);
    }
    static std::vector<std::string> summaries(const std::vector<CNotice>& notices) {
        std::vector<std::string> s;
        for (const CNotice& n : notices) s.push_back(n.summary + " / " + n.body);
        return s;
    }
};

TEST_F(Reminders, EachComesOnceAtItsMinuteForOwnSeriesAndAttendedReservations) {
    const CDate today(2026, 12, 8), tomorrow(2026, 12, 9);
    book("Boardroom", today, 10, 20, 11, 0, "Smith", 1);
    book("Lakeview", today, 10, 40, 11, 30, "Jones", 2);
    attend("Lakeview", today, 10, 40, "Smith");
    book("Boardroom", today, 13, 0, 14, 0, "Smith", 3, 1); // a series, two members
    book("Boardroom", tomorrow, 13, 0, 14, 0, "Smith", 3, 1);
    book("Lakeview", today, 11, 30, 12, 0, "Smith", 4);     // cancelled before its minute
    book("Lakeview", tomorrow, 0, 5, 1, 0, "Smith", 5);     // across midnight
    book("Boardroom", today, 10, 25, 10, 55, "Jones", 6);  // not Smith's
    CReminders reminders(*doc);
    reminders.setChoice(CPeopleKey("Pat", "", "Smith", ""), true, 15);

    struct Step {
        int hour, minute;
        std::vector<std::string> expected;
        bool otherWindow = false;
    };
    const std::vector<Step> steps = {
        {10, 0, {}},
        {10, 5, {"Boardroom at 10:20 AM until 11:00 AM / "}},
        {10, 6, {}},
        {10, 25, {"Lakeview at 10:40 AM until 11:30 AM / You are on the attendee list."}},
        {10, 26, {}, true},
        {11, 16, {}}, // the 11:30 was cancelled at 11:00
        {12, 45, {"Boardroom at 01:00 PM until 02:00 PM / "}},
        {23, 50, {"Lakeview at 00:05 AM until 01:00 AM / "}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(std::to_string(step.hour) + ":" + std::to_string(step.minute));
        if (step.hour == 11) {
            ASSERT_EQ(doc->schedule().seek("20261208", "Lakeview", "11", "30"), 0);
            ASSERT_EQ(doc->schedule().deleteCurrent(), 0);
        }
        clock.setLocal(2026, 12, 8, step.hour, step.minute, 0);
        CReminders second(*doc);
        EXPECT_EQ(summaries(step.otherWindow ? second.due() : reminders.due()), step.expected);
    }
    // The next day's member of the series gets its own, also after a restart.
    doc = std::make_unique<CORVSchedDoc>(prompt, settings);
    ASSERT_TRUE(doc->openGroup(group));
    CReminders restarted(*doc);
    clock.setLocal(2026, 12, 9, 0, 1, 0);
    EXPECT_TRUE(restarted.due().empty());
    clock.setLocal(2026, 12, 9, 12, 50, 0);
    EXPECT_EQ(summaries(restarted.due()),
              std::vector<std::string>{"Boardroom at 01:00 PM until 02:00 PM / "});
    // Off, or nobody chosen: nothing.
    restarted.setChoice(CPeopleKey("Pat", "", "Smith", ""), false, 15);
    book("Lakeview", tomorrow, 13, 0, 13, 30, "Smith", 7);
    EXPECT_TRUE(restarted.due().empty());
}

// Changes by another user, made by a real second process, are told; this program's own are not.
TEST_F(Reminders, ChangesByAnotherProcessAreToldAndOwnChangesAreNot) {
    CClock::setCurrent(nullptr); // the command line runs on the system clock
    const CDate in2 = CDate::today().addDays(2);
    const std::string key = in2.key();
    const std::string date = key.substr(0, 4) + "-" + key.substr(4, 2) + "-" + key.substr(6, 2);
    book("Boardroom", in2, 9, 0, 10, 0, "Smith", 1);
    book("Lakeview", in2, 9, 0, 10, 0, "Smith", 2);
    book("Boardroom", in2, 11, 0, 12, 0, "Smith", 3);
    book("Lakeview", in2, 11, 0, 12, 0, "Jones", 4);
    attend("Lakeview", in2, 11, 0, "Smith");
    book("Boardroom", in2, 14, 0, 15, 0, "Smith", 5);
    CReminders reminders(*doc);
    reminders.setChoice(CPeopleKey("Pat", "", "Smith", ""), true, 15);
    EXPECT_TRUE(reminders.changes().empty()); // the first look

    // Own change: not news.
    ASSERT_EQ(doc->schedule().seek(key, "Boardroom", "14", "00"), 0);
    ASSERT_EQ(doc->schedule().deleteCurrent(), 0);
    EXPECT_TRUE(reminders.changes().empty());

    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"cancel", group, "Boardroom", date, "09:00"},
          {"cancel", group, "Lakeview", date, "09:00"},
          {"blockout", group, date, "08:00", "10:30", "--item", "Lakeview"},
          {"cancel", group, "Lakeview", date, "11:00"}})
        ASSERT_EQ(runCli(args, dir.path()).exitCode, 0) << args[0] << " " << args[2];
    const std::string day = CReservationText::shortDate(in2);
    // The journal tells who: the command line ran as this user on this machine.
    const std::string by = " by " + CJournalChange::userName() + "@" + CJournalChange::hostName();
    EXPECT_EQ(summaries(reminders.changes()),
              (std::vector<std::string>{
                  "Your reservation was cancelled" + by + " / Boardroom " + day +
                      " 09:00 AM - 10:00 AM",
                  "Your reservation was blocked out" + by + " / Lakeview " + day +
                      " 09:00 AM - 10:00 AM",
                  "A reservation you attend was cancelled" + by + " / Lakeview " + day +
                      " 11:00 AM - 12:00 PM"}));
    EXPECT_TRUE(reminders.changes().empty());
}

// `upcoming` lists what an independent walk of the two tables finds for the span.
TEST_F(Reminders, UpcomingListsWhatAWalkOfTheTablesFinds) {
    CClock::setCurrent(nullptr);
    const std::time_t now = std::time(nullptr);
    std::mt19937 rng(7);
    int stamp = 0;
    for (int dayOffset = -1; dayOffset <= 3; ++dayOffset)
        for (int slot = 0; slot < 12; ++slot) {
            const CDate d = CDate::today().addDays(dayOffset);
            const std::string item = slot % 2 ? "Lakeview" : "Boardroom";
            const int hour = slot * 2 + static_cast<int>(rng() % 2);
            const std::string who = rng() % 2 ? "Smith" : "Jones";
            book(item, d, hour, 0, hour, 45, who, ++stamp);
            if (who == "Jones" && rng() % 2) attend(item, d, hour, 0, "Smith");
        }
    doc.reset();

    // The walk: every live record and link of Smith starting within two days from now.
    using Row = std::tuple<std::string, std::string, std::string, bool>; // date, start, item, attending
    std::set<Row> expected;
    Code4 code;
    code4init(&code);
    const auto within = [&](const std::string& date, const std::string& hh, const std::string& mm) {
        std::tm tm{};
        tm.tm_year = std::stoi(date.substr(0, 4)) - 1900;
        tm.tm_mon = std::stoi(date.substr(4, 2)) - 1;
        tm.tm_mday = std::stoi(date.substr(6, 2));
        tm.tm_hour = std::stoi(hh);
        tm.tm_min = std::stoi(mm);
        tm.tm_isdst = -1;
        const std::time_t t = std::mktime(&tm);
        return t >= now + 60 && t < now + 2 * 86400 - 60; // a minute's leeway each side
    };
    const auto field = [](Data4* d, const char* name) {
        std::string v = f4str(d4field(d, name));
        v.erase(v.find_last_not_of(' ') + 1);
        return v;
    };
    std::set<std::tuple<std::string, std::string, std::string>> live;
    Data4* sched = d4open(&code, dir.file("RoomSched.dbf"));
    ASSERT_NE(sched, nullptr);
    for (int rc = d4top(sched); rc == 0; rc = d4skip(sched, 1)) {
        if (d4deleted(sched)) continue;
        const std::string date = field(sched, "DATE"), hh = field(sched, "STARTHH"),
                          mm = field(sched, "STARTMM"), item = field(sched, "ROOMNAME");
        live.insert({date, hh + ":" + mm, item});
        if (field(sched, "LASTNAME") == "Smith" && within(date, hh, mm))
            expected.insert({date, hh + ":" + mm, item, false});
    }
    d4close(sched);
    Data4* links = d4open(&code, dir.file("RoomRosLnk.dbf"));
    ASSERT_NE(links, nullptr);
    for (int rc = d4top(links); rc == 0; rc = d4skip(links, 1)) {
        if (d4deleted(links)) continue;
        const std::string date = field(links, "DATE"), hh = field(links, "STARTHH"),
                          mm = field(links, "STARTMM"), item = field(links, "ROOMNAME");
        if (field(links, "LASTNAME") == "Smith" && within(date, hh, mm) &&
            live.count({date, hh + ":" + mm, item}))
            expected.insert({date, hh + ":" + mm, item, true});
    }
    d4close(links);
    ASSERT_FALSE(expected.empty());

    const CliResult out = runCli({"upcoming", group, "--person", "Smith|Pat||", "--within", "2d",
                                  "--format", "json"},
                                 dir.path());
    ASSERT_EQ(out.exitCode, 0) << out.err;
    std::set<Row> listed;
    std::istringstream lines(out.out);
    for (std::string line; std::getline(lines, line);) {
        const auto value = [&](const std::string& name) {
            const auto at = line.find("\"" + name + "\": \"");
            return at == std::string::npos
                       ? std::string()
                       : line.substr(at + name.size() + 5,
                                     line.find('"', at + name.size() + 5) - at - name.size() - 5);
        };
        if (line.find("{") == std::string::npos) continue;
        std::string date = value("date");
        date.erase(std::remove(date.begin(), date.end(), '-'), date.end());
        listed.insert({date, value("start"), value("item"),
                       line.find("\"attending\": true") != std::string::npos});
    }
    // What starts within a minute of either end may fall either way.
    for (const Row& row : expected) EXPECT_EQ(listed.count(row), 1u) << std::get<0>(row) << " " << std::get<1>(row);
    EXPECT_LE(listed.size(), expected.size() + 2);
}

} // namespace
} // namespace orv::test
