// orvsched-cli monthglance: View > A Month's Reservations, the lines of "Month at a Glance".
#include "cli/CCliPrompt.h"
#include "cli/CliCommand.h"
#include "cli/CliDocument.h"
#include "cli/CliTables.h"
#include "displays/CMonthGlance.h"
#include "group/CMemorySettings.h"
#include "group/CORVSchedDoc.h"

namespace orv::cli {

namespace ORV_UNITY_ID {

constexpr const char* kName = "monthglance";

constexpr const char* kHelp =
    "usage: orvsched-cli monthglance GROUP.sch YYYY-MM\n"
    "\n"
    "Prints the lines of \"Month at a Glance\", headings included: one line per day of the\n"
    "month, the day number in 3 characters, two blanks and a time line on which each\n"
    "character is a quarter hour: '*' when every item of the group is reserved for all of\n"
    "it, 'P' when some reservation time falls into it.\n"
    "\n"
    "Exit status: 0 success, 1 the group or its schedule cannot be read, 2 bad usage.\n";

// "YYYY-MM" or "YYYYMM" of a month from 1900 on.
bool parseMonth(const std::string& text, int& year, int& month) {
    std::string digits = text;
    if (text.size() == 7 && text[4] == '-') digits = text.substr(0, 4) + text.substr(5, 2);
    if (digits.size() != 6 || digits.find_first_not_of("0123456789") != std::string::npos)
        return false;
    year = std::stoi(digits.substr(0, 4));
    month = std::stoi(digits.substr(4, 2));
    return year >= 1900 && month >= 1 && month <= 12;
}

int run(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, {}, {})) return usage(kName, args.error());
    if (args.positional().size() != 2) return usage(kName, "expects a group file and a month");
    int year = 0, month = 0;
    if (!parseMonth(args.positional()[1], year, month))
        return usage(kName, "not a month (YYYY-MM): " + args.positional()[1]);

    CCliPrompt prompt;
    CMemorySettings settings;
    CORVSchedDoc doc(prompt, settings);
    if (!openDocument(doc, args.positional()[0])) return kExitFailure;
    const CMonthGlance glance(doc, 0, 0, {}, month, year);
    if (glance.countResult() != 0)
        return fail(kName, "reading the schedule: " + describeResult(glance.countResult()));
    return printLines(glance.lines()) ? kExitOk : fail(kName, "cannot write the output");
}

} // namespace ORV_UNITY_ID

ORV_CLI_COMMAND(kName, "print the month at a glance of one month", kHelp, run);

} // namespace orv::cli
