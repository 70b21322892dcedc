// orvsched-cli import-reservations: File > Import Reservations... of the desktop program, with
// the choices of its dialog given as options.
#include "cli/CliCommand.h"
#include "cli/CliDocument.h"
#include "cli/CliGroup.h"
#include "exports/CReservationImport.h"
#include "tables/Cp1252.h"

#include <cstdio>

namespace orv::cli {
namespace ORV_UNITY_ID {

constexpr const char* kName = "import-reservations";

constexpr const char* kHelp =
    "usage: orvsched-cli import-reservations GROUP.sch FILE [--item NAME] [--map TEXT=ITEM]...\n"
    "                   [--person LAST|FIRST|MI|DEPT] [--column FIELD=COLUMN]...\n"
    "                   [--date-form YYYY-MM-DD|MM/DD/YYYY|DD.MM.YYYY] [--dry-run]\n"
    "                   [--report FILE]\n"
    "\n"
    "Books the reservations of an iCalendar file (.ics: times in UTC, with a time zone or\n"
    "floating, all-day events, repeat rules with their exceptions and changed dates; one\n"
    "series a repeating event; cancelled events are skipped) or of a CSV file (our own\n"
    "export's columns, or columns named date, start, end or length, item, person or\n"
    "last name/first name/middle initial/department, note; --column FIELD=N or\n"
    "FIELD=HEADER maps others). Each line printed is one reservation with what happened\n"
    "to it; with --dry-run what would happen, and nothing is written. The last line\n"
    "gives the counts.\n"
    "\n"
    "The item is the event's LOCATION (the item column): --map TEXT=ITEM names the item\n"
    "for a text, --item puts every reservation on one item. The person is the organizer\n"
    "(the person columns), matched to the group's people by name; --person stands in\n"
    "for one that is missing or unknown. Each date is checked and booked under the\n"
    "schedule lock; a line that conflicts is not booked.\n"
    "\n"
    "An event is remembered by its UID: importing the file again passes unchanged\n"
    "events over, moves the reservations of changed ones and cancels those of events\n"
    "cancelled since. --report writes every line with its outcome as CSV.\n"
    "\n"
    "Exit status: 0 every line to book was booked (or nothing changed), 1 none was\n"
    "(or the file or the group cannot be read), 2 bad usage, 3 some were.\n";

int run(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, {"item", "map", "person", "report", "column", "date-form"}, {"dry-run"}))
        return usage(kName, args.error());
    if (args.positional().size() != 2)
        return usage(kName, "expects the group file and the file to import");
    CliDocument d;
    CReservationImport import(d.doc);
    if (const auto person = args.value("person")) {
        CPeopleKey key;
        if (!parsePerson(*person, key)) return usage(kName, "--person takes LAST|FIRST|MI|DEPT");
        import.fallbackPerson = key;
    }
    for (const std::string& m : args.values("map")) {
        const auto eq = m.find('=');
        if (eq == std::string::npos || eq == 0) return usage(kName, "--map takes TEXT=ITEM");
        import.itemMap[m.substr(0, eq)] = m.substr(eq + 1);
    }
    if (const auto form = args.value("date-form");
        form && !CCsvMapping::dateFormFromText(*form, import.csv.dateForm))
        return usage(kName, "--date-form is YYYY-MM-DD, MM/DD/YYYY or DD.MM.YYYY");
    std::string error;
    if (!import.load(args.positional()[1], error)) return fail(kName, error);
    const CCsvMapping::DateForm form = import.csv.dateForm;
    for (const std::string& c : args.values("column")) {
        if (import.isCalendar()) return usage(kName, "--column is for CSV files");
        if (!import.csv.setColumn(c, import.csvRows().front().fields))
            return usage(kName, "no such field or column: " + c);
    }
    import.csv.dateForm = form;
    import.remap();
    if (!d.open(args.positional()[0])) return kExitFailure;
    if (const auto item = args.value("item")) {
        if (d.item(kName, *item) < 0) return kExitFailure;
        import.forcedItem = *item;
    }
    if (import.fallbackPerson &&
        !d.hasPerson(kName, *import.fallbackPerson, CPeople::Kind::MayReserve))
        return kExitFailure;
    if (import.preview() != 0) return kExitFailure;
    if (args.has("dry-run")) {
        if (!printLines(import.lines())) return fail(kName, "cannot write the output");
        return kExitOk;
    }
    const auto progress = d.prompt.progress("Importing reservations", false);
    const int rc = import.run(*progress);
    if (!printLines(import.lines())) return fail(kName, "cannot write the output");
    std::printf("%s\n", import.countsText().c_str());
    if (const auto report = args.value("report"); report && !import.writeReport(*report, error))
        return fail(kName, error), import.done() > 0 ? kExitPartial : kExitFailure;
    if (rc != 0) return import.done() > 0 ? kExitPartial : kExitFailure;
    if (import.wanted() == 0) return kExitOk;
    return partStatus(static_cast<std::size_t>(import.done()),
                      static_cast<std::size_t>(import.wanted()));
}

} // namespace ORV_UNITY_ID

ORV_CLI_COMMAND(kName, "import reservations from an iCalendar or CSV file", kHelp, run);

} // namespace orv::cli
