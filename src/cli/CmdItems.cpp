// item-add, item-modify and item-delete: Items > Add Item and an item's right-click Modify and
// Delete in the desktop program, with the dialog values given as options. The same sequence runs:
// the group-wide lock, the reread of the group file, the same checks and messages.
#include "cli/CCliPrompt.h"
#include "cli/CliCommand.h"
#include "cli/CliGroup.h"
#include "group/CItemInfoModel.h"
#include "group/CItemManager.h"
#include "group/CMemorySettings.h"
#include "group/CORVSchedDoc.h"
#include "history/CJournalChange.h"
#include "storage/Code4.h"
#include "tables/Cp1252.h"

#include <cstdio>
#include <optional>

namespace orv::cli {
namespace ORV_UNITY_ID {

struct ItemValues {
    std::optional<std::string> occupancy;
    std::optional<std::string> length;
    std::optional<std::string> description;
};

// The dialog's own limits: the occupancy field takes digits only, the others cut at their length.
std::optional<std::string> checkValues(const CliArgs& args, ItemValues& values) {
    if (auto v = args.value("occupancy")) {
        for (char c : *v)
            if (c < '0' || c > '9') return "--occupancy takes digits only";
        values.occupancy = *v;
    }
    if (auto v = args.value("length")) {
        values.length = utf8ToCp1252(*v);
        if (values.length->size() > static_cast<std::size_t>(CItemInfoModel::kDefaultLengthLimit))
            return "--length is longer than 5 characters";
    }
    if (auto v = args.value("description")) {
        values.description = utf8ToCp1252(*v);
        if (values.description->size() >
            static_cast<std::size_t>(CItemInfoModel::kDescriptionLimit))
            return "--description is longer than 256 characters";
    }
    return std::nullopt;
}

void fill(CItemInfoModel& m, const ItemValues& values) {
    if (values.occupancy) m.occupancy = *values.occupancy;
    if (values.length) m.defaultLength = *values.length;
    if (values.description) m.description = *values.description;
}

// Opens the group for one item command; false after the user was told why.
bool openGroup(CORVSchedDoc& doc, const std::string& path) {
    doc.code().silentErrors = 1; // the user gets the program's own messages
    return doc.openGroup(path);
}

void printItem(const CRoom& item) {
    std::puts(valueLine({item.name(), std::to_string(item.occupancy()),
                         std::to_string(item.defaultLength()), item.longDescription()})
                  .c_str());
}

// ---- item-add ----------------------------------------------------------------------------------

constexpr const char* kAdd = "item-add";

int runAdd(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, {"name", "occupancy", "length", "description"}, {}))
        return usage(kAdd, args.error());
    if (args.positional().size() != 1) return usage(kAdd, "expects exactly one group file");
    auto name = args.value("name");
    if (!name) return usage(kAdd, "--name is needed");
    const std::string storedName = utf8ToCp1252(*name);
    if (storedName.size() > static_cast<std::size_t>(CItemInfoModel::kNameLimit))
        return usage(kAdd, "--name is longer than 20 characters");
    ItemValues values;
    if (auto refusal = unstorableOption(args, {"name", "length", "description"}))
        return fail(kAdd, *refusal);
    if (auto problem = checkValues(args, values)) return usage(kAdd, *problem);
    error4setNeverWait(true);

    CCliPrompt prompt;
    prompt.setDialog(CItemInfoModel::kId, [&](CDialogModel& d) {
        auto& m = static_cast<CItemInfoModel&>(d);
        m.name = storedName;
        fill(m, values);
    });
    CMemorySettings settings;
    CORVSchedDoc doc(prompt, settings);
    if (!openGroup(doc, args.positional()[0])) return kExitFailure;
    doc.setChangeReason(utf8ToCp1252(CliArgs::reason()));
    CJournalChange journal(doc, CJournalChange::kChanged, true);
    if (!CItemManager(doc).addItem()) {
        if (prompt.reportedError()) return kExitFailure;
        return fail(kAdd, "the item was not added");
    }
    printItem(doc.items().at(doc.items().count() - 1));
    return kExitOk;
}

ORV_CLI_COMMAND(
    kAdd, "add an item to a group",
    "usage: orvsched-cli item-add GROUP.sch --name NAME [--occupancy DIGITS]\n"
    "                             [--length MINUTES|H:MM] [--description TEXT]\n"
    "\n"
    "Adds an item, as Items > Add Item does: under the group-wide lock (the people\n"
    "table's), on the group file as it is on disk at that moment. The name has at most\n"
    "20 characters and must not be in the group yet; the default reservation length is\n"
    "minutes (45) or hours and minutes (1:30), at most 5 characters; the description\n"
    "at most 256. Refusals are the dialog's messages, on standard error.\n"
    "Prints the new item as NAME|OCCUPANCY|LENGTH IN MINUTES|DESCRIPTION.\n"
    "\n"
    "Exit status: 0 added, 1 refused or failed, 2 bad usage.\n",
    runAdd);

// ---- item-modify -------------------------------------------------------------------------------

constexpr const char* kModify = "item-modify";

int runModify(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, {"occupancy", "length", "description"}, {}))
        return usage(kModify, args.error());
    if (args.positional().size() != 2)
        return usage(kModify, "expects a group file and an item name");
    ItemValues values;
    if (auto refusal = unstorableOption(args, {"length", "description"}))
        return fail(kModify, *refusal);
    if (auto problem = checkValues(args, values)) return usage(kModify, *problem);
    if (!values.occupancy && !values.length && !values.description)
        return usage(kModify, "give --occupancy, --length, --description or several");
    error4setNeverWait(true);

    CCliPrompt prompt;
    prompt.setDialog(CItemInfoModel::kId,
                     [&](CDialogModel& d) { fill(static_cast<CItemInfoModel&>(d), values); });
    CMemorySettings settings;
    CORVSchedDoc doc(prompt, settings);
    if (!openGroup(doc, args.positional()[0])) return kExitFailure;
    doc.setChangeReason(utf8ToCp1252(CliArgs::reason()));
    CJournalChange journal(doc, CJournalChange::kChanged, true);
    const std::string name = utf8ToCp1252(args.positional()[1]);
    const int index = doc.findItem(name);
    if (index < 0)
        return fail(kModify, "no item named '" + args.positional()[1] + "' in the group");
    if (!CItemManager(doc).modifyItem(index)) {
        if (prompt.reportedError()) return kExitFailure;
        return fail(kModify, "the item was not changed");
    }
    printItem(doc.items().at(doc.findItem(name)));
    return kExitOk;
}

ORV_CLI_COMMAND(kModify, "change an item's occupancy, default length or description",
                "usage: orvsched-cli item-modify GROUP.sch NAME [--occupancy DIGITS]\n"
                "                                [--length MINUTES|H:MM] [--description TEXT]\n"
                "\n"
                "Changes the item, as its right-click Modify does; values not given stay as they\n"
                "are, and the name never changes. An item that another user deleted meanwhile\n"
                "gives the dialog's message and nothing is written.\n"
                "Prints the item as NAME|OCCUPANCY|LENGTH IN MINUTES|DESCRIPTION.\n"
                "\n"
                "Exit status: 0 changed, 1 refused, not found or failed, 2 bad usage.\n",
                runModify);

// ---- item-delete -------------------------------------------------------------------------------

constexpr const char* kDelete = "item-delete";

int runDelete(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, {}, {"yes"})) return usage(kDelete, args.error());
    if (args.positional().size() != 2)
        return usage(kDelete, "expects a group file and an item name");
    error4setNeverWait(true);

    CCliPrompt prompt(args.has("yes"));
    CMemorySettings settings;
    CORVSchedDoc doc(prompt, settings);
    if (!openGroup(doc, args.positional()[0])) return kExitFailure;
    doc.setChangeReason(utf8ToCp1252(CliArgs::reason()));
    CJournalChange journal(doc, CJournalChange::kChanged, true);
    const int index = doc.findItem(utf8ToCp1252(args.positional()[1]));
    if (index < 0)
        return fail(kDelete, "no item named '" + args.positional()[1] + "' in the group");
    if (!CItemManager(doc).deleteItem(index)) {
        if (prompt.reportedError()) return kExitFailure;
        return fail(kDelete, args.has("yes")
                                 ? "the item was not deleted (another user deleted it first)"
                                 : "not deleted: answer the question with --yes");
    }
    std::printf("deleted %s\n", args.positional()[1].c_str());
    return kExitOk;
}

ORV_CLI_COMMAND(
    kDelete, "delete an item and its reservations",
    "usage: orvsched-cli item-delete GROUP.sch NAME [--yes]\n"
    "\n"
    "Deletes the item, as its right-click Delete does: the question \"Are you sure you\n"
    "want to delete ...?\" is answered Yes only with --yes. The item goes from the group\n"
    "file under the group-wide lock, then every reservation and blockout of the item\n"
    "goes from the schedule.\n"
    "\n"
    "Exit status: 0 deleted, 1 not confirmed, not found or failed, 2 bad usage.\n",
    runDelete);

} // namespace ORV_UNITY_ID
} // namespace orv::cli
