// orvsched-cli day: every schedule record of one date, with every value it holds.
#include "cli/CliCommand.h"
#include "cli/CliGroup.h"
#include "cli/CliTables.h"
#include "tables/CSchedule.h"

#include <cstdio>

namespace orv::cli {

namespace ORV_UNITY_ID {

constexpr const char* kName = "day";

constexpr const char* kHelp =
    "usage: orvsched-cli day GROUP.sch DATE\n"
    "\n"
    "Prints the group's schedule records of DATE (YYYYMMDD or YYYY-MM-DD) in the schedule's\n"
    "order (item name, then start time), one line each, values separated by '|':\n"
    "  RECORD|DATE|ITEM|START|END|LASTNAME|FIRSTNAME|MI|DEPARTMENT|NOTE|\n"
    "  MADE DATE|MADE TIME|RECURRENCE|RECURRENCE END|FLAGS|EXTRA\n"
    "Dates are shown as YYYY-MM-DD, times as HH:MM (the made time as HH:MM:SS), the\n"
    "recurrence as its code (0 none, 1 daily, 3 weekdays, 7 weekly, 9 overnight) and the\n"
    "flags as their number (1 show note, 2 attendee list, 128 blockout). Fields that an\n"
    "older schedule table lacks show as 0 or empty.\n"
    "\n"
    "Exit status: 0 success (also when the date has no records), 1 the group or its\n"
    "schedule cannot be read, 2 bad usage.\n";

std::string hhmm(int hour, int minute) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d", hour, minute);
    return buffer;
}

std::string line(const CScheduleRecord& r) {
    char made[48];
    std::snprintf(made, sizeof made, "%02d:%02d:%02d", r.madeHour(), r.madeMinute(),
                  r.madeSeconds());
    return valueLine({std::to_string(r.recordNumber()), shownDate(r.year(), r.month(), r.day()),
                      r.itemName(), hhmm(r.startHour(), r.startMinute()),
                      hhmm(r.endHour(), r.endMinute()), r.lastName(), r.firstName(),
                      r.middleInitial(), r.department(), r.note(),
                      shownDate(r.madeYear(), r.madeMonth(), r.madeDay()), made,
                      std::to_string(r.recurrenceCode()),
                      shownDate(r.recurEndYear(), r.recurEndMonth(), r.recurEndDay()),
                      std::to_string(r.flags()), r.extra()});
}

int run(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, {}, {})) return usage(kName, args.error());
    if (args.positional().size() != 2) return usage(kName, "expects a group file and a date");
    const std::string path = args.positional()[0];
    std::string dateKey;
    if (!parseDate(args.positional()[1], dateKey))
        return usage(kName, "not a date (YYYYMMDD or YYYY-MM-DD): " + args.positional()[1]);
    CGroupFileData data;
    if (!readGroupFile(kName, path, data)) return kExitFailure;

    Code4 code;
    initGroupContext(code, true);
    CSchedule schedule(code);
    if (!openSchedule(kName, path, schedule)) return kExitFailure;
    const int rc = schedule.walkDate(dateKey, [](const CScheduleRecord& r) {
        std::printf("%s\n", line(r).c_str());
        return true;
    });
    if (rc != 0) return fail(kName, "reading the schedule: " + describeResult(rc));
    return std::fflush(stdout) == 0 ? kExitOk : fail(kName, "cannot write the output");
}

} // namespace ORV_UNITY_ID

ORV_CLI_COMMAND(kName, "print every schedule record of one date", kHelp, run);

} // namespace orv::cli
