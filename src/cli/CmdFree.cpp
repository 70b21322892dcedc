// orvsched-cli free: the items free for a span of a date (or of a weekly repeat of it), as Items >
// Find Free Item lists them.
#include "cli/CliCommand.h"
#include "cli/CliDocument.h"
#include "cli/CliGroup.h"
#include "reservations/CFreeItems.h"

#include <cstdio>

namespace orv::cli {
namespace ORV_UNITY_ID {

constexpr const char* kName = "free";

int run(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, {"repeat", "until"}, {})) return usage(kName, args.error());
    const auto& p = args.positional();
    if (p.size() != 4) return usage(kName, "expects a group file, a date, a start and an end time");
    std::string key;
    if (!parseDate(p[1], key)) return usage(kName, "not a date (YYYYMMDD or YYYY-MM-DD): " + p[1]);
    const CDate date = CDate::fromKey(key);
    int sh = 0, sm = 0, eh = 0, em = 0;
    if (!parseTime(p[2], sh, sm)) return usage(kName, "not a time (HH:MM): " + p[2]);
    if (!parseTime(p[3], eh, em)) return usage(kName, "not a time (HH:MM): " + p[3]);
    CDate until;
    if (auto repeat = args.value("repeat")) {
        if (*repeat != "weekly") return usage(kName, "--repeat is weekly");
        if (!args.value("until") || !parseDate(*args.value("until"), key))
            return usage(kName, "--repeat weekly needs --until DATE");
        until = CDate::fromKey(key);
    } else if (args.has("until")) {
        return usage(kName, "--until needs --repeat weekly");
    }
    CliDocument d;
    if (!d.open(p[0])) return kExitFailure;
    CFreeItems free(d.doc);
    free.date = date;
    free.startHour = sh;
    free.startMinute = sm;
    free.endHour = eh;
    free.endMinute = em;
    free.weekly = until.isSet();
    free.until = until;
    if (!free.search()) return kExitFailure;
    std::vector<std::string> names;
    for (const CListLine& line : free.lines())
        names.push_back(d.doc.items().at(static_cast<int>(line.recordNumber)).name());
    return printLines(names) ? kExitOk : kExitFailure;
}

} // namespace ORV_UNITY_ID

ORV_CLI_COMMAND(
    kName, "list the items free for a time",
    "usage: orvsched-cli free GROUP.sch DATE START END [--repeat weekly --until DATE]\n"
    "\n"
    "Prints the names of the items that are free from START to END (HH:MM, 24-hour; an\n"
    "END of 00:00 means midnight) on DATE (YYYYMMDD or YYYY-MM-DD) and, with --repeat\n"
    "weekly, on every week after it through --until, in the group's item order. A\n"
    "reservation or blockout that overlaps the time makes an item busy; one that only\n"
    "touches it does not.\n"
    "\n"
    "Exit status: 0 success (also when nothing is free), 1 the group cannot be read or\n"
    "the times are refused, 2 bad usage.\n",
    run);

} // namespace orv::cli
