#include "cli/CliDocument.h"

#include "cli/CliCommand.h"
#include "cli/CliGroup.h"
#include "tables/Cp1252.h"

#include <cstdio>

namespace orv::cli {

bool openDocument(CORVSchedDoc& doc, const std::string& path) {
    error4setNeverWait(true);
    doc.code().silentErrors = 1; // the user gets the program's own messages
    return doc.openGroup(path);
}

bool CliDocument::open(const std::string& path) {
    if (!openDocument(doc, path)) return false;
    doc.setChangeReason(utf8ToCp1252(CliArgs::reason()));
    journal.emplace(doc, CJournalChange::kChanged, true);
    return true;
}

namespace {

template <class Lines> bool printEach(const Lines& lines) {
    for (const std::string_view line : lines)
        std::printf("%s\n", shownText(line).c_str());
    return std::fflush(stdout) == 0;
}

} // namespace

bool printLines(const std::vector<std::string>& lines) {
    return printEach(lines);
}

bool printLines(const CTextLines& lines) {
    return printEach(lines);
}

int CliDocument::item(const char* command, const std::string& utf8Name) {
    const int index = doc.findItem(utf8ToCp1252(utf8Name));
    if (index < 0) fail(command, "the group has no item named '" + utf8Name + "'");
    return index;
}

bool CliDocument::hasPerson(const char* command, const CPeopleKey& key, CPeople::Kind kind,
                            long* record) {
    std::vector<CPeopleRecord> people;
    if (error4take(&doc.code(), doc.people().listPeople(kind, people)) != 0) {
        fail(command, "the people table could not be read");
        return false;
    }
    for (const CPeopleRecord& p : people) {
        if (p.key() != key) continue;
        if (record) *record = p.recordNumber();
        return true;
    }
    fail(command, std::string(kind == CPeople::Kind::Attendee ? "no attendee "
                                                              : "no person who can reserve ") +
                      shownPerson(key));
    return false;
}

} // namespace orv::cli
