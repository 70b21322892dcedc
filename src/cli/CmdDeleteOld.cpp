// orvsched-cli delete-old: deletes a group's reservations and attendee links dated before a day.
#include "cli/CliCommand.h"
#include "cli/CliDocument.h"
#include "cli/CliGroup.h"
#include "cli/CliTables.h"
#include "tables/CDate.h"
#include "tables/Cp1252.h"
#include "tables/CPeople.h"
#include "tables/CRosterLink.h"
#include "tables/CSchedule.h"

#include <cstdio>

namespace orv::cli {

namespace ORV_UNITY_ID {

constexpr const char* kName = "delete-old";

constexpr const char* kHelp =
    "usage: orvsched-cli delete-old GROUP.sch DATE [--yes]\n"
    "\n"
    "Deletes the group's schedule records dated before DATE (YYYYMMDD or YYYY-MM-DD) and,\n"
    "when the group has the attendee function (its schedule and people tables of the\n"
    "current format and a roster link table), its attendee links dated before it, as\n"
    "closing the group does. Records of DATE itself are kept. Prints the number of\n"
    "records and links deleted. Deleted records stay in the files, marked, until the\n"
    "tables are packed. A DATE after today would delete reservations still to come: it\n"
    "is refused, and nothing deleted, unless --yes is given.\n"
    "\n"
    "Exit status: 0 success, 1 the group or its schedule cannot be opened, or DATE is\n"
    "after today without --yes, 2 bad usage, 3 deleting stopped on an error after some\n"
    "records may have gone.\n";

// The document's messages stay unsaid: the command tells its own outcome.
class SilentPrompt : public CUserPrompt {
public:
    void message(const std::string&, const std::string&, PromptIcon) override {}
    bool ask(const std::string&, const std::string&) override { return false; }
    std::optional<std::string> chooseFile(const FileChoice&) override { return std::nullopt; }
    bool runDialog(CDialogModel&) override { return false; }
    void waitCursor(bool) override {}
};

int run(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, {}, {"yes"})) return usage(kName, args.error());
    if (args.positional().size() != 2) return usage(kName, "expects a group file and a date");
    const std::string path = args.positional()[0];
    std::string dateKey;
    if (!parseDate(args.positional()[1], dateKey))
        return usage(kName, "not a date (YYYYMMDD or YYYY-MM-DD): " + args.positional()[1]);
    if (dateKey > CDate::today().key() && !args.has("yes")) {
        const CDate date = CDate::fromKey(dateKey);
        return fail(kName, shownDate(date.year, date.month, date.day) +
                               " is after today: reservations still to come would be deleted. "
                               "Nothing was deleted; give --yes to delete them.");
    }
    CGroupFileData data;
    if (!readGroupFile(kName, path, data)) return kExitFailure;

    Code4 code;
    initGroupContext(code, false);
    CSchedule schedule(code);
    if (!openSchedule(kName, path, schedule)) return kExitFailure;
    // Attendee links are walked only where the group has the attendee function: both its
    // schedule and its people table of the current layout, and a roster link table. Otherwise
    // its schedule records alone are deleted, as when such a group is closed.
    CPeople people(code);
    const bool currentPeople =
        people.open(peopleTableOf(path, data), true) == 0 && !people.oldLayout();
    people.close();
    error4take(&code); // a group without a readable people table deletes its schedule alone
    CRosterLink links(code);
    if (!schedule.oldFormat() && currentPeople && links.open(path) != 0) error4take(&code);
    int count = 0, pending = 0;
    // Through the group's document where it opens, so that the deletion is in the group's
    // history; a group the document cannot open (its people table unreadable) still loses its
    // old schedule records.
    SilentPrompt silent;
    CMemorySettings settings;
    CORVSchedDoc doc(silent, settings);
    if (openDocument(doc, path)) {
        links.close();
        schedule.close();
        doc.setChangeReason(utf8ToCp1252(CliArgs::reason()));
        CJournalChange journal(doc, CJournalChange::kDeletedOld);
        count = doc.schedule().deleteOlderThan(
            dateKey, doc.attendeeAvailable() ? &doc.rosterLinks() : nullptr);
        pending = error4take(&doc.code());
    } else {
        error4take(&doc.code());
        count = schedule.deleteOlderThan(dateKey, &links);
        pending = error4take(&code);
        links.close();
        schedule.close();
    }
    // The walk stops at its first error; what it deleted before stays deleted.
    if (pending < 0) {
        fail(kName, "deleting: " + describeResult(pending));
        return count > 0 ? kExitPartial : kExitFailure;
    }
    std::printf("%d\n", count);
    return std::fflush(stdout) == 0 ? kExitOk : fail(kName, "cannot write the output");
}

} // namespace ORV_UNITY_ID

ORV_CLI_COMMAND(kName, "delete reservations and attendee links dated before a day", kHelp, run);

} // namespace orv::cli
