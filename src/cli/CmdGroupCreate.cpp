// group-create and group-modify: the New Group and Modify Group Information sequences of the
// desktop program, with the dialog values given as options.
#include "cli/CCliPrompt.h"
#include "cli/CliCommand.h"
#include "cli/CliGroup.h"
#include "group/CGroupInfoModel.h"
#include "group/CMemorySettings.h"
#include "group/CORVSchedDoc.h"
#include "storage/Code4.h"
#include "tables/Cp1252.h"

#include <cstdio>
#include <filesystem>

namespace orv::cli {
namespace ORV_UNITY_ID {

std::string absolute(const std::string& path) {
    std::error_code ec;
    auto p = std::filesystem::absolute(path, ec);
    return ec ? path : p.lexically_normal().string();
}

int runGroupCreate(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, {"kind", "description", "people"}, {}))
        return usage("group-create", args.error());
    if (args.positional().size() != 1)
        return usage("group-create", "expected one group file (FILE.sch)");
    auto kind = args.value("kind");
    auto description = args.value("description");
    if (!kind || !description) return usage("group-create", "--kind and --description are needed");
    if (auto refusal = unstorableOption(args, {"kind", "description"}))
        return fail("group-create", *refusal);
    error4setNeverWait(true);

    CCliPrompt prompt;
    const auto people = args.value("people");
    prompt.setDialog(CGroupInfoModel::kNewId, [&](CDialogModel& d) {
        auto& m = static_cast<CGroupInfoModel&>(d);
        m.kindWord = utf8ToCp1252(*kind);
        m.description = utf8ToCp1252(*description);
        m.useOtherPeople = people.has_value();
    });
    const std::string file = absolute(args.positional()[0]);
    prompt.queueFile(file);
    if (people) prompt.queueFile(absolute(*people));
    CMemorySettings settings;
    CORVSchedDoc doc(prompt, settings);
    doc.code().silentErrors = 1; // the user gets the program's own messages
    if (!doc.createGroup()) {
        if (prompt.reportedError()) return kExitFailure;
        return fail("group-create",
                    "the group was not created (its group file or tables may exist already)");
    }
    std::printf("created %s%s\n", file.c_str(),
                doc.attendeeAvailable() ? "" : " (without the attendee function)");
    return kExitOk;
}

ORV_CLI_COMMAND(
    "group-create", "create a new group and its tables",
    "usage: orvsched-cli group-create FILE.sch --kind WORD --description TEXT\n"
    "                                 [--people OTHER-GROUP-PEOPLE.dbf]\n\n"
    "Creates the group file, its stamp file and its schedule, people and roster link\n"
    "tables, as File > New Group does. With --people the group uses the people of the\n"
    "group that owns that people file (looked for in the new group's folder) instead of\n"
    "its own. The kind word is singular (Room, Car); the description is the heading.\n",
    runGroupCreate);

int runGroupModify(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, {"kind", "description"}, {})) return usage("group-modify", args.error());
    if (args.positional().size() != 1)
        return usage("group-modify", "expected one group file (FILE.sch)");
    auto kind = args.value("kind");
    auto description = args.value("description");
    if (!kind && !description) return usage("group-modify", "give --kind, --description or both");
    if (auto refusal = unstorableOption(args, {"kind", "description"}))
        return fail("group-modify", *refusal);
    error4setNeverWait(true);

    CCliPrompt prompt;
    prompt.setDialog(CGroupInfoModel::kModifyId, [&](CDialogModel& d) {
        auto& m = static_cast<CGroupInfoModel&>(d);
        if (kind) m.kindWord = utf8ToCp1252(*kind);
        if (description) m.description = utf8ToCp1252(*description);
    });
    CMemorySettings settings;
    CORVSchedDoc doc(prompt, settings);
    doc.code().silentErrors = 1;
    if (!doc.openGroup(absolute(args.positional()[0]))) return kExitFailure;
    if (!doc.modifyGroupInformation())
        return fail("group-modify", "the group information was not changed");
    std::printf("%s: %s\n", cp1252ToUtf8(doc.kindUpper()).c_str(),
                cp1252ToUtf8(doc.description()).c_str());
    return kExitOk;
}

ORV_CLI_COMMAND("group-modify", "change a group's kind word and description",
                "usage: orvsched-cli group-modify FILE.sch [--kind WORD] [--description TEXT]\n\n"
                "Changes the kind word and the description (the group heading), as Edit > Modify\n"
                "Group Information does. Items, tables and the people file are not touched.\n",
                runGroupModify);

} // namespace ORV_UNITY_ID
} // namespace orv::cli
