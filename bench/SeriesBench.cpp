// The preview and the booking of a 500-date series on a large group.
//
// usage: series_bench [RECORDS] [FOLDER]   (defaults: 1000000, the temp folder)
//
// Makes the group of BenchGroup.h with RECORDS reservations, then times for one item:
//   preview   CSeriesPreview of "FREQ=DAILY;COUNT=500" from 2026-03-01: each date's records of
//             the item read and checked (best of several runs)
//   booking   Make Reservation's OK for that rule at a free hour: for each date the lock, the
//             item's day read again, the check and the append, then the rule in the series
//             table (each run books a new series one hour earlier; best of three)
// Prints milliseconds against the goal of 200 ms each.

#include "BenchGroup.h"
#include "QuietPrompt.h"

#include "group/CMemorySettings.h"
#include "group/CORVSchedDoc.h"
#include "reservations/CAddReservation.h"
#include "reservations/CItemDayModel.h"
#include "reservations/CRepeatRule.h"
#include "reservations/CSeriesPreview.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>

using namespace orv;
using namespace orv::bench;

namespace {

constexpr const char* kRule = "FREQ=DAILY;COUNT=500";
const CDate kFirst{2026, 3, 1};

} // namespace

int main(int argc, char** argv) {
    long records = 0;
    const std::string groupFile = benchGroup(argc, argv, "orv-series-bench", records);
    if (groupFile.empty()) return 1;

    QuietPrompt prompt;
    CMemorySettings settings;
    CORVSchedDoc doc(prompt, settings);
    if (!doc.openGroup(groupFile)) return 1;
    if (!addBenchPerson(doc.people())) return 1;

    CRepeatRule rule;
    CRepeatRule::Dates dates;
    std::string error;
    if (!rule.parse(kRule, error) || !rule.expand(kFirst, {}, dates, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const std::string item = itemName(0);
    std::vector<CSeriesSlot> planned;
    for (const CDate& d : dates.dates)
        planned.push_back({d, 600, 645});

    double preview = 1e300;
    std::size_t free = 0;
    for (int i = 0; i < 9; ++i) {
        const auto t = Clock::now();
        CSeriesPreview p(doc, item, planned, rule.summary(dates));
        preview = std::min(preview, millisecondsOf(t));
        free = p.freeSlots().size();
    }
    std::printf("preview of %zu dates: %.1f ms (%zu free; goal under 200 ms)\n", planned.size(),
                preview, free);

    double booking = 1e300;
    std::size_t written = 0;
    CItemDayModel day(doc, 0, kFirst);
    for (int hour = 6; hour >= 4; --hour) {
        CAddReservation add(doc, item, kFirst, 0, day);
        add.setStartTime(hour, 0);
        add.setEndTime(hour, 45);
        add.customRule = kRule;
        add.selectedPerson = add.personLine({"Alex", "J", "Morgan", "Sales"});
        const auto t = Clock::now();
        add.makeReservation();
        booking = std::min(booking, millisecondsOf(t));
        written = add.written().size();
    }
    std::printf("booking of %zu dates: %.1f ms (goal under 200 ms)\n", written, booking);
    return 0;
}
