// orvsched-cli dayglance: View > A Day's Reservations, the lines of "Day at a Glance".
#include "cli/CCliPrompt.h"
#include "cli/CliCommand.h"
#include "cli/CliDocument.h"
#include "cli/CliGroup.h"
#include "cli/CliTables.h"
#include "displays/CDayGlance.h"
#include "group/CMemorySettings.h"
#include "group/CORVSchedDoc.h"
#include "tables/CFieldText.h"

namespace orv::cli {

namespace ORV_UNITY_ID {

constexpr const char* kName = "dayglance";

constexpr const char* kHelp =
    "usage: orvsched-cli dayglance GROUP.sch DATE [--start-hour H]\n"
    "\n"
    "Prints the lines of \"Day at a Glance\" for DATE (YYYYMMDD or YYYY-MM-DD), headings\n"
    "included, as the list shows them: one line per item, its name in 20 characters, two\n"
    "blanks and a time line on which each character is a quarter hour and '*' marks the\n"
    "reserved ones. Without --start-hour the whole day; with it the twelve hours from\n"
    "hour H (0-12).\n"
    "\n"
    "Exit status: 0 success, 1 the group or its schedule cannot be read, 2 bad usage.\n";

int run(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, {"start-hour"}, {})) return usage(kName, args.error());
    if (args.positional().size() != 2) return usage(kName, "expects a group file and a date");
    std::string dateKey;
    if (!parseDate(args.positional()[1], dateKey))
        return usage(kName, "not a date (YYYYMMDD or YYYY-MM-DD): " + args.positional()[1]);
    auto form = CDayGlance::Form::allDay;
    int startHour = 0;
    if (auto hour = args.value("start-hour")) {
        const std::string& h = *hour;
        if (h.empty() || h.size() > 2 || h.find_first_not_of("0123456789") != std::string::npos ||
            std::stoi(h) > CDayGlance::kMaxStartHour)
            return usage(kName, "--start-hour takes an hour from 0 to 12");
        form = CDayGlance::Form::twelveHours;
        startHour = std::stoi(h);
    }
    int year = 0, month = 0, day = 0;
    CFieldText::splitDate(dateKey, year, month, day);

    CCliPrompt prompt;
    CMemorySettings settings;
    CORVSchedDoc doc(prompt, settings);
    if (!openDocument(doc, args.positional()[0])) return kExitFailure;
    CDayGlance glance(doc, form, 0, startHour, {}, month, day, year);
    if (glance.loadResult() != 0)
        return fail(kName, "reading the schedule: " + describeResult(glance.loadResult()));
    return printLines(glance.lines()) ? kExitOk : fail(kName, "cannot write the output");
}

} // namespace ORV_UNITY_ID

ORV_CLI_COMMAND(kName, "print the day at a glance of one date", kHelp, run);

} // namespace orv::cli
