// person-reservations and attendance: View > A Person's Reservations and View > Attendance for a
// person given on the command line, printing the lines their lists show.
#include "cli/CliCommand.h"
#include "cli/CliDocument.h"
#include "cli/CliGroup.h"
#include "reports/CAttendance.h"
#include "reports/CPersonReservations.h"
#include "tables/CDate.h"

#include <cstdio>

namespace orv::cli {
namespace ORV_UNITY_ID {

// The lines as the lists show them: the tab before the item stays a tab.
int printTabbed(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        std::string shown;
        std::size_t at = 0;
        for (std::size_t tab; (tab = line.find('\t', at)) != std::string::npos; at = tab + 1)
            shown += shownText(line.substr(at, tab - at)) + "\t";
        shown += shownText(line.substr(at));
        std::printf("%s\n", shown.c_str());
    }
    return std::fflush(stdout) == 0 ? kExitOk : kExitFailure;
}

bool personArg(const char* command, const std::string& text, CPeopleKey& person, int& status) {
    if (parsePerson(text, person)) return true;
    status = usage(command, "a person is LAST|FIRST|MI|DEPT: " + text);
    return false;
}

// ---- person-reservations -----------------------------------------------------------------------

constexpr const char* kReservations = "person-reservations";

int runReservations(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, {"date"}, {})) return usage(kReservations, args.error());
    const auto& p = args.positional();
    if (p.size() != 2) return usage(kReservations, "expects a group file and a person");
    CPeopleKey person;
    int status = 0;
    if (!personArg(kReservations, p[1], person, status)) return status;
    CDate from;
    if (auto text = args.value("date")) {
        std::string key;
        if (!parseDate(*text, key))
            return usage(kReservations, "not a date (YYYYMMDD or YYYY-MM-DD): " + *text);
        from = CDate::fromKey(key);
    }
    CliDocument d;
    if (!d.open(p[0]) || !d.hasPerson(kReservations, person, CPeople::Kind::MayReserve))
        return kExitFailure;
    CPersonReservations list(d.doc, person, from);
    return printTabbed(list.lines());
}

ORV_CLI_COMMAND(kReservations, "a person's reservations from today on",
                "usage: orvsched-cli person-reservations GROUP.sch LAST|FIRST|MI|DEPT\n"
                "                                      [--date DATE]\n"
                "\n"
                "Prints the reservations made for the person (one who can make reservations)\n"
                "from today on, or from DATE (YYYYMMDD or YYYY-MM-DD), in schedule order (date,\n"
                "item, start), as \"A Person's Reservations\" lists them, a tab before the item:\n"
                "  12/08/2026   09:00 AM   10:30 AM \\tBoardroom   (Note)\n"
                "\n"
                "Exit status: 0 success (also without reservations), 1 the group or the person\n"
                "cannot be found, 2 bad usage.\n",
                runReservations);

// ---- attendance --------------------------------------------------------------------------------

constexpr const char* kAttendance = "attendance";

int runAttendance(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, {}, {})) return usage(kAttendance, args.error());
    const auto& p = args.positional();
    if (p.size() != 2) return usage(kAttendance, "expects a group file and a person");
    CPeopleKey person;
    int status = 0;
    if (!personArg(kAttendance, p[1], person, status)) return status;
    CliDocument d;
    if (!d.open(p[0])) return kExitFailure;
    if (!d.doc.attendeeAvailable())
        return fail(kAttendance, "the attendee function of this group is not available");
    if (!d.hasPerson(kAttendance, person, CPeople::Kind::Attendee)) return kExitFailure;
    CAttendance list(d.doc, person);
    return printTabbed(list.lines());
}

ORV_CLI_COMMAND(kAttendance, "the reservations an attendee is on the attendee list of",
                "usage: orvsched-cli attendance GROUP.sch LAST|FIRST|MI|DEPT\n"
                "\n"
                "Prints every reservation, past and future, whose attendee list holds the\n"
                "person (an attendee of the group), in date, item and start order, as\n"
                "\"Attendance\" lists them, a tab before the item and the reservation's note:\n"
                "  12/08/2026  09:00AM  \\tBoardroom (Weekly review)\n"
                "\n"
                "Exit status: 0 success (also when the person attends nothing), 1 the group or\n"
                "the person cannot be found or the group has no attendee function, 2 bad usage.\n",
                runAttendance);

} // namespace ORV_UNITY_ID
} // namespace orv::cli
