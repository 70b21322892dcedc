// orvsched-cli report: View > All Reservations, with the options dialog's choices given as
// arguments and the lines of "Reservation Report" printed.
#include "cli/CCliPrompt.h"
#include "cli/CliCommand.h"
#include "cli/CliDocument.h"
#include "cli/CliGroup.h"
#include "cli/CliTables.h"
#include "group/CMemorySettings.h"
#include "group/CORVSchedDoc.h"
#include "reports/CResReportData.h"
#include "reports/CResReportOptions.h"
#include "reports/CReservationReport.h"
#include "tables/CFieldText.h"
#include "tables/Cp1252.h"

namespace orv::cli {

namespace ORV_UNITY_ID {

constexpr const char* kName = "report";

constexpr const char* kHelp =
    "usage: orvsched-cli report GROUP.sch FROM TO [--item NAME]... [--person P]...\n"
    "                           [--blockouts]\n"
    "\n"
    "Prints the lines of \"Reservation Report\" for the dates FROM to TO (YYYYMMDD or\n"
    "YYYY-MM-DD, both included): the reservations grouped by date and item, with a total\n"
    "per group, ending with \"**End of Report**\". --item limits the report to the named\n"
    "items, --person to the reservations of the people given as LAST|FIRST|MI|DEPT\n"
    "(parts left out are empty), --blockouts to the blocked out time slots (people are\n"
    "then ignored). A group without any reservation, or TO before FROM, gives the\n"
    "program's message on standard error.\n"
    "\n"
    "Exit status: 0 success, 1 no report (the message says why), 2 bad usage.\n";

int run(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, {"item", "person"}, {"blockouts"})) return usage(kName, args.error());
    if (args.positional().size() != 3) return usage(kName, "expects a group file and two dates");
    int from[3] = {}, to[3] = {};
    for (int i = 0; i < 2; ++i) {
        std::string key;
        const std::string& text = args.positional()[static_cast<std::size_t>(i + 1)];
        if (!parseDate(text, key))
            return usage(kName, "not a date (YYYYMMDD or YYYY-MM-DD): " + text);
        int* d = i == 0 ? from : to;
        CFieldText::splitDate(key, d[0], d[1], d[2]);
    }
    const std::vector<std::string> personTexts = args.values("person");
    std::vector<CPeopleKey> persons(personTexts.size());
    for (std::size_t i = 0; i < persons.size(); ++i)
        if (!parsePerson(personTexts[i], persons[i]))
            return usage(kName, "a person is LAST|FIRST|MI|DEPT: " + personTexts[i]);

    CCliPrompt prompt;
    CMemorySettings settings;
    CORVSchedDoc doc(prompt, settings);
    if (!openDocument(doc, args.positional()[0])) return kExitFailure;

    std::set<int> items;
    for (const std::string& name : args.values("item")) {
        const int index = doc.findItem(utf8ToCp1252(name));
        if (index < 0) return fail(kName, "no item named '" + name + "' in the group");
        items.insert(index);
    }
    std::vector<long> people;
    for (std::size_t i = 0; i < persons.size(); ++i) {
        if (doc.people().seekPerson(persons[i]) != 0)
            return fail(kName, "no person '" + personTexts[i] + "' in the group's people");
        people.push_back(doc.people().recordNumber());
    }

    prompt.setDialog(CResReportOptions::kId, [&](CDialogModel& d) {
        auto& options = static_cast<CResReportOptions&>(d);
        options.startYear = from[0];
        options.startMonth = from[1];
        options.startDay = from[2];
        options.endYear = to[0];
        options.endMonth = to[1];
        options.endDay = to[2];
        options.selectedItems = items;
        options.selectedPeople = people;
        options.blockoutsOnly = args.has("blockouts");
    });
    int result = kExitFailure;
    prompt.setDialog(CResReportData::kId, [&](CDialogModel& d) {
        auto& report = static_cast<CResReportData&>(d);
        const int rc = report.build();
        if (rc != 0)
            result = fail(kName, "reading the schedule: " + describeResult(rc));
        else
            result = printLines(report.lines()) ? kExitOk : fail(kName, "cannot write the output");
    });
    CReservationReport::run(doc);
    return result;
}

} // namespace ORV_UNITY_ID

ORV_CLI_COMMAND(kName, "print the reservation report of a range of dates", kHelp, run);

} // namespace orv::cli
