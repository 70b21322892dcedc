// itemday, reserve, cancel, terminate, detail and attendees: an item's day list and what its
// buttons do, run through the same logic as the desktop program's dialogs. The dialogs' values
// come from the command line; their messages go to standard error.
#include "cli/CliCommand.h"
#include "cli/CliDocument.h"
#include "cli/CliGroup.h"
#include "reservations/CAddReservation.h"
#include "reservations/CItemDayModel.h"
#include "reservations/CRosterModel.h"
#include "reservations/CSeriesPreview.h"
#include "reservations/CShowReservation.h"
#include "tables/CDate.h"
#include "tables/CSchedule.h"
#include "tables/Cp1252.h"

#include <cstdio>

namespace orv::cli {
namespace ORV_UNITY_ID {

int printed(const std::vector<std::string>& lines) {
    return printLines(lines) ? kExitOk : kExitFailure;
}

std::string hhmm(int hour, int minute) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d", hour, minute);
    return buffer;
}

// GROUP ITEM DATE [START] as the commands take them.
struct DayArgs {
    std::string group;
    std::string item;
    CDate date;
    int hour = -1;
    int minute = -1;
};

bool dayArgs(const char* command, const CliArgs& args, std::size_t count, DayArgs& out,
             int& status) {
    const auto& p = args.positional();
    if (p.size() != count) {
        status =
            usage(command, count == 4 ? "expects a group file, an item, a date and a start time"
                                      : "expects a group file, an item and a date");
        return false;
    }
    out.group = p[0];
    out.item = p[1];
    std::string key;
    if (!parseDate(p[2], key)) {
        status = usage(command, "not a date (YYYYMMDD or YYYY-MM-DD): " + p[2]);
        return false;
    }
    out.date = CDate::fromKey(key);
    if (count == 4 && !parseTime(p[3], out.hour, out.minute)) {
        status = usage(command, "not a time (HH:MM): " + p[3]);
        return false;
    }
    return true;
}

// The line of the reservation starting at the given time, or -1 after telling.
int lineAt(const char* command, CItemDayModel& day, const DayArgs& a) {
    const int line = day.lineStartingAt(a.hour * 100 + a.minute);
    if (line < 0)
        fail(command, "no reservation of '" + a.item + "' starts at " + hhmm(a.hour, a.minute) +
                          " on " + shownDate(a.date.year, a.date.month, a.date.day));
    return line;
}

// For each of `records`, whether the group's schedule holds it now (the same reservation: item,
// date, times, person and stamp): 1 held, 0 not, negative when it cannot be read. A command
// reports what is in the table afterwards, as another user would read it: a write may be undone
// on the way, and a delete that failed may still sit in the document's record buffer.
std::vector<int> inSchedule(const std::string& group, const std::vector<CScheduleRecord>& records) {
    Code4 code;
    initGroupContext(code, true);
    CSchedule schedule(code);
    const int opened = schedule.open(group);
    std::vector<int> held;
    for (const CScheduleRecord& record : records) {
        bool found = false;
        const int rc = opened != 0 ? opened
                                   : schedule.walkItemOnDate(record.dateKey(), record.itemName(),
                                                             [&](const CScheduleRecord& r) {
                                                                 found = r.sameReservation(record);
                                                                 return !found;
                                                             });
        held.push_back(rc < 0 ? error4take(&code, rc) : found ? 1 : 0);
    }
    return held;
}

// The status of a command that runs the detail dialog: `warnings` is the number of errors
// reported when the dialog opened (-1: it never did), `errors` the number at the end.
int dialogStatus(int warnings, int errors) {
    if (warnings < 0 || errors > warnings) return kExitFailure;
    return warnings > 0 ? kExitPartial : kExitOk;
}

// ---- itemday -----------------------------------------------------------------------------------

constexpr const char* kItemDay = "itemday";

int runItemDay(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, {}, {})) return usage(kItemDay, args.error());
    DayArgs a;
    int status = 0;
    if (!dayArgs(kItemDay, args, 3, a, status)) return status;
    CliDocument d;
    if (!d.open(a.group)) return kExitFailure;
    const int index = d.item(kItemDay, a.item);
    if (index < 0) return kExitFailure;
    CItemDayModel day(d.doc, index, a.date);
    return printed(day.lines());
}

ORV_CLI_COMMAND(
    kItemDay, "an item's reservations of a date, as its day list shows them",
    "usage: orvsched-cli itemday GROUP.sch ITEM DATE\n"
    "\n"
    "Prints the lines of the item's day list for DATE (YYYYMMDD or YYYY-MM-DD), one\n"
    "per record in start-time order, exactly as the dialog shows them:\n"
    "  09:00 AM   10:30 AM   Morgan, Alex J    (Note)\n"
    "\n"
    "Exit status: 0 success (also for a date without records), 1 the group or the item\n"
    "cannot be found, 2 bad usage.\n",
    runItemDay);

// ---- reserve -----------------------------------------------------------------------------------

constexpr const char* kReserve = "reserve";

int recurrenceCode(const std::string& name) {
    if (name == "daily") return CAddReservation::kDaily;
    if (name == "weekdays") return CAddReservation::kWeekdays;
    if (name == "weekly") return CAddReservation::kWeekly;
    if (name == "overnight") return CAddReservation::kOvernight;
    return -1;
}

int runReserve(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, {"person", "note", "repeat", "until", "attendee", "rrule", "exdate"},
                    {"show-note", "preview"}))
        return usage(kReserve, args.error());
    const auto& p = args.positional();
    if (p.size() != 5)
        return usage(kReserve, "expects a group file, an item, a date, a start and an end time");
    DayArgs a;
    a.group = p[0];
    a.item = p[1];
    std::string key;
    if (!parseDate(p[2], key))
        return usage(kReserve, "not a date (YYYYMMDD or YYYY-MM-DD): " + p[2]);
    a.date = CDate::fromKey(key);
    int sh = 0, sm = 0, eh = 0, em = 0;
    if (!parseTime(p[3], sh, sm)) return usage(kReserve, "not a time (HH:MM): " + p[3]);
    if (!parseTime(p[4], eh, em)) return usage(kReserve, "not a time (HH:MM): " + p[4]);
    CPeopleKey person;
    if (!args.value("person") || !parsePerson(*args.value("person"), person))
        return usage(kReserve, "--person LAST|FIRST|MI|DEPT is needed");
    int code = CAddReservation::kNone;
    CDate until = a.date;
    if (auto repeat = args.value("repeat")) {
        code = recurrenceCode(*repeat);
        if (code < 0) return usage(kReserve, "--repeat is daily, weekdays, weekly or overnight");
        if (!args.value("until") || !parseDate(*args.value("until"), key))
            return usage(kReserve, "--repeat needs --until DATE");
        until = CDate::fromKey(key);
    } else if (args.has("until")) {
        return usage(kReserve, "--until needs --repeat");
    }
    const std::string rrule = args.value("rrule").value_or("");
    if (args.has("rrule") && args.has("repeat"))
        return usage(kReserve, "--rrule and --repeat cannot be given together");
    if (args.has("preview") && !args.has("rrule") && !args.has("repeat"))
        return usage(kReserve, "--preview needs --rrule or --repeat");
    std::vector<CDate> exceptions;
    for (const std::string& text : args.values("exdate")) {
        if (rrule.empty()) return usage(kReserve, "--exdate needs --rrule");
        if (!parseDate(text, key))
            return usage(kReserve, "not a date (YYYYMMDD or YYYY-MM-DD): " + text);
        exceptions.push_back(CDate::fromKey(key));
    }
    if (auto refusal = unstorableOption(args, {"note"})) return fail(kReserve, *refusal);
    const std::string note = utf8ToCp1252(args.value("note").value_or(""));
    if (note.size() > static_cast<std::size_t>(CShowReservation::kNoteLimit))
        return usage(kReserve, "--note is longer than 80 characters");
    std::vector<CPeopleKey> attendees;
    for (const std::string& text : args.values("attendee")) {
        CPeopleKey k;
        if (!parsePerson(text, k)) return usage(kReserve, "--attendee takes LAST|FIRST|MI|DEPT");
        attendees.push_back(k);
    }

    CliDocument d;
    if (!d.open(a.group)) return kExitFailure;
    const int index = d.item(kReserve, a.item);
    if (index < 0 || !d.hasPerson(kReserve, person, CPeople::Kind::MayReserve)) return kExitFailure;
    std::vector<long> attendeeRecords;
    for (const CPeopleKey& k : attendees) {
        long record = 0;
        if (!d.hasPerson(kReserve, k, CPeople::Kind::Attendee, &record)) return kExitFailure;
        attendeeRecords.push_back(record);
    }
    if (!attendees.empty() && !d.doc.attendeeAvailable())
        return fail(kReserve, "the attendee function of this group is not available");

    d.prompt.setDialog(CAddReservation::kId, [&](CDialogModel& m) {
        auto& r = static_cast<CAddReservation&>(m);
        r.date = a.date;
        r.setStartTime(sh, sm);
        r.setEndTime(eh, em);
        r.note = note;
        r.showNote = args.has("show-note") && r.showNoteEnabled();
        r.setRecurrence(code);
        r.lastDate = until;
        r.attendees = !attendees.empty();
        r.selectedPerson = r.personLine(person);
        r.customRule = rrule;
        r.exceptions = exceptions;
        r.previewFirst = args.has("preview");
    });
    // --preview prints the preview's lines and cancels it: nothing is written.
    bool previewed = false;
    d.prompt.cancelDialog(CSeriesPreview::kId, [&](CDialogModel& m) {
        const auto& preview = static_cast<CSeriesPreview&>(m);
        std::vector<std::string> lines{preview.summary()};
        const auto more = preview.lines();
        lines.insert(lines.end(), more.begin(), more.end());
        previewed = printLines(lines);
    });
    if (args.has("preview")) {
        CItemDayModel day(d.doc, index, a.date);
        day.makeReservation();
        return previewed ? kExitOk : kExitFailure;
    }
    d.prompt.setDialog(CRosterModel::kId, [&](CDialogModel& m) {
        auto& roster = static_cast<CRosterModel&>(m);
        std::vector<int> lines;
        for (std::size_t i = 1; i < roster.allAttendees().size(); ++i)
            for (long record : attendeeRecords)
                if (roster.allAttendees()[i].recordNumber == record)
                    lines.push_back(static_cast<int>(i));
        roster.moveRight(lines);
        roster.includeLater = true;
    });
    CItemDayModel day(d.doc, index, a.date);
    const bool ok = day.makeReservation();
    // An overnight span refused on a later date is undone whole: its first days were written
    // and are gone again.
    const std::vector<int> held = inSchedule(a.group, day.lastWritten());
    int kept = 0;
    for (std::size_t i = 0; i < held.size(); ++i) {
        if (held[i] == 0) continue;
        ++kept;
        const CScheduleRecord& r = day.lastWritten()[i];
        std::printf("%s %s-%s %s\n", shownDate(r.year(), r.month(), r.day()).c_str(),
                    hhmm(r.startHour(), r.startMinute()).c_str(),
                    hhmm(r.endHour(), r.endMinute()).c_str(), shownText(r.itemName()).c_str());
    }
    std::fflush(stdout);
    if (kept == 0) return kExitFailure;
    // A date refused, or attendees not linked.
    const bool all = ok && kept == day.lastRequested() && !d.prompt.reportedError();
    return all ? kExitOk : kExitPartial;
}

ORV_CLI_COMMAND(
    kReserve, "make a reservation or a series",
    "usage: orvsched-cli reserve GROUP.sch ITEM DATE START END --person LAST|FIRST|MI|DEPT\n"
    "                            [--note TEXT] [--show-note]\n"
    "                            [--repeat daily|weekdays|weekly|overnight --until DATE]\n"
    "                            [--rrule RULE [--exdate DATE]...] [--preview]\n"
    "                            [--attendee LAST|FIRST|MI|DEPT]...\n"
    "\n"
    "Reserves ITEM for the person (one who can make reservations) as OK in the Make\n"
    "Reservation dialog does: START and END are HH:MM (24-hour; an END of 00:00 means\n"
    "midnight), DATE and --until are YYYYMMDD or YYYY-MM-DD. Each date is checked for\n"
    "overlap and written under the schedule table's lock. With --attendee the people\n"
    "named (attendees of the group) are linked to every date written. Conflicts and\n"
    "other refusals are the dialog's messages, on standard error.\n"
    "Prints one line per date in the schedule afterwards: YYYY-MM-DD HH:MM-HH:MM ITEM\n"
    "(an overnight span with a refused later date is taken back whole).\n"
    "\n"
    "--rrule books the dates of an RFC 5545 rule from DATE on, for example\n"
    "FREQ=MONTHLY;BYDAY=1MO;COUNT=12 or FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,WE;UNTIL=20270331;\n"
    "--exdate leaves a date of it out. At most 1,000 dates within ten years. A month\n"
    "without the asked-for day (a 31st, a fifth Monday) is listed as skipped.\n"
    "--preview prints the series in words and each date with its state (free,\n"
    "conflicts with the reservation in the way, blocked out, skipped, left out) and\n"
    "writes nothing.\n"
    "\n"
    "Exit status: 0 every date of the request was written, 1 none was, 2 bad usage,\n"
    "3 some dates were written and others refused, or the attendees were not linked.\n",
    runReserve);

// ---- cancel ------------------------------------------------------------------------------------

constexpr const char* kCancel = "cancel";

int runCancel(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, {"until"}, {"series"})) return usage(kCancel, args.error());
    DayArgs a;
    int status = 0;
    if (!dayArgs(kCancel, args, 4, a, status)) return status;
    CDate until;
    if (auto v = args.value("until")) {
        std::string key;
        if (!args.has("series")) return usage(kCancel, "--until needs --series");
        if (!parseDate(*v, key))
            return usage(kCancel, "not a date (YYYYMMDD or YYYY-MM-DD): " + *v);
        until = CDate::fromKey(key);
    }
    CliDocument d;
    d.prompt.setAnswer(CItemDayModel::kConfirmCancel, true);
    d.prompt.setAnswer(CItemDayModel::kSeriesQuestion, args.has("series"));
    if (!d.open(a.group)) return kExitFailure;
    const int index = d.item(kCancel, a.item);
    if (index < 0) return kExitFailure;
    CItemDayModel day(d.doc, index, a.date);
    const int line = lineAt(kCancel, day, a);
    if (line < 0) return kExitFailure;
    day.select(line);
    if (until.isSet()) {
        if (day.cancelSeriesRange(a.date, until) == 0) return kExitFailure;
        return d.prompt.reportedError() ? kExitPartial : kExitOk;
    }
    const CScheduleRecord chosen = day.recordAt(line);
    day.cancelReservation();
    // The table says whether it went: a delete that failed was reported, and nothing else tells.
    const int left = inSchedule(a.group, {chosen}).front();
    if (left > 0 || (left < 0 && !day.changed())) return kExitFailure;
    return d.prompt.reportedError() ? kExitPartial : kExitOk;
}

ORV_CLI_COMMAND(
    kCancel, "cancel a reservation, or the rest (or a part) of its series",
    "usage: orvsched-cli cancel GROUP.sch ITEM DATE START [--series [--until DATE]]\n"
    "\n"
    "Cancels the reservation (or blockout) of ITEM that starts at START (HH:MM) on DATE,\n"
    "with its attendee links, as Cancel Reservation in the item's day list does. With\n"
    "--series the later members of its series go too (an overnight span always loses\n"
    "its following days); with --until as well only the members dated up to that date,\n"
    "as Cancel Part of Series does.\n"
    "\n"
    "Exit status: 0 cancelled, 1 not found, refused or the delete failed (the reservation\n"
    "is still there), 2 bad usage, 3 cancelled with an error reported on the way.\n",
    runCancel);

// ---- terminate ---------------------------------------------------------------------------------

constexpr const char* kTerminate = "terminate";

int runTerminate(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, {}, {})) return usage(kTerminate, args.error());
    if (args.positional().size() != 2) return usage(kTerminate, "expects a group file and an item");
    CliDocument d;
    d.prompt.setAnswer(CItemDayModel::kConfirmTerminate, true);
    if (!d.open(args.positional()[0])) return kExitFailure;
    const int index = d.item(kTerminate, args.positional()[1]);
    if (index < 0) return kExitFailure;
    CItemDayModel day(d.doc, index);
    for (int i = 0; i < day.lineCount(); ++i)
        if (day.recordAt(i).isActiveNow()) day.select(i);
    if (day.selected() < 0) {
        d.prompt.message(CItemDayModel::kOnlyActive, CItemDayModel::kOnlyActiveTitle,
                         PromptIcon::error);
        return kExitFailure;
    }
    day.terminateReservation();
    if (!day.changed()) return kExitFailure;
    return d.prompt.reportedError() ? kExitPartial : kExitOk;
}

ORV_CLI_COMMAND(kTerminate, "end the item's running reservation now",
                "usage: orvsched-cli terminate GROUP.sch ITEM\n"
                "\n"
                "Ends the reservation of ITEM that is running at this minute, as Terminate\n"
                "Reservation does: its end becomes the current time; the following days of an\n"
                "overnight span are cancelled.\n"
                "\n"
                "Exit status: 0 terminated, 1 nothing running or refused, 2 bad usage, 3\n"
                "terminated with an error reported on the way.\n",
                runTerminate);

// ---- detail ------------------------------------------------------------------------------------

constexpr const char* kDetail = "detail";

void printDetail(const CShowReservation& s) {
    const std::pair<const char*, std::string> rows[] = {
        {"Reservation Date", s.dateText()}, {"Start", s.startText()}, {"End", s.endText()},
        {"Reserved For", s.reservedFor()},  {"Phone", s.phone()},     {"Dept", s.department()},
        {"Location", s.location()},         {"Notes", s.note},
    };
    for (const auto& [label, value] : rows)
        std::printf("%s: %s\n", label, shownText(value).c_str());
    if (s.recurring()) std::printf("%s\n", s.recurringText().c_str());
}

int runDetail(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, {"note", "show-note"}, {})) return usage(kDetail, args.error());
    DayArgs a;
    int status = 0;
    if (!dayArgs(kDetail, args, 4, a, status)) return status;
    if (auto refusal = unstorableOption(args, {"note"})) return fail(kDetail, *refusal);
    std::optional<std::string> note;
    if (auto v = args.value("note")) {
        note = utf8ToCp1252(*v);
        if (note->size() > static_cast<std::size_t>(CShowReservation::kNoteLimit))
            return usage(kDetail, "--note is longer than 80 characters");
    }
    std::optional<bool> showNote;
    if (auto v = args.value("show-note")) {
        if (*v != "on" && *v != "off") return usage(kDetail, "--show-note is on or off");
        showNote = *v == "on";
    }
    CliDocument d;
    if (!d.open(a.group)) return kExitFailure;
    const int index = d.item(kDetail, a.item);
    if (index < 0) return kExitFailure;
    CItemDayModel day(d.doc, index, a.date);
    const int line = lineAt(kDetail, day, a);
    if (line < 0) return kExitFailure;
    // Errors before the dialog (its person gone) are warnings: the reservation is shown and
    // changed all the same. An error after it means the change was not written.
    int warnings = -1;
    d.prompt.setDialog(CShowReservation::kId, [&](CDialogModel& m) {
        auto& s = static_cast<CShowReservation&>(m);
        if (note) s.note = *note;
        s.showNote = showNote;
        printDetail(s);
        warnings = d.prompt.errorsReported();
    });
    day.select(line);
    day.showReservation();
    std::fflush(stdout);
    return dialogStatus(warnings, d.prompt.errorsReported());
}

ORV_CLI_COMMAND(kDetail, "show a reservation, or change its note",
                "usage: orvsched-cli detail GROUP.sch ITEM DATE START [--note TEXT]\n"
                "                           [--show-note on|off]\n"
                "\n"
                "Prints the Reservation Detail of the reservation of ITEM that starts at START\n"
                "(HH:MM) on DATE, one 'Label: value' line each, with the note as changed. --note\n"
                "and --show-note change the reservation and the later members of its series, as\n"
                "OK in the detail dialog does for the note.\n"
                "\n"
                "Exit status: 0 success, 1 not found or refused, 2 bad usage, 3 shown (and\n"
                "changed) with a warning, such as its person no longer being in the group.\n",
                runDetail);

// ---- attendees ---------------------------------------------------------------------------------

constexpr const char* kAttendees = "attendees";

int runAttendees(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, {"set"}, {"include-later"})) return usage(kAttendees, args.error());
    DayArgs a;
    int status = 0;
    if (!dayArgs(kAttendees, args, 4, a, status)) return status;
    std::vector<CPeopleKey> wanted;
    for (const std::string& text : args.values("set")) {
        CPeopleKey k;
        if (!parsePerson(text, k)) return usage(kAttendees, "--set takes LAST|FIRST|MI|DEPT");
        wanted.push_back(k);
    }
    const bool setting = args.has("set");
    CliDocument d;
    if (!d.open(a.group)) return kExitFailure;
    if (!d.doc.attendeeAvailable())
        return fail(kAttendees, "the attendee function of this group is not available");
    const int index = d.item(kAttendees, a.item);
    if (index < 0) return kExitFailure;
    std::vector<long> records;
    for (const CPeopleKey& k : wanted) {
        long record = 0;
        if (!d.hasPerson(kAttendees, k, CPeople::Kind::Attendee, &record)) return kExitFailure;
        records.push_back(record);
    }
    CItemDayModel day(d.doc, index, a.date);
    const int line = lineAt(kAttendees, day, a);
    if (line < 0) return kExitFailure;
    const CScheduleRecord& r = day.recordAt(line);
    std::vector<std::string> shown;
    if (!setting) {
        CRosterModel roster(d.doc, CRosterModel::Mode::Existing, r.recurEndYear() != 0, r.date(),
                            r.startHour(), r.startMinute(), r.endHour(), r.endMinute(),
                            r.itemName());
        for (const CListLine& l : roster.attending())
            shown.push_back(l.text);
        d.doc.attendees().clear();
        return printed(shown);
    }
    int warnings = -1; // as for detail
    d.prompt.setDialog(CShowReservation::kId, [](CDialogModel& m) {
        static_cast<CShowReservation&>(m).viewAttendees = true;
    });
    d.prompt.setDialog(CRosterModel::kId, [&](CDialogModel& m) {
        auto& roster = static_cast<CRosterModel&>(m);
        std::vector<int> all(roster.attending().size());
        for (std::size_t i = 0; i < all.size(); ++i)
            all[i] = static_cast<int>(i);
        roster.moveLeft(all);
        std::vector<int> lines;
        for (std::size_t i = 1; i < roster.allAttendees().size(); ++i)
            for (long record : records)
                if (roster.allAttendees()[i].recordNumber == record)
                    lines.push_back(static_cast<int>(i));
        roster.moveRight(lines);
        roster.includeLater = args.has("include-later");
        for (const CListLine& l : roster.attending())
            shown.push_back(l.text);
        warnings = d.prompt.errorsReported();
    });
    day.select(line);
    day.showReservation();
    const int outcome = dialogStatus(warnings, d.prompt.errorsReported());
    if (outcome == kExitFailure) return outcome;
    return printed(shown) == kExitOk ? outcome : kExitPartial;
}

ORV_CLI_COMMAND(kAttendees, "list or replace a reservation's attendees",
                "usage: orvsched-cli attendees GROUP.sch ITEM DATE START\n"
                "                              [--set LAST|FIRST|MI|DEPT]... [--include-later]\n"
                "\n"
                "Prints the attendee list (Attending This Reservation) of the reservation of ITEM\n"
                "that starts at START (HH:MM) on DATE. With --set the list becomes exactly the\n"
                "people named (attendees of the group), as OK in the attendee dialog does; with\n"
                "--include-later the change reaches the later members of its series too. The new\n"
                "list is printed.\n"
                "\n"
                "Exit status: 0 success, 1 not found or refused, 2 bad usage, 3 changed with a\n"
                "warning, such as the reservation's person no longer being in the group.\n",
                runAttendees);

} // namespace ORV_UNITY_ID
} // namespace orv::cli
