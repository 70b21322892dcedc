// orvsched-cli group-info: everything a group file holds, and the names of the files that
// belong with it.
#include "cli/CliCommand.h"
#include "group/CGroupFile.h"
#include "group/CGroupNames.h"
#include "tables/Cp1252.h"

#include <cstdio>
#include <string>

namespace orv::cli {

namespace ORV_UNITY_ID {

constexpr const char* kName = "group-info";

constexpr const char* kHelp =
    "usage: orvsched-cli group-info FILE.sch\n"
    "\n"
    "Prints what the group file FILE.sch holds: the description, the kind word (as used\n"
    "in titles and in running text), whether the file is of the new format (items with\n"
    "default reservation lengths), every item with its occupancy, default reservation\n"
    "length in minutes and long description, the saved window rectangle, the reserved\n"
    "integers and the stored people file name. Then the names derived from the path: the\n"
    "group folder, the base path, the stamp file and the schedule, people and roster link\n"
    "tables.\n"
    "\n"
    "Texts are shown in UTF-8; line breaks and other control characters inside a text are\n"
    "shown as \\r, \\n or \\xHH so that every value stays on one line.\n"
    "\n"
    "Exit status: 0 success, 1 the file cannot be read as a group file, 2 bad usage.\n";

// Stored Windows-1252 text as one line of UTF-8.
std::string shown(const std::string& stored) {
    std::string escaped;
    escaped.reserve(stored.size());
    for (unsigned char c : stored) {
        if (c == '\r') {
            escaped += "\\r";
        } else if (c == '\n') {
            escaped += "\\n";
        } else if (c == '\\') {
            escaped += "\\\\";
        } else if (c < 0x20 || c == 0x7F) {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            escaped += hex;
        } else {
            escaped += static_cast<char>(c);
        }
    }
    return cp1252ToUtf8(escaped);
}

void line(const char* label, const std::string& value) {
    std::printf("%-20s %s\n", label, value.c_str());
}

int run(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, {}, {})) return usage(kName, args.error());
    if (args.positional().size() != 1) return usage(kName, "expects exactly one group file");
    const std::string path = args.positional()[0];

    CGroupFileData data;
    std::string error;
    if (!CGroupFile::read(path, data, error)) return fail(kName, error);

    line("file:", path);
    line("description:", shown(data.description));
    line("kind word:", shown(CGroupNames::kindWordUpper(data.kindWord)) + " / " +
                           shown(CGroupNames::kindWordLower(data.kindWord)));
    line("new format:", data.newFormat ? "yes" : "no");
    line("items:", std::to_string(data.items.size()));
    int number = 0;
    for (const CRoom& item : data.items) {
        std::printf("item %d\n", ++number);
        line("  name:", shown(item.name()));
        line("  occupancy:", std::to_string(item.occupancy()));
        line("  default length:", std::to_string(item.defaultLength()));
        line("  description:", shown(item.longDescription()));
    }
    line("window rectangle:", std::to_string(data.window.left) + " " +
                                  std::to_string(data.window.top) + " " +
                                  std::to_string(data.window.right) + " " +
                                  std::to_string(data.window.bottom) + " (left top right bottom)");
    line("reserved:", std::to_string(data.reserved[0]) + " " + std::to_string(data.reserved[1]));
    line("people file name:", data.peopleFileName.empty() ? "(none: the group owns its people)"
                                                          : shown(data.peopleFileName));
    line("group folder:", CGroupNames::groupFolder(path));
    line("base path:", CGroupNames::basePath(path));
    line("stamp file:", CGroupNames::stampFile(path));
    line("schedule table:", CGroupNames::scheduleTable(path));
    line("people table:", data.peopleFileName.empty()
                              ? CGroupNames::ownPeopleTable(path)
                              : CGroupNames::otherPeopleFile(path, shown(data.peopleFileName)));
    line("roster link table:", CGroupNames::rosterLinkTable(path));
    return std::fflush(stdout) == 0 ? kExitOk : fail(kName, "cannot write the output");
}

} // namespace ORV_UNITY_ID

ORV_CLI_COMMAND(kName, "show what a group file holds and its derived file names", kHelp, run);

} // namespace orv::cli
