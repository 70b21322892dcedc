#pragma once
// What the subcommands that show the program's lists share: the group opened through the group
// document as the desktop program opens it, with its messages on standard error, and the list
// lines written to standard output.

#include <string>
#include <vector>

namespace orv {
class CORVSchedDoc;
}

namespace orv::cli {

// Opens the group; false after the reason was written to standard error.
bool openDocument(CORVSchedDoc& doc, const std::string& path);
// Each stored line on a line of its own, as UTF-8; false when standard output fails.
bool printLines(const std::vector<std::string>& lines);

} // namespace orv::cli
