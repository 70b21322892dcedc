// The day at a glance, the month at a glance and a one-month reservation report of a large group
// against the raw tag walk over the same records.
//
// usage: overview_bench [RECORDS] [FOLDER]   (defaults: 1000000, the temp folder)
//
// Makes a group of 300 items whose schedule holds RECORDS reservations (eight a day for every
// item, from 2026-01-01 on; every 40th one a blockout), then times, each as the best of
// several runs taking turns with the walk, on a day in the middle of the table and its month:
//   day      CDayGlance::reload() of one day (both forms)   vs  seek + skip over that day
//   month    CMonthGlance recount and refill of one month     vs  seek + skip over that month
//   report   CResReportData::build() for that month           vs  the same month walk
//   open     a new document opening the group, with today's list of that day (best of kRuns)
//   utilization  CUtilizationReport::compute() of one year of all 300 items
//                                                            vs  seek + skip over that year
//   person   CPersonReservations of one person from that day on  vs  seek + skip to the end
// and, for reference, the record layer's own walk over the month (CSchedule seek + next, which
// decodes every field of each record).
// The raw walk reads the DATE field of each record, which is the least a walk over a date range
// has to look at. Prints milliseconds and the ratio list / walk.

#include "BenchGroup.h"
#include "QuietPrompt.h"

#include "displays/CCalendar.h"
#include "displays/CDayGlance.h"
#include "displays/CMonthGlance.h"
#include "group/CGroupFile.h"
#include "group/CMemorySettings.h"
#include "group/CORVSchedDoc.h"
#include "reports/CPersonReservations.h"
#include "reports/CResReportData.h"
#include "reports/CUtilizationReport.h"
#include "tables/CClock.h"
#include "tables/CDate.h"
#include "tables/CFieldText.h"
#include "tables/CFixedClock.h"
#include "tables/CPeople.h"
#include "tables/CRosterLink.h"
#include "tables/CSchedule.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>

using namespace orv;
using namespace orv::bench;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kRuns = 9;

struct Times {
    double list = 1e300; // milliseconds
    double walk = 1e300;
};

double timed(const std::function<void()>& work) {
    const auto t0 = Clock::now();
    work();
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

// The best of at least kRuns runs of each, and of half a second of them, list and walk taking
// turns: other work on the machine slows single runs, and then both alike.
Times compare(const std::function<void()>& list, const std::function<void()>& walk) {
    Times best;
    double spent = 0;
    for (int i = 0; i < kRuns || spent < 500; ++i) {
        const double w = timed(walk);
        const double l = timed(list);
        best.walk = std::min(best.walk, w);
        best.list = std::min(best.list, l);
        spent += w + l;
    }
    return best;
}

// Records whose date key starts with `prefix`, in tag order from the first one.
long rawWalk(Data4* d, Field4* date, const std::string& prefix) {
    long seen = 0;
    int rc = d4seek(d, CFieldText::padRight(prefix, 32));
    for (; rc == 0 || rc == res4after; rc = d4skip(d, 1)) {
        if (f4str(date).compare(0, prefix.size(), prefix) != 0) break;
        ++seen;
    }
    return seen;
}

void row(const char* what, long records, const Times& t) {
    std::printf("| %-22s | %9ld | %9.1f | %9.1f | %5.2f |\n", what, records, t.list, t.walk,
                t.list / t.walk);
}

} // namespace

int main(int argc, char** argv) {
    long records = 0;
    const std::string groupFile = benchGroup(argc, argv, "orv-overview-bench", records);
    if (groupFile.empty()) return 1;

    QuietPrompt prompt;
    CMemorySettings settings;
    CORVSchedDoc doc(prompt, settings);
    if (!doc.openGroup(groupFile)) return 1;

    Code4 code;
    code4init(&code);
    Data4* d = d4open(&code, doc.schedule().tableName());
    d4tagSelect(d, d4tag(d, CSchedule::kTagName));
    Field4* date = d4field(d, "DATE");

    // A day and its month in the middle of the table.
    int year = 2026, month = 1, day = 1;
    for (long n = records / (kItems * kPerItemAndDay) / 2; n > 0; --n)
        nextDay(year, month, day);
    const std::string dayKey = CFieldText::dateKey(year, month, day);
    const std::string monthKey = dayKey.substr(0, 6);

    std::printf("| list                   | records   | list ms   | walk ms   | ratio |\n");
    std::printf("|------------------------|-----------|-----------|-----------|-------|\n");
    const auto dayWalk = [&] { rawWalk(d, date, dayKey); };
    const long dayRecords = rawWalk(d, date, dayKey);
    CDayGlance allDay(doc, CDayGlance::Form::allDay, 255, 0, {}, month, day, year);
    row("day at a glance, 24 h", dayRecords, compare([&] { allDay.reload(); }, dayWalk));
    CDayGlance twelve(doc, CDayGlance::Form::twelveHours, 255, 6, {}, month, day, year);
    row("day at a glance, 12 h", dayRecords, compare([&] { twelve.reload(); }, dayWalk));

    const auto monthWalk = [&] { rawWalk(d, date, monthKey); };
    const long monthRecords = rawWalk(d, date, monthKey);
    row("record layer, month", monthRecords,
        compare(
            [&] {
                CSchedule& s = doc.schedule();
                for (int rc = s.seek(monthKey + "  ", {}, {}, {});
                     rc == 0 && s.image().month() == month; rc = s.next()) {
                }
            },
            monthWalk));
    CMonthGlance glance(doc, 255, 65535, {}, month, year);
    row("month at a glance", monthRecords,
        compare(
            [&] {
                glance.recount();
                glance.refill();
            },
            monthWalk));

    CReportCriteria criteria;
    criteria.startYear = criteria.endYear = year;
    criteria.startMonth = criteria.endMonth = month;
    criteria.startDay = 1;
    criteria.endDay = CDate::daysInMonth(month, year);
    CResReportData report(doc, criteria);
    row("report, one month", monthRecords, compare([&] { report.build(); }, monthWalk));
    std::printf("(report lines: %zu)\n", report.lines().size());

    // A year from the first day of the table, every item, whole days.
    CUtilizationCriteria year1;
    year1.startDate = {2026, 1, 1};
    year1.endDate = {2026, 12, 31};
    CUtilizationReport utilization(doc, year1);
    const std::string yearPrefix = "2026";
    const long yearRecords = rawWalk(d, date, yearPrefix);
    row("utilization, one year", yearRecords,
        compare([&] { utilization.compute(); }, [&] { rawWalk(d, date, yearPrefix); }));
    std::printf("(utilization lines: %zu)\n", utilization.lines().size());

    // Everything from the middle day on: the rest of the table.
    const auto restWalk = [&] {
        long seen = 0;
        for (int rc = d4seek(d, CFieldText::padRight(dayKey, 32)); rc == 0 || rc == res4after;
             rc = d4skip(d, 1))
            ++seen;
        return seen;
    };
    const CPeopleKey person("Pat", "", "Person17", "Dept5");
    CDate from(year, month, day);
    const long restRecords = restWalk();
    std::size_t found = 0;
    row("person's reservations", restRecords,
        compare(
            [&] {
                CPersonReservations list(doc, person, from);
                found = list.lines().size();
            },
            [&] { restWalk(); }));
    std::printf("(person's lines: %zu)\n", found);

    // Opening the group as a user does: group file, tables, today's list of the middle day.
    CFixedClock today;
    today.setLocal(year, month, day, 10, 0);
    CClock::setCurrent(&today);
    double open = 1e300;
    std::size_t listed = 0;
    for (int i = 0; i < kRuns; ++i)
        open = std::min(open, timed([&] {
                            CORVSchedDoc user(prompt, settings);
                            if (user.openGroup(groupFile)) listed = user.todaysList().size();
                        }));
    CClock::setCurrent(nullptr);
    std::printf("open group + today's list: %.1f ms (%zu entries; goal under 100 ms)\n", open,
                listed);
    code4initUndo(&code);
    return 0;
}
