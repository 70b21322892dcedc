// sample-create: the sample group that ./run opens, made through the same document and record
// layer as the desktop program.
#include "cli/CSampleGroup.h"
#include "cli/CliCommand.h"
#include "storage/Code4.h"

#include <cstdio>
#include <filesystem>

namespace orv::cli {
namespace ORV_UNITY_ID {

constexpr const char* kName = "sample-create";

int run(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, {}, {"refresh"})) return usage(kName, args.error());
    if (args.positional().size() != 1) return usage(kName, "expects exactly one folder");
    error4setNeverWait(true);
    CSampleGroup sample(args.positional()[0]);
    std::string error;
    const bool exists = std::filesystem::exists(sample.groupFile());
    if (exists && !args.has("refresh"))
        return fail(kName, sample.groupFile() + " exists already (give --refresh)");
    if (!(exists ? sample.refresh(error) : sample.create(error))) {
        fail(kName, error);
        // A new group that stopped halfway is on disk all the same.
        return !exists && std::filesystem::exists(sample.groupFile()) ? kExitPartial : kExitFailure;
    }
    std::printf("%s %s: %d reservations and blockouts from today on, %d running now\n",
                exists ? "refreshed" : "created", sample.groupFile().c_str(), sample.written(),
                sample.runningNow());
    return std::fflush(stdout) == 0 ? kExitOk : fail(kName, "cannot write the output");
}

} // namespace ORV_UNITY_ID

ORV_CLI_COMMAND(
    kName, "create (or refresh) the sample group that ./run shows",
    "usage: orvsched-cli sample-create FOLDER [--refresh]\n"
    "\n"
    "Creates FOLDER/Rooms.sch, a group of eight sample rooms with its tables: people\n"
    "who may reserve, attendees, and reservations and blockouts for today and the next\n"
    "three days. Today's are placed around the current time, so that some of them are\n"
    "running now. With --refresh an existing sample keeps its rooms and people, and\n"
    "its own reservations from today on are written again around the current time;\n"
    "reservations made by hand are kept and win over the sample's where they overlap.\n"
    "Prints one line saying what was done.\n"
    "\n"
    "Exit status: 0 success, 1 failure (the group exists without --refresh, or a file\n"
    "cannot be written), 2 bad usage, 3 the group was made but not all of its contents.\n",
    run);

} // namespace orv::cli
