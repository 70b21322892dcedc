// orvsched-cli import: People > Import... and Attendees > Import... of the desktop program, with
// the people to import given on the command line instead of selected in the dialog.
#include "cli/CCliPrompt.h"
#include "cli/CliCommand.h"
#include "cli/CliGroup.h"
#include "group/CMemorySettings.h"
#include "group/CORVSchedDoc.h"
#include "history/CJournalChange.h"
#include "people/CImportPeople.h"
#include "people/CImportPeopleModel.h"
#include "tables/Cp1252.h"

#include <cstdio>

namespace orv::cli {
namespace ORV_UNITY_ID {

constexpr const char* kName = "import";

constexpr const char* kHelp =
    "usage: orvsched-cli import GROUP.sch FROM.sch (--people | --attendees)\n"
    "                           [--all | --person LAST|FIRST|MI|DEPT ...]\n"
    "\n"
    "Copies people from the own people table of the group FROM.sch into the people table\n"
    "that GROUP.sch uses, as People > Import... (--people: those who may make\n"
    "reservations are offered) or Attendees > Import... (--attendees: the attendees) do.\n"
    "--all takes every person offered; each --person takes the one person with that last\n"
    "name, first name, middle initial and department (parts left out are empty). An\n"
    "imported person keeps his or her marks and last-used date.\n"
    "\n"
    "Prints the closing message (\"3 people have been imported into this group\", or how\n"
    "many duplicates were not imported); refusals go to standard error.\n"
    "\n"
    "Exit status: 0 every chosen person imported (or nobody chosen), 1 nobody imported\n"
    "(refused, a person not offered, or every chosen one a duplicate), 2 bad usage,\n"
    "3 some imported and duplicates left out.\n";

int run(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, {"person"}, {"people", "attendees", "all"}))
        return usage(kName, args.error());
    if (args.positional().size() != 2)
        return usage(kName, "expects the group file and the group to import from");
    if (args.has("people") == args.has("attendees"))
        return usage(kName, "give --people or --attendees");
    const std::vector<std::string> persons = args.values("person");
    if (args.has("all") && !persons.empty())
        return usage(kName, "give --all or --person, not both");
    std::vector<CPeopleKey> wanted;
    for (const auto& p : persons) {
        CPeopleKey key;
        if (!parsePerson(p, key)) return usage(kName, "a person is LAST|FIRST|MI|DEPT: " + p);
        wanted.push_back(key);
    }
    const bool attendees = args.has("attendees");
    error4setNeverWait(true);

    CCliPrompt prompt;
    prompt.reportOnStdout();
    prompt.queueFile(args.positional()[1]);
    std::vector<CPeopleKey> notOffered;
    prompt.setDialog(CImportPeopleModel::kId, [&](CDialogModel& d) {
        auto& dialog = static_cast<CImportPeopleModel&>(d);
        if (args.has("all")) dialog.selectAll();
        for (const CPeopleKey& key : wanted) {
            bool found = false;
            for (std::size_t i = 0; i < dialog.lines().size(); ++i)
                if (dialog.lines()[i].key == key) {
                    dialog.selected.insert(static_cast<int>(i));
                    found = true;
                }
            if (!found) notOffered.push_back(key);
        }
        // One person that is not there: nobody is imported.
        if (!notOffered.empty()) dialog.unselectAll();
    });
    CMemorySettings settings;
    CORVSchedDoc doc(prompt, settings);
    doc.code().silentErrors = 1; // the user gets the program's own messages
    if (!doc.openGroup(args.positional()[0])) return kExitFailure;
    doc.setChangeReason(utf8ToCp1252(CliArgs::reason()));
    CJournalChange journal(doc, CJournalChange::kChanged, true);
    if (attendees && !doc.attendeeAvailable())
        return fail(kName, "the group has no attendee function, so it cannot import attendees");

    CImportPeople import(doc, attendees);
    const CImportPeople::Outcome outcome = import.run();
    if (outcome != CImportPeople::Outcome::imported) return kExitFailure;
    for (const CPeopleKey& key : notOffered)
        fail(kName, "not offered for import: " + shownPerson(key));
    if (!notOffered.empty()) return kExitFailure;
    const int chosen = import.selections();
    return partStatus(static_cast<std::size_t>(chosen - import.duplicates()),
                      static_cast<std::size_t>(chosen));
}

} // namespace ORV_UNITY_ID

ORV_CLI_COMMAND(kName, "import people or attendees from another group", kHelp, run);

} // namespace orv::cli
