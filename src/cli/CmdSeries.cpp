// series and modify: what a series is, and a change of it for one member, this and the following
// members, or all of them, run through the same logic as the reservation detail.
#include "cli/CliCommand.h"
#include "cli/CliDocument.h"
#include "cli/CliGroup.h"
#include "reservations/CItemDayModel.h"
#include "reservations/CRosterModel.h"
#include "reservations/CSeriesChange.h"
#include "reservations/CSeriesInfo.h"
#include "tables/CDate.h"
#include "tables/Cp1252.h"

#include <cstdio>

namespace orv::cli {
namespace ORV_UNITY_ID {

// GROUP ITEM DATE START: the reservation of the item starting then, or a status after telling.
struct Member {
    std::string group;
    std::string item;
    CDate date;
    int hour = 0;
    int minute = 0;
};

bool memberArgs(const char* command, const CliArgs& args, Member& m, int& status) {
    const auto& p = args.positional();
    if (p.size() != 4) {
        status = usage(command, "expects a group file, an item, a date and a start time");
        return false;
    }
    m.group = p[0];
    m.item = p[1];
    std::string key;
    if (!parseDate(p[2], key)) {
        status = usage(command, "not a date (YYYYMMDD or YYYY-MM-DD): " + p[2]);
        return false;
    }
    m.date = CDate::fromKey(key);
    if (!parseTime(p[3], m.hour, m.minute)) {
        status = usage(command, "not a time (HH:MM): " + p[3]);
        return false;
    }
    return true;
}

// The line of the member in its day list, or -1 after telling.
int memberLine(const char* command, CItemDayModel& day, const Member& m) {
    const int line = day.lineStartingAt(m.hour * 100 + m.minute);
    if (line < 0) {
        char when[16];
        std::snprintf(when, sizeof when, "%02d:%02d", m.hour, m.minute);
        fail(command, "no reservation of '" + m.item + "' starts at " + when + " on " +
                          shownDate(m.date.year, m.date.month, m.date.day));
    }
    return line;
}

// ---- series ------------------------------------------------------------------------------------

constexpr const char* kSeries = "series";

int runSeries(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, {}, {"book-free"})) return usage(kSeries, args.error());
    Member m;
    int status = 0;
    if (!memberArgs(kSeries, args, m, status)) return status;
    CliDocument d;
    if (!d.open(m.group)) return kExitFailure;
    const int index = d.item(kSeries, m.item);
    if (index < 0) return kExitFailure;
    CItemDayModel day(d.doc, index, m.date);
    const int line = memberLine(kSeries, day, m);
    if (line < 0) return kExitFailure;
    CSeriesInfo info(d.doc, day.recordAt(line));
    if (info.readFailure() != 0) return kExitFailure;
    if (args.has("book-free")) {
        const std::vector<CDate> free = info.freeNow();
        const int booked = info.bookSkipped(free);
        if (!printLines(info.lines())) return kExitFailure;
        return booked == static_cast<int>(free.size()) ? kExitOk
               : booked > 0                            ? kExitPartial
                                                       : kExitFailure;
    }
    return printLines(info.lines()) ? kExitOk : kExitFailure;
}

ORV_CLI_COMMAND(
    kSeries, "a series in words, its members and the dates it skipped",
    "usage: orvsched-cli series GROUP.sch ITEM DATE START [--book-free]\n"
    "\n"
    "For the reservation of ITEM starting at START (HH:MM) on DATE, prints the series\n"
    "it belongs to as the reservation detail shows it: the rule in words with the\n"
    "number of dates, one line per member (MM/DD/YYYY and its day list line), then the\n"
    "dates the series skipped (conflicts, blockouts, months without the day) and the\n"
    "dates left out. With --book-free the skipped dates that are free now are booked\n"
    "first, each checked under the schedule table's lock.\n"
    "\n"
    "Exit status: 0 success, 1 the group, the item or the reservation cannot be found\n"
    "or read (or --book-free booked none of the free dates), 2 bad usage, 3 some free\n"
    "dates were taken meanwhile.\n",
    runSeries);

// ---- modify ------------------------------------------------------------------------------------

constexpr const char* kModify = "modify";

int runModify(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(
            argv,
            {"scope", "start", "end", "item", "person", "note", "attendee", "remove-attendee"},
            {"show-note", "hide-note"}))
        return usage(kModify, args.error());
    Member m;
    int status = 0;
    if (!memberArgs(kModify, args, m, status)) return status;
    const std::string scopeName = args.value("scope").value_or("this");
    CSeriesChange::Scope scope = CSeriesChange::Scope::thisOne;
    if (scopeName == "following")
        scope = CSeriesChange::Scope::following;
    else if (scopeName == "all")
        scope = CSeriesChange::Scope::all;
    else if (scopeName != "this")
        return usage(kModify, "--scope is this, following or all");
    int sh = -1, sm = 0, eh = -1, em = 0;
    if (auto t = args.value("start"); t && !parseTime(*t, sh, sm))
        return usage(kModify, "not a time (HH:MM): " + *t);
    if (auto t = args.value("end"); t && !parseTime(*t, eh, em))
        return usage(kModify, "not a time (HH:MM): " + *t);
    CPeopleKey person;
    if (auto p = args.value("person"); p && !parsePerson(*p, person))
        return usage(kModify, "--person takes LAST|FIRST|MI|DEPT");
    std::vector<CPeopleKey> added, removed;
    for (const auto& [option, keys] :
         {std::pair{"attendee", &added}, std::pair{"remove-attendee", &removed}})
        for (const std::string& text : args.values(option)) {
            CPeopleKey k;
            if (!parsePerson(text, k))
                return usage(kModify, std::string("--") + option + " takes LAST|FIRST|MI|DEPT");
            keys->push_back(k);
        }
    if (args.has("show-note") && args.has("hide-note"))
        return usage(kModify, "--show-note and --hide-note cannot be given together");
    if (auto refusal = unstorableOption(args, {"note", "item"})) return fail(kModify, *refusal);
    const std::string note = utf8ToCp1252(args.value("note").value_or(""));
    if (note.size() > 80) return usage(kModify, "--note is longer than 80 characters");

    CliDocument d;
    if (!d.open(m.group)) return kExitFailure;
    const int index = d.item(kModify, m.item);
    if (index < 0) return kExitFailure;
    if (args.has("item") && d.item(kModify, *args.value("item")) < 0) return kExitFailure;
    if (args.has("person") && !d.hasPerson(kModify, person, CPeople::Kind::MayReserve))
        return kExitFailure;
    std::vector<long> addRecords, removeRecords;
    for (const auto& [keys, records] :
         {std::pair{&added, &addRecords}, std::pair{&removed, &removeRecords}})
        for (const CPeopleKey& k : *keys) {
            long record = 0;
            if (!d.hasPerson(kModify, k, CPeople::Kind::Attendee, &record)) return kExitFailure;
            records->push_back(record);
        }
    CItemDayModel day(d.doc, index, m.date);
    const int line = memberLine(kModify, day, m);
    if (line < 0) return kExitFailure;
    CSeriesChange change(d.doc, day.recordAt(line));
    if (!added.empty() || !removed.empty()) {
        if (!change.attendeesEnabled())
            return fail(kModify, "the attendee function of this group is not available");
        d.prompt.setDialog(CRosterModel::kId, [&](CDialogModel& dialog) {
            auto& roster = static_cast<CRosterModel&>(dialog);
            // "All Attendees" begins with "<Add a new person>", which is never moved.
            auto linesOf = [](const std::vector<CListLine>& lines, std::size_t from,
                              const std::vector<long>& wanted) {
                std::vector<int> out;
                for (std::size_t i = from; i < lines.size(); ++i)
                    for (long record : wanted)
                        if (lines[i].recordNumber == record) out.push_back(static_cast<int>(i));
                return out;
            };
            roster.moveLeft(linesOf(roster.attending(), 0, removeRecords));
            roster.moveRight(linesOf(roster.allAttendees(), 1, addRecords));
        });
        change.chooseAttendees(d.prompt);
    }
    change.scope = scope;
    if (sh >= 0) change.start = sh * 100 + sm;
    // An end of 00:00 is midnight, as in Make Reservation.
    if (eh >= 0) change.end = eh == 0 && em == 0 ? 2359 : eh * 100 + em;
    if (args.has("item")) change.item = utf8ToCp1252(*args.value("item"));
    if (args.has("person")) change.person = person;
    if (args.has("note")) change.note = note;
    if (args.has("show-note")) change.showNote = true;
    if (args.has("hide-note")) change.showNote = false;
    if (!change.onOk(d.prompt)) return kExitFailure;
    std::printf("%d changed\n", change.changed());
    std::fflush(stdout);
    return d.prompt.reportedError() ? kExitPartial : kExitOk;
}

ORV_CLI_COMMAND(
    kModify, "change a reservation, the rest of its series or all of it",
    "usage: orvsched-cli modify GROUP.sch ITEM DATE START --scope this|following|all\n"
    "                           [--start HH:MM] [--end HH:MM] [--item NAME]\n"
    "                           [--person LAST|FIRST|MI|DEPT] [--note TEXT]\n"
    "                           [--show-note | --hide-note]\n"
    "                           [--attendee P]... [--remove-attendee P]...\n"
    "\n"
    "Changes the reservation of ITEM starting at START on DATE (--scope this, the\n"
    "default), it and the later members of its series (following: they become a\n"
    "series of their own), or every member (all). Only the values given change; a\n"
    "member changed on its own keeps its other values. --attendee and --remove-attendee\n"
    "(LAST|FIRST|MI|DEPT, attendees of the group) add and remove people from the\n"
    "attendee list of every member in the scope. A new time or item is checked\n"
    "on every date under the schedule table's lock; when a date conflicts, nothing\n"
    "is written and the dates are named on standard error. Prints how many members\n"
    "changed.\n"
    "\n"
    "Exit status: 0 done, 1 refused or not found (nothing changed), 2 bad usage,\n"
    "3 some members could not be written.\n",
    runModify);

} // namespace ORV_UNITY_ID
} // namespace orv::cli
