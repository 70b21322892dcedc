// orvsched-cli export: the reservations of a date range as iCalendar or CSV, as File > Export...
// writes them, on standard output or into a file.
#include "cli/CliCommand.h"
#include "cli/CliDocument.h"
#include "cli/CliGroup.h"
#include "exports/CCalendarExport.h"
#include "exports/CCalendarFeed.h"
#include "tables/Cp1252.h"

#include <cstdio>

namespace orv::cli {
namespace ORV_UNITY_ID {

constexpr const char* kName = "export";

int run(const std::vector<std::string>& given) {
    // -o is the one short option.
    std::vector<std::string> argv = given;
    for (std::string& a : argv)
        if (a == "-o") a = "--output";
    CliArgs args;
    if (!args.parse(argv, {"format", "item", "person", "output"}, {"floating"}))
        return usage(kName, args.error());
    const auto& p = args.positional();
    if (p.size() != 3) return usage(kName, "expects a group file and two dates");
    CExportFilter filter;
    std::string key;
    if (!parseDate(p[1], key)) return usage(kName, "not a date (YYYYMMDD or YYYY-MM-DD): " + p[1]);
    filter.from = CDate::fromKey(key);
    if (!parseDate(p[2], key)) return usage(kName, "not a date (YYYYMMDD or YYYY-MM-DD): " + p[2]);
    filter.to = CDate::fromKey(key);
    if (filter.to < filter.from) return usage(kName, "the last date is before the first");
    const std::string format = args.value("format").value_or("");
    if (format != "ics" && format != "csv") return usage(kName, "--format is ics or csv");
    for (const std::string& text : args.values("person")) {
        CPeopleKey person;
        if (!parsePerson(text, person)) return usage(kName, "--person takes LAST|FIRST|MI|DEPT");
        filter.people.push_back(person);
    }
    CliDocument d;
    if (!d.open(p[0])) return kExitFailure;
    for (const std::string& name : args.values("item")) {
        if (d.item(kName, name) < 0) return kExitFailure;
        filter.items.push_back(utf8ToCp1252(name));
    }
    const auto out = args.value("output");
    std::string text;
    const int rc = CCalendarExport::render(d.doc, filter,
                                           format == "ics" ? CCalendarExport::Format::ics
                                                           : CCalendarExport::Format::csv,
                                           out.value_or(""), text, nullptr, args.has("floating"));
    if (rc != 0) return fail(kName, "reading the schedule failed (" + std::to_string(rc) + ")");
    if (out) {
        std::string error;
        if (!CCalendarExport::writeFile(*out, text, error)) return fail(kName, error);
        return kExitOk;
    }
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0)
        return fail(kName, "cannot write the output");
    return kExitOk;
}

} // namespace ORV_UNITY_ID

ORV_CLI_COMMAND(
    kName, "export reservations as iCalendar or CSV",
    "usage: orvsched-cli export GROUP.sch FROM TO --format ics|csv [--item NAME]...\n"
    "                           [--person LAST|FIRST|MI|DEPT]... [--floating] [-o FILE]\n"
    "\n"
    "Writes the reservations and blockouts dated FROM through TO (YYYYMMDD or\n"
    "YYYY-MM-DD) as an iCalendar file (RFC 5545: one event each, with the note, the\n"
    "attendees and a UID that stays the same from export to export; a series made by a\n"
    "repeat rule is one event with its rule and the dates it leaves out) or as CSV\n"
    "(RFC 4180, UTF-8, a header row). --item and --person keep only those items and\n"
    "people (a person filter leaves out the blockouts). iCalendar times carry the\n"
    "local time zone (TZ); --floating writes floating times instead, shown at the same\n"
    "clock time in every zone. The output goes to standard output, or with -o to FILE\n"
    "(written whole, then renamed into place). Nothing of the group is changed.\n"
    "\n"
    "Exit status: 0 success, 1 the group cannot be read or the file written, 2 bad usage.\n",
    run);

namespace ORV_UNITY_ID {

constexpr const char* kFeed = "calendar-file";

int runFeed(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, {}, {})) return usage(kFeed, args.error());
    if (args.positional().size() != 2)
        return usage(kFeed, "expects a group file and the calendar file to write");
    CliDocument d;
    if (!d.open(args.positional()[0])) return kExitFailure;
    std::string error;
    if (!CCalendarFeed::write(d.doc, args.positional()[1], &error)) return fail(kFeed, error);
    return kExitOk;
}

} // namespace ORV_UNITY_ID

ORV_CLI_COMMAND(
    kFeed, "write the group's calendar file once",
    "usage: orvsched-cli calendar-file GROUP.sch FILE.ics\n"
    "\n"
    "Writes the calendar file that File > Calendar File keeps: the group's reservations\n"
    "from a month back to a year ahead as iCalendar, written whole and then renamed\n"
    "into place, so that a calendar program reading it never sees half a file. Run it\n"
    "from cron to keep a calendar file without the desktop program.\n"
    "\n"
    "Exit status: 0 written, 1 the group cannot be read or the file written, 2 bad usage.\n",
    runFeed);

} // namespace orv::cli
