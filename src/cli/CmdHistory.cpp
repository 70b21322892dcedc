// history, undo, redo, restore: the group's journal from the command line.
#include "cli/CliCommand.h"
#include "cli/CliDocument.h"
#include "cli/CliGroup.h"
#include "history/CHistory.h"
#include "history/CJournalUndo.h"
#include "tables/Cp1252.h"

#include <algorithm>
#include <cstdlib>

namespace orv::cli {
namespace ORV_UNITY_ID {

// The lines of the entries of the group's last batch: what the command just wrote.
bool printLastBatch(CliDocument& d) {
    std::vector<CHistoryEntry> entries;
    if (CHistory::load(d.doc.journal(), entries) != 0 || entries.empty()) return true;
    std::vector<std::string> lines;
    for (const CHistoryEntry* e : CHistory::newestFirst(entries, {}))
        if (e->batch == entries.back().batch) lines.push_back(CHistory::line(*e));
    return printLines(lines);
}

// ---- history -----------------------------------------------------------------------------------

constexpr const char* kHistory = "history";

int runHistory(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, {"from", "to", "item", "person", "user", "kind"}, {}))
        return usage(kHistory, args.error());
    if (args.positional().size() != 1) return usage(kHistory, "expects a group file");
    CHistoryFilter filter;
    for (auto [option, date] : {std::pair{"from", &filter.from}, std::pair{"to", &filter.to}}) {
        if (auto v = args.value(option)) {
            std::string key;
            if (!parseDate(*v, key))
                return usage(kHistory, "not a date (YYYYMMDD or YYYY-MM-DD): " + *v);
            *date = CDate::fromKey(key);
        }
    }
    if (auto v = args.value("item")) filter.item = utf8ToCp1252(*v);
    if (auto v = args.value("person")) {
        CPeopleKey key;
        if (!parsePerson(*v, key)) return usage(kHistory, "--person takes LAST|FIRST|MI|DEPT");
        filter.person = key;
    }
    if (auto v = args.value("user")) filter.user = *v;
    if (auto v = args.value("kind")) {
        const auto& kinds = CHistory::kinds();
        if (std::find(kinds.begin(), kinds.end(), *v) == kinds.end())
            return usage(kHistory, "not a kind of change: " + *v);
        filter.kind = *v;
    }
    CliDocument d;
    if (!d.open(args.positional()[0])) return kExitFailure;
    std::vector<CHistoryEntry> entries;
    if (!d.doc.journal().isOpen() || CHistory::load(d.doc.journal(), entries) != 0)
        return fail(kHistory, CJournalUndo::kNoHistory);
    std::vector<std::string> lines;
    for (const CHistoryEntry* e : CHistory::newestFirst(entries, filter))
        lines.push_back(CHistory::line(*e));
    return printLines(lines) ? kExitOk : kExitFailure;
}

ORV_CLI_COMMAND(
    kHistory, "list the changes this program made to a group, newest first",
    "usage: orvsched-cli history GROUP.sch [--from DATE] [--to DATE] [--item NAME]\n"
    "           [--person LAST|FIRST|MI|DEPT] [--user LOGIN] [--kind KIND]\n"
    "\n"
    "Prints the group's history as View > History shows it, newest first, one line a\n"
    "change: its entry number (which 'restore' takes), the date and time, login@host,\n"
    "the kind of change, the record in words and the reason when one was given. The\n"
    "options keep only the changes made between two dates (inclusive), of one item,\n"
    "touching one person, made by one user or of one kind: made, cancelled,\n"
    "terminated, changed, attendees, \"blocked out\", \"blockout removed\", \"deleted old\",\n"
    "\"person added\", \"person changed\", \"person deleted\", \"item added\", \"item changed\",\n"
    "\"item deleted\", restored, undone, redone.\n"
    "\n"
    "Only this program's changes are in the history: other programs that share the\n"
    "group's tables change them without an entry.\n"
    "\n"
    "Exit status: 0 listed, 1 the group or its history could not be read, 2 bad usage.\n",
    runHistory);

// ---- undo, redo --------------------------------------------------------------------------------

int runStep(const char* command, const std::vector<std::string>& argv, bool undo) {
    CliArgs args;
    if (!args.parse(argv, {}, {})) return usage(command, args.error());
    if (args.positional().size() != 1) return usage(command, "expects a group file");
    CliDocument d;
    if (!d.open(args.positional()[0])) return kExitFailure;
    CJournalUndo journal(d.doc);
    if (!(undo ? journal.undo() : journal.redo())) return kExitFailure;
    return printLastBatch(d) ? kExitOk : kExitPartial;
}

constexpr const char* kUndo = "undo";
int runUndo(const std::vector<std::string>& argv) {
    return runStep(kUndo, argv, true);
}

ORV_CLI_COMMAND(
    kUndo, "take back your most recent change of a group",
    "usage: orvsched-cli undo GROUP.sch [--reason TEXT]\n"
    "\n"
    "Takes back the most recent change you (your login name) made to the group through\n"
    "this program, also one made before, as Edit > Undo does, and prints the history\n"
    "lines it wrote. A change whose records another user changed since is refused with\n"
    "the change and the user named, and nothing is changed.\n"
    "\n"
    "Exit status: 0 undone, 1 nothing to undo or refused, 2 bad usage.\n",
    runUndo);

constexpr const char* kRedo = "redo";
int runRedo(const std::vector<std::string>& argv) {
    return runStep(kRedo, argv, false);
}

ORV_CLI_COMMAND(
    kRedo, "make again the change your last undo took back",
    "usage: orvsched-cli redo GROUP.sch [--reason TEXT]\n"
    "\n"
    "Makes again what your last undo in the group took back, as Edit > Redo does, until\n"
    "you make another change; prints the history lines it wrote.\n"
    "\n"
    "Exit status: 0 made again, 1 nothing to redo or refused, 2 bad usage.\n",
    runRedo);

// ---- restore -----------------------------------------------------------------------------------

constexpr const char* kRestore = "restore";

int runRestore(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, {}, {})) return usage(kRestore, args.error());
    if (args.positional().size() != 2)
        return usage(kRestore, "expects a group file and an entry number");
    char* end = nullptr;
    const long entry = std::strtol(args.positional()[1].c_str(), &end, 10);
    if (entry <= 0 || *end != '\0')
        return usage(kRestore, "not an entry number: " + args.positional()[1]);
    CliDocument d;
    if (!d.open(args.positional()[0])) return kExitFailure;
    if (!CJournalUndo(d.doc).restore(entry)) return kExitFailure;
    return printLastBatch(d) ? kExitOk : kExitPartial;
}

ORV_CLI_COMMAND(
    kRestore, "write again a reservation, series or blockout that was cancelled",
    "usage: orvsched-cli restore GROUP.sch ENTRY [--reason TEXT]\n"
    "\n"
    "Writes again what the change of history entry ENTRY cancelled (the number that\n"
    "begins its 'history' line): the reservation, every member of the series or every\n"
    "item of the blockout, with creation stamp, person, note, flags and attendee links.\n"
    "Each is checked for overlap under the schedule's lock as a new booking is; when a\n"
    "slot was taken meanwhile nothing is written. Prints the history lines it wrote.\n"
    "\n"
    "Exit status: 0 restored, 1 refused or failed (nothing written), 2 bad usage.\n",
    runRestore);

} // namespace ORV_UNITY_ID
} // namespace orv::cli
