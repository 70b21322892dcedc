// orvsched-cli merge: File > Merge Groups of the desktop program.
#include "cli/CCliPrompt.h"
#include "cli/CliCommand.h"
#include "group/CMemorySettings.h"
#include "group/CMergeGroups.h"
#include "group/CMergeInfoModel.h"
#include "group/CMergeWarningsModel.h"
#include "group/CORVSchedDoc.h"
#include "history/CJournalChange.h"
#include "tables/Cp1252.h"

#include <cstdio>

namespace orv::cli {
namespace ORV_UNITY_ID {

constexpr const char* kName = "merge";

constexpr const char* kHelp =
    "usage: orvsched-cli merge GROUP.sch FROM.sch\n"
    "\n"
    "Merges the group FROM.sch into GROUP.sch, as File > Merge Groups does: its items,\n"
    "reservations, attendee lists and people are added; FROM.sch itself is left as it\n"
    "is. Nobody else should have either group open meanwhile.\n"
    "\n"
    "Prints the success message, or each warning on a line when something could not be\n"
    "merged. A merge is refused, with its message on standard error and nothing changed,\n"
    "when an item name is in both groups, when the groups' databases are of different\n"
    "versions, or when FROM.sch owns the people file GROUP.sch uses.\n"
    "\n"
    "Exit status: 0 merged, 1 refused or failed (nothing merged), 2 bad usage, 3 merged\n"
    "with warnings (what they name was not merged).\n";

int run(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, {}, {})) return usage(kName, args.error());
    if (args.positional().size() != 2)
        return usage(kName, "expects the group file and the group to merge");
    error4setNeverWait(true);

    CCliPrompt prompt;
    prompt.reportOnStdout();
    prompt.setDialog(CMergeInfoModel::kId, [](CDialogModel&) {});
    prompt.queueFile(args.positional()[1]);
    prompt.setDialog(CMergeWarningsModel::kId, [](CDialogModel& d) {
        for (const auto& warning : static_cast<CMergeWarningsModel&>(d).warnings())
            std::printf("%s\n", cp1252ToUtf8(warning).c_str());
    });
    CMemorySettings settings;
    CORVSchedDoc doc(prompt, settings);
    doc.code().silentErrors = 1; // the user gets the program's own messages
    if (!doc.openGroup(args.positional()[0])) return kExitFailure;
    doc.setChangeReason(utf8ToCp1252(CliArgs::reason()));
    CJournalChange journal(doc, CJournalChange::kChanged, true);
    switch (CMergeGroups(doc).run()) {
    case CMergeGroups::kMerged:
        return kExitOk;
    case CMergeGroups::kMergedWithWarnings:
        return kExitPartial;
    default:
        return kExitFailure;
    }
}

} // namespace ORV_UNITY_ID

ORV_CLI_COMMAND(kName, "merge another group into a group", kHelp, run);

} // namespace orv::cli
