// orvsched-cli utilization: View > Utilization, with the options dialog's choices given as
// arguments and the lines of "Utilization Report" printed.
#include "cli/CliCommand.h"
#include "cli/CliDocument.h"
#include "cli/CliGroup.h"
#include "reports/CUtilizationOptions.h"
#include "reports/CUtilizationReport.h"
#include "tables/CDate.h"

#include <set>

namespace orv::cli {
namespace ORV_UNITY_ID {

constexpr const char* kName = "utilization";

constexpr const char* kHelp =
    "usage: orvsched-cli utilization GROUP.sch FROM TO [--hours H1-H2] [--item NAME]...\n"
    "\n"
    "Prints the lines of \"Utilization Report\" for the days FROM to TO (YYYYMMDD or\n"
    "YYYY-MM-DD, each taken at 00:00): for each item the share of the available time\n"
    "reserved on each day of the week, with the weekly and the Monday-to-Friday average.\n"
    "--hours measures only the hours H1 to H2 of each day (whole hours, 0 to 24; an H2\n"
    "of 0 or 24 is the end of the day), --item limits the report to the named items.\n"
    "A group without any reservation, TO before FROM, or H1 not before H2 gives the\n"
    "program's message on standard error.\n"
    "\n"
    "Exit status: 0 success, 1 no report (the message says why), 2 bad usage.\n";

bool parseHours(const std::string& text, int& first, int& last) {
    const std::size_t dash = text.find('-');
    if (dash == std::string::npos || dash == 0 || dash + 1 == text.size()) return false;
    auto number = [](const std::string& part, int& value) {
        if (part.size() > 2) return false;
        value = 0;
        for (char c : part) {
            if (c < '0' || c > '9') return false;
            value = value * 10 + (c - '0');
        }
        return true;
    };
    return number(text.substr(0, dash), first) && number(text.substr(dash + 1), last) &&
           first <= 23 && last <= 24;
}

int run(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, {"hours", "item"}, {})) return usage(kName, args.error());
    const auto& p = args.positional();
    if (p.size() != 3) return usage(kName, "expects a group file and two dates");
    CDate from, to;
    for (int i = 0; i < 2; ++i) {
        std::string key;
        const std::string& text = p[static_cast<std::size_t>(i + 1)];
        if (!parseDate(text, key))
            return usage(kName, "not a date (YYYYMMDD or YYYY-MM-DD): " + text);
        (i == 0 ? from : to) = CDate::fromKey(key);
    }
    int firstHour = 0, lastHour = 0;
    const auto hours = args.value("hours");
    if (hours && !parseHours(*hours, firstHour, lastHour))
        return usage(kName, "--hours takes H1-H2, whole hours from 0 to 24");

    CliDocument d;
    if (!d.open(p[0])) return kExitFailure;
    std::set<int> items;
    for (const std::string& name : args.values("item")) {
        const int index = d.item(kName, name);
        if (index < 0) return kExitFailure;
        items.insert(index);
    }
    d.prompt.setDialog(CUtilizationOptions::kId, [&](CDialogModel& m) {
        auto& options = static_cast<CUtilizationOptions&>(m);
        options.startDate = from;
        options.startSeconds = 0;
        options.endDate = to;
        options.endSeconds = 0;
        options.selectedItems = items;
        options.window = hours.has_value();
        if (hours) {
            options.startPickerHour = firstHour;
            options.endPickerHour = lastHour % 24; // the picker shows the end of the day as 12 AM
        }
    });
    int result = kExitFailure;
    d.prompt.setDialog(CUtilizationReport::kId, [&](CDialogModel& m) {
        const auto& report = static_cast<CUtilizationReport&>(m);
        result = printLines(report.lines()) ? kExitOk : fail(kName, "cannot write the output");
    });
    CUtilizationReport::run(d.doc, 0);
    return result;
}

} // namespace ORV_UNITY_ID

ORV_CLI_COMMAND(kName, "print the utilization report of a range of days", kHelp, run);

} // namespace orv::cli
