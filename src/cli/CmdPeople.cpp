// orvsched-cli people: the people of a group who may make reservations, or its attendees, as
// the person lists show them.
#include "cli/CliCommand.h"
#include "cli/CliGroup.h"
#include "cli/CliTables.h"
#include "tables/CPeople.h"

#include <cstdio>

namespace orv::cli {

namespace ORV_UNITY_ID {

constexpr const char* kName = "people";

constexpr const char* kHelp =
    "usage: orvsched-cli people GROUP.sch [--attendees]\n"
    "\n"
    "Prints the people of the group who may make reservations (with --attendees: the\n"
    "people who may be listed as attendees) in name order, one person list line each:\n"
    "  LAST, FIRST MI   (DEPARTMENT)   ** PHONE **   \n"
    "where the department and phone parts appear only when they are not empty. On a\n"
    "people table of the older layout everybody is listed either way.\n"
    "\n"
    "The people table is the one the group uses: the people file named in the group file\n"
    "(looked for in the group's folder), else the group's own.\n"
    "\n"
    "Exit status: 0 success, 1 the group or its people table cannot be read, 2 bad usage.\n";

int run(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, {}, {"attendees"})) return usage(kName, args.error());
    if (args.positional().size() != 1) return usage(kName, "expects exactly one group file");
    const std::string path = args.positional()[0];
    CGroupFileData data;
    if (!readGroupFile(kName, path, data)) return kExitFailure;

    Code4 code;
    initGroupContext(code, true);
    CPeople people(code);
    const std::string table = peopleTableOf(path, data);
    int rc = people.open(table, true);
    if (rc != 0) return fail(kName, "cannot open " + table + ": " + describeResult(rc));
    std::vector<CPeopleRecord> list;
    rc = people.listPeople(
        args.has("attendees") ? CPeople::Kind::Attendee : CPeople::Kind::MayReserve, list);
    for (const CPeopleRecord& person : list)
        std::printf("%s\n", shownText(person.listLine()).c_str());
    if (rc != 0) return fail(kName, "reading " + table + ": " + describeResult(rc));
    return std::fflush(stdout) == 0 ? kExitOk : fail(kName, "cannot write the output");
}

} // namespace ORV_UNITY_ID

ORV_CLI_COMMAND(kName, "list a group's people (or attendees) as the person lists show them", kHelp,
                run);

} // namespace orv::cli
