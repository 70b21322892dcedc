// orvsched-cli links: every attendee link of a group.
#include "cli/CliCommand.h"
#include "cli/CliGroup.h"
#include "cli/CliTables.h"
#include "group/CGroupNames.h"
#include "tables/CRosterLink.h"

#include <cstdio>

namespace orv::cli {

namespace ORV_UNITY_ID {

constexpr const char* kName = "links";

constexpr const char* kHelp =
    "usage: orvsched-cli links GROUP.sch\n"
    "\n"
    "Prints every attendee link of the group in the roster's order (date, item, start\n"
    "time; the links of one reservation in the order they were added), one line each,\n"
    "values separated by '|':\n"
    "  DATE|ITEM|START|LASTNAME|FIRSTNAME|MI|DEPARTMENT\n"
    "\n"
    "Exit status: 0 success, 1 the group or its roster link table cannot be read (a group\n"
    "of an older format has none), 2 bad usage.\n";

int run(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, {}, {})) return usage(kName, args.error());
    if (args.positional().size() != 1) return usage(kName, "expects exactly one group file");
    const std::string path = args.positional()[0];
    CGroupFileData data;
    if (!readGroupFile(kName, path, data)) return kExitFailure;

    Code4 code;
    initGroupContext(code, true);
    CRosterLink links(code);
    int rc = links.open(path);
    if (rc != 0)
        return fail(kName, "cannot open " + CGroupNames::rosterLinkTable(path) + ": " +
                               describeResult(rc));
    for (rc = links.first(); rc == 0; rc = links.next()) {
        char start[8];
        std::snprintf(start, sizeof start, "%02d:%02d", links.startHour(), links.startMinute());
        std::puts(valueLine({shownDate(links.year(), links.month(), links.day()), links.itemName(),
                             start, links.lastName(), links.firstName(), links.middleInitial(),
                             links.department()})
                      .c_str());
    }
    if (rc != res4eof) return fail(kName, "reading the roster links: " + describeResult(rc));
    return std::fflush(stdout) == 0 ? kExitOk : fail(kName, "cannot write the output");
}

} // namespace ORV_UNITY_ID

ORV_CLI_COMMAND(kName, "print every attendee link of a group", kHelp, run);

} // namespace orv::cli
