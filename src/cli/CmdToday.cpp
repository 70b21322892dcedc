// orvsched-cli today: the list the group keeps of one date's reservations for drawing its items.
#include "cli/CliCommand.h"
#include "cli/CliGroup.h"
#include "cli/CliTables.h"
#include "group/CItemList.h"
#include "tables/CClock.h"
#include "tables/CFieldText.h"
#include "tables/CSchedule.h"

#include <cstdio>

namespace orv::cli {

namespace ORV_UNITY_ID {

constexpr const char* kName = "today";

constexpr const char* kHelp =
    "usage: orvsched-cli today GROUP.sch [--date DATE]\n"
    "\n"
    "Prints today's list of the group (or that of DATE, YYYYMMDD or YYYY-MM-DD): the\n"
    "reservations and blockouts of the date whose item is still in the group, in the\n"
    "schedule's order, one line each, values separated by '|':\n"
    "  ITEM INDEX|ITEM|START|END|KIND|LABEL\n"
    "ITEM INDEX counts the group's items from 0, KIND is 'reserved' or 'blockout', and\n"
    "LABEL is what the item's box shows: the note when it is to be shown instead of the\n"
    "person, else the last name, at most 21 characters.\n"
    "\n"
    "Exit status: 0 success, 1 the group or its schedule cannot be read, 2 bad usage.\n";

int run(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, {"date"}, {})) return usage(kName, args.error());
    if (args.positional().size() != 1) return usage(kName, "expects exactly one group file");
    const std::string path = args.positional()[0];
    std::string dateKey;
    if (auto date = args.value("date")) {
        if (!parseDate(*date, dateKey))
            return usage(kName, "not a date (YYYYMMDD or YYYY-MM-DD): " + *date);
    } else {
        const std::tm now = CClock::current().localNow();
        dateKey = CFieldText::dateKey(now.tm_year + 1900, now.tm_mon + 1, now.tm_mday);
    }
    CGroupFileData data;
    if (!readGroupFile(kName, path, data)) return kExitFailure;
    CItemList items;
    items.assign(data.items);

    Code4 code;
    initGroupContext(code, true);
    CSchedule schedule(code);
    if (!openSchedule(kName, path, schedule)) return kExitFailure;
    std::vector<_SCHEDITEM> list;
    const int rc = schedule.loadTodaysList(dateKey, items, list);
    if (rc != 0) return fail(kName, "reading the schedule: " + describeResult(rc));
    for (const _SCHEDITEM& e : list) {
        const std::string name =
            items.isValidIndex(e.itemIndex) ? items.at(e.itemIndex).name() : "";
        char start[8], end[8];
        std::snprintf(start, sizeof start, "%02d:%02d", e.startHour, e.startMinute);
        std::snprintf(end, sizeof end, "%02d:%02d", e.endHour, e.endMinute);
        std::puts(valueLine({std::to_string(e.itemIndex), name, start, end,
                             e.blockedOut ? "blockout" : "reserved", e.label})
                      .c_str());
    }
    return std::fflush(stdout) == 0 ? kExitOk : fail(kName, "cannot write the output");
}

} // namespace ORV_UNITY_ID

ORV_CLI_COMMAND(kName, "print the list of one date's reservations the group keeps for its items",
                kHelp, run);

} // namespace orv::cli
