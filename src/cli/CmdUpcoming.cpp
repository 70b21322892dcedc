// upcoming: a person's reservations and attendances starting within a span from now, for a
// timer script that sends reminders without the desktop program.
#include "cli/CliCommand.h"
#include "cli/CliDocument.h"
#include "cli/CliGroup.h"
#include "reminders/CAgenda.h"
#include "reservations/CReservationText.h"
#include "tables/CClock.h"
#include "tables/Cp1252.h"

#include <cstdio>
#include <string>

namespace orv::cli {
namespace ORV_UNITY_ID {

constexpr const char* kUpcoming = "upcoming";

// "30m", "2h", "1d": the span in seconds, or -1.
long spanSeconds(const std::string& text) {
    if (text.size() < 2) return -1;
    const std::string digits = text.substr(0, text.size() - 1);
    if (digits.find_first_not_of("0123456789") != std::string::npos || digits.size() > 6)
        return -1;
    const long n = std::stol(digits);
    switch (text.back()) {
    case 'm': return n * 60;
    case 'h': return n * 3600;
    case 'd': return n * 86400;
    default: return -1;
    }
}

std::string jsonText(const std::string& stored) {
    std::string out = "\"";
    for (unsigned char c : cp1252ToUtf8(stored)) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::string hhmm(int hour, int minute) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d:%02d", hour, minute);
    return text;
}

int runUpcoming(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, {"person", "within", "format"}, {})) return usage(kUpcoming, args.error());
    const auto& p = args.positional();
    if (p.size() != 1) return usage(kUpcoming, "expects a group file");
    const auto personText = args.value("person");
    if (!personText) return usage(kUpcoming, "--person is required");
    CPeopleKey person;
    if (!parsePerson(*personText, person))
        return usage(kUpcoming, "a person is LAST|FIRST|MI|DEPT: " + *personText);
    const long span = spanSeconds(args.value("within").value_or("1d"));
    if (span <= 0) return usage(kUpcoming, "--within takes minutes, hours or days: 30m, 2h, 1d");
    const std::string format = args.value("format").value_or("text");
    if (format != "text" && format != "json")
        return usage(kUpcoming, "--format is text or json: " + format);

    CliDocument d;
    if (!d.open(p[0])) return kExitFailure;
    if (d.doc.people().seekPerson(person) != 0)
        return fail(kUpcoming, "no such person in the group: " + *personText);
    const std::time_t now = CClock::current().now();
    std::vector<CAgendaEntry> entries;
    if (CAgenda::collect(d.doc, person, now, now + span, entries) != 0)
        return fail(kUpcoming, "the schedule could not be read");

    std::string out = format == "json" ? "[" : "";
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const CAgendaEntry& e = entries[i];
        if (format == "json") {
            const std::string date = e.date.key();
            out += std::string(i ? ",\n " : "\n ") + "{\"date\": \"" + date.substr(0, 4) + "-" +
                   date.substr(4, 2) + "-" + date.substr(6, 2) + "\", \"start\": \"" +
                   hhmm(e.startHour, e.startMinute) + "\", \"end\": \"" +
                   hhmm(e.endHour, e.endMinute) + "\", \"item\": " + jsonText(e.item) +
                   ", \"note\": " + jsonText(e.note) +
                   ", \"attending\": " + (e.attending ? "true" : "false") +
                   ", \"minutes\": " + std::to_string((e.start - now + 59) / 60) + "}";
        } else {
            out += CReservationText::shortDate(e.date) + "  " +
                   CReservationText::dayListTime(e.startHour, e.startMinute) + " - " +
                   CReservationText::dayListTime(e.endHour, e.endMinute) + "  " +
                   shownText(e.item) + (e.attending ? "  (attending)" : "") +
                   (e.note.empty() ? "" : "  " + shownText(e.note)) + "\n";
        }
    }
    if (format == "json") out += entries.empty() ? "]\n" : "\n]\n";
    std::fputs(out.c_str(), stdout);
    return std::fflush(stdout) == 0 ? kExitOk : kExitFailure;
}

ORV_CLI_COMMAND(kUpcoming, "a person's reservations and attendances starting soon",
                "usage: orvsched-cli upcoming GROUP.sch --person LAST|FIRST|MI|DEPT\n"
                "                             [--within 30m|2h|1d] [--format text|json]\n"
                "\n"
                "Prints the reservations made for the person and those whose attendee list\n"
                "holds them that start from now to the end of the span (a day unless told),\n"
                "in start order, for a timer that sends reminders:\n"
                "  12/10/2026  09:00 AM - 10:00 AM  Boardroom  (attending)  Budget\n"
                "With --format json: an array of objects with date, start, end, item, note,\n"
                "attending and minutes (until the start).\n"
                "\n"
                "Exit status: 0 success (also when nothing is coming), 1 the group or the\n"
                "person cannot be found or the schedule cannot be read, 2 bad usage.\n",
                runUpcoming);

} // namespace ORV_UNITY_ID
} // namespace orv::cli
