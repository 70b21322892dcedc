#include "cli/CliDocument.h"

#include "cli/CliGroup.h"
#include "group/CORVSchedDoc.h"

#include <cstdio>

namespace orv::cli {

bool openDocument(CORVSchedDoc& doc, const std::string& path) {
    error4setNeverWait(true);
    doc.code().silentErrors = 1; // the user gets the program's own messages
    return doc.openGroup(path);
}

bool printLines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines)
        std::printf("%s\n", shownText(line).c_str());
    return std::fflush(stdout) == 0;
}

} // namespace orv::cli
