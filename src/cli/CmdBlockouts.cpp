// blockout, blockout-remove and blockouts: Edit > Specify Blockout Date and Remove Blockout Date,
// run through the dialogs' own logic. The dialogs' messages go to standard error.
#include "cli/CliCommand.h"
#include "cli/CliDocument.h"
#include "cli/CliGroup.h"
#include "reservations/CBlockoutModel.h"
#include "reservations/CRemoveBlockoutModel.h"
#include "tables/CDate.h"

#include <algorithm>
#include <set>

namespace orv::cli {
namespace ORV_UNITY_ID {

bool dateArg(const char* command, const std::string& text, CDate& date, int& status) {
    std::string key;
    if (!parseDate(text, key)) {
        status = usage(command, "not a date (YYYYMMDD or YYYY-MM-DD): " + text);
        return false;
    }
    date = CDate::fromKey(key);
    return true;
}

// The indices of the items named by --item, or false after telling.
bool itemArgs(const char* command, CliDocument& d, const CliArgs& args, std::set<int>& items) {
    for (const std::string& name : args.values("item")) {
        const int index = d.item(command, name);
        if (index < 0) return false;
        items.insert(index);
    }
    return true;
}

// ---- blockout ----------------------------------------------------------------------------------

constexpr const char* kBlockout = "blockout";

int runBlockout(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, {"item"}, {})) return usage(kBlockout, args.error());
    const auto& p = args.positional();
    if (p.size() != 4)
        return usage(kBlockout, "expects a group file, a date, a start and an end time");
    CDate date;
    int status = 0;
    if (!dateArg(kBlockout, p[1], date, status)) return status;
    int sh = 0, sm = 0, eh = 0, em = 0;
    if (!parseTime(p[2], sh, sm)) return usage(kBlockout, "not a time (HH:MM): " + p[2]);
    if (!parseTime(p[3], eh, em)) return usage(kBlockout, "not a time (HH:MM): " + p[3]);
    CliDocument d;
    if (!d.open(p[0])) return kExitFailure;
    std::set<int> items;
    if (!itemArgs(kBlockout, d, args, items)) return kExitFailure;
    d.prompt.setDialog(CBlockoutModel::kId, [&](CDialogModel& m) {
        auto& b = static_cast<CBlockoutModel&>(m);
        b.date = date;
        b.startHour = sh;
        b.startMinute = sm;
        b.endHour = eh;
        b.endMinute = em;
        b.selected = items;
    });
    CBlockoutModel model(d.doc);
    if (d.prompt.runDialog(model)) return kExitOk;
    return model.blocked().empty() ? kExitFailure : kExitPartial;
}

ORV_CLI_COMMAND(kBlockout, "block items for a span of a date",
                "usage: orvsched-cli blockout GROUP.sch DATE START END [--item NAME]...\n"
                "\n"
                "Blocks out DATE (YYYYMMDD or YYYY-MM-DD) from START to END (HH:MM, 24-hour) for\n"
                "the named items, or for every item without --item, as OK in the Specify\n"
                "Blockout Date dialog does: nothing is written when a reservation or blockout of\n"
                "those items overlaps the span. The dialog's messages go to standard error;\n"
                "nothing is printed on standard output.\n"
                "\n"
                "Exit status: 0 blocked, 1 refused (nothing blocked), 2 bad usage, 3 some\n"
                "items blocked and the others failed.\n",
                runBlockout);

// ---- blockout-remove ---------------------------------------------------------------------------

constexpr const char* kRemove = "blockout-remove";

int runRemove(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, {"item"}, {})) return usage(kRemove, args.error());
    const auto& p = args.positional();
    if (p.size() != 2) return usage(kRemove, "expects a group file and a date");
    CDate date;
    int status = 0;
    if (!dateArg(kRemove, p[1], date, status)) return status;
    CliDocument d;
    if (!d.open(p[0])) return kExitFailure;
    std::set<int> items;
    if (!itemArgs(kRemove, d, args, items)) return kExitFailure;
    CRemoveBlockoutModel model(d.doc, date);
    std::vector<CScheduleRecord> concerned;
    const std::vector<std::string> names = d.doc.items().namesOf(items);
    for (std::size_t i = 0; i < model.records().size(); ++i) {
        const CScheduleRecord& r = model.records()[i];
        if (!items.empty() && std::find(names.begin(), names.end(), r.itemName()) == names.end())
            continue;
        model.selected.insert(static_cast<int>(i));
        concerned.push_back(r);
    }
    if (items.empty() ? model.removeAll() : model.removeSelected()) return kExitOk;
    if (concerned.empty()) return kExitFailure;
    // The model says only whether every removal was written; the table says how many were.
    const CRemoveBlockoutModel after(d.doc, date);
    std::size_t removed = 0;
    for (const CScheduleRecord& r : concerned)
        if (std::none_of(after.records().begin(), after.records().end(),
                         [&](const CScheduleRecord& left) { return left.sameReservation(r); }))
            ++removed;
    return partStatus(removed, concerned.size());
}

ORV_CLI_COMMAND(kRemove, "remove the blockouts of a date",
                "usage: orvsched-cli blockout-remove GROUP.sch DATE [--item NAME]...\n"
                "\n"
                "Removes the blockouts of DATE (YYYYMMDD or YYYY-MM-DD): all of them, as Remove\n"
                "All does, or with --item those of the named items, as Remove Selected does.\n"
                "Reservations are never touched. The dialog's messages go to standard error;\n"
                "nothing is printed on standard output.\n"
                "\n"
                "Exit status: 0 every blockout concerned was removed, 1 none selected or none\n"
                "removed, 2 bad usage, 3 some removed and others not.\n",
                runRemove);

// ---- blockouts ---------------------------------------------------------------------------------

constexpr const char* kList = "blockouts";

int runList(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, {}, {})) return usage(kList, args.error());
    const auto& p = args.positional();
    if (p.size() != 2) return usage(kList, "expects a group file and a date");
    CDate date;
    int status = 0;
    if (!dateArg(kList, p[1], date, status)) return status;
    CliDocument d;
    if (!d.open(p[0])) return kExitFailure;
    CRemoveBlockoutModel model(d.doc, date);
    return printLines(model.lines()) ? kExitOk : kExitFailure;
}

ORV_CLI_COMMAND(kList, "the blockouts of a date",
                "usage: orvsched-cli blockouts GROUP.sch DATE\n"
                "\n"
                "Prints the blockouts of DATE (YYYYMMDD or YYYY-MM-DD) in schedule order, one\n"
                "line each, as the Remove Blockout Date dialog lists them:\n"
                "  10:00  -  12:00   Boardroom \n"
                "\n"
                "Exit status: 0 success (also for a date without blockouts), 1 the group cannot\n"
                "be opened, 2 bad usage.\n",
                runList);

} // namespace ORV_UNITY_ID
} // namespace orv::cli
