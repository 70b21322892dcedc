#pragma once
// What the commands that run the desktop program's own logic share: a group document opened as
// the program opens it, with its messages on standard error, lookups by the names the command
// line gives, and the list lines written to standard output.

#include "cli/CCliPrompt.h"
#include "group/CMemorySettings.h"
#include "group/CORVSchedDoc.h"
#include "history/CJournalChange.h"
#include "reports/CTextLines.h"

#include <optional>
#include <string>
#include <vector>

namespace orv::cli {

// Opens the group; false after the reason was written to standard error.
bool openDocument(CORVSchedDoc& doc, const std::string& path);
// Each stored line on a line of its own, as UTF-8; false when standard output fails.
bool printLines(const std::vector<std::string>& lines);
bool printLines(const CTextLines& lines);

// A document of its own with the command line's prompt and settings.
struct CliDocument {
    explicit CliDocument(bool yes = false) : prompt(yes), doc(prompt, settings) {}
    // Opens the group; false after the user was told why. From then on every change of the
    // command is recorded in the group's journal, with the reason given on the command line.
    bool open(const std::string& path);
    // The index of the item, or -1 after telling `command`'s user.
    int item(const char* command, const std::string& utf8Name);
    // A person of the group's people table that may reserve (or attends), or false after telling.
    bool hasPerson(const char* command, const CPeopleKey& key, CPeople::Kind kind, long* record = nullptr);

    CCliPrompt prompt;
    CMemorySettings settings;
    CORVSchedDoc doc;
    // What the command writes outside the changes the dialogs' logic records itself.
    std::optional<CJournalChange> journal;
};

} // namespace orv::cli
