// orvsched-cli compress: File > Compress Databases of the desktop program.
#include "cli/CCliPrompt.h"
#include "cli/CliCommand.h"
#include "group/CCompressDatabases.h"
#include "group/CMemorySettings.h"
#include "group/CORVSchedDoc.h"

namespace orv::cli {
namespace ORV_UNITY_ID {

constexpr const char* kName = "compress";

constexpr const char* kHelp =
    "usage: orvsched-cli compress GROUP.sch\n"
    "\n"
    "Removes the deleted records of the group's schedule table, of its attendee list\n"
    "table (when the group has the attendee function) and of its people table (when the\n"
    "group owns it) for good, as File > Compress Databases does. Each table must be free\n"
    "for exclusive use: while anybody else has it open (another copy of the program, or\n"
    "another group sharing the people table), the command stops with its message on\n"
    "standard error; tables packed before it stay packed.\n"
    "\n"
    "Prints the success message.\n"
    "\n"
    "Exit status: 0 compressed, 1 the first table in use or failed (nothing packed),\n"
    "2 bad usage, 3 some tables packed before one in use or failed.\n";

int run(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, {}, {})) return usage(kName, args.error());
    if (args.positional().size() != 1) return usage(kName, "expects exactly one group file");
    error4setNeverWait(true);

    CCliPrompt prompt;
    prompt.reportOnStdout();
    prompt.answerYesSilently();
    CMemorySettings settings;
    CORVSchedDoc doc(prompt, settings);
    doc.code().silentErrors = 1; // the user gets the program's own messages
    if (!doc.openGroup(args.positional()[0])) return kExitFailure;
    CCompressDatabases compress(doc);
    if (compress.run() == CCompressDatabases::Outcome::compressed) return kExitOk;
    return compress.tablesPacked() > 0 ? kExitPartial : kExitFailure;
}

} // namespace ORV_UNITY_ID

ORV_CLI_COMMAND(kName, "remove deleted records from a group's tables for good", kHelp, run);

} // namespace orv::cli
