// person-add, person-modify and person-delete: the People and Attendees menus' Add, Modify and
// Delete with the person dialog's fields as options. The dialog's own checks and messages run.
#include "cli/CliCommand.h"
#include "cli/CliDocument.h"
#include "cli/CliGroup.h"
#include "people/CPeopleCommands.h"
#include "people/CPersonDeleteModel.h"
#include "people/CPersonModel.h"
#include "tables/Cp1252.h"

#include <cstdio>

namespace orv::cli {
namespace ORV_UNITY_ID {

const std::vector<std::string> kFieldOptions = {"first",    "mi",    "last",  "dept", "phone",
                                                "location", "notes", "info1", "info2"};

struct FieldOption {
    const char* option;
    std::string CPersonModel::*value;
    int limit;
};

constexpr FieldOption kFields[] = {
    {"first", &CPersonModel::firstName, CPersonModel::kFirstNameLimit},
    {"mi", &CPersonModel::middleInitial, CPersonModel::kMiddleInitialLimit},
    {"last", &CPersonModel::lastName, CPersonModel::kLastNameLimit},
    {"dept", &CPersonModel::department, CPersonModel::kDepartmentLimit},
    {"phone", &CPersonModel::phone, CPersonModel::kPhoneLimit},
    {"location", &CPersonModel::location, CPersonModel::kTextLimit},
    {"notes", &CPersonModel::notes, CPersonModel::kTextLimit},
    {"info1", &CPersonModel::f1, CPersonModel::kTextLimit},
    {"info2", &CPersonModel::f2, CPersonModel::kTextLimit},
};

std::optional<std::string> unstorableFields(const CliArgs& args) {
    return unstorableOption(
        args, {"first", "mi", "last", "dept", "phone", "location", "notes", "info1", "info2"});
}

// The person dialog's limits, checked before the group is opened.
std::optional<std::string> checkFields(const CliArgs& args) {
    for (const FieldOption& f : kFields) {
        auto v = args.value(f.option);
        if (v && utf8ToCp1252(*v).size() > static_cast<std::size_t>(f.limit))
            return std::string("--") + f.option + " is longer than " + std::to_string(f.limit) +
                   " characters";
    }
    return std::nullopt;
}

void fillFields(const CliArgs& args, CPersonModel& m) {
    for (const FieldOption& f : kFields)
        if (auto v = args.value(f.option)) m.*(f.value) = utf8ToCp1252(*v);
    if (args.has("reserve")) m.mayReserve = true;
    if (args.has("attend")) m.attendee = true;
}

int printPerson(CPeople& people) {
    std::printf("%s\n", shownText(people.image().listLine()).c_str());
    return std::fflush(stdout) == 0 ? kExitOk : kExitFailure;
}

// ---- person-add --------------------------------------------------------------------------------

constexpr const char* kAdd = "person-add";

int runAdd(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, kFieldOptions, {"reserve", "attend"})) return usage(kAdd, args.error());
    if (args.positional().size() != 2) return usage(kAdd, "expects a group file and a person");
    CPeopleKey key;
    if (!parsePerson(args.positional()[1], key))
        return usage(kAdd, "the person is LAST|FIRST|MI|DEPT");
    for (const char* o : {"first", "mi", "last", "dept"})
        if (args.has(o)) return usage(kAdd, std::string("--") + o + " is given by the person");
    if (auto refusal = unstorableFields(args)) return fail(kAdd, *refusal);
    if (auto problem = checkFields(args)) return usage(kAdd, *problem);
    if (key.middleInitial().size() > static_cast<std::size_t>(CPersonModel::kMiddleInitialLimit))
        return usage(kAdd, "the middle initial has one character");
    CliDocument d;
    bool added = false;
    d.prompt.setDialog(CPersonModel::kId, [&](CDialogModel& m) {
        auto& p = static_cast<CPersonModel&>(m);
        p.firstName = key.firstName();
        p.middleInitial = key.middleInitial();
        p.lastName = key.lastName();
        p.department = key.department();
        // Without a mark the dialog opens with "Can make reservations" checked.
        p.mayReserve = !args.has("attend") || args.has("reserve");
        p.attendee = false;
        fillFields(args, p);
        added = true;
    });
    if (!d.open(args.positional()[0])) return kExitFailure;
    CPeopleCommands(d.doc).add(args.has("attend") && !args.has("reserve")
                                   ? CPeople::Kind::Attendee
                                   : CPeople::Kind::MayReserve);
    if (!added || d.prompt.reportedError()) return kExitFailure;
    return printPerson(d.doc.people());
}

ORV_CLI_COMMAND(
    kAdd, "add a person or an attendee",
    "usage: orvsched-cli person-add GROUP.sch LAST|FIRST|MI|DEPT [--reserve] [--attend]\n"
    "                               [--phone TEXT] [--location TEXT] [--notes TEXT]\n"
    "                               [--info1 TEXT] [--info2 TEXT]\n"
    "\n"
    "Adds the person to the group's people table as the person dialog does: --reserve\n"
    "marks a person who can make reservations, --attend an attendee (without either,\n"
    "the person can make reservations). First and last name are needed; a person\n"
    "already there is refused with the dialog's message on standard error.\n"
    "Prints the person list line of the new person.\n"
    "\n"
    "Exit status: 0 added, 1 refused, 2 bad usage.\n",
    runAdd);

// ---- person-modify -----------------------------------------------------------------------------

constexpr const char* kModify = "person-modify";

int runModify(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, kFieldOptions, {"reserve", "attend"}))
        return usage(kModify, args.error());
    if (args.positional().size() != 2) return usage(kModify, "expects a group file and a person");
    CPeopleKey key;
    if (!parsePerson(args.positional()[1], key))
        return usage(kModify, "the person is LAST|FIRST|MI|DEPT");
    if (auto refusal = unstorableFields(args)) return fail(kModify, *refusal);
    if (auto problem = checkFields(args)) return usage(kModify, *problem);
    CliDocument d;
    d.prompt.setDialog(CPersonModel::kId,
                       [&](CDialogModel& m) { fillFields(args, static_cast<CPersonModel&>(m)); });
    if (!d.open(args.positional()[0])) return kExitFailure;
    CPeople& people = d.doc.people();
    if (people.seekPerson(key) != res4success)
        return fail(kModify, "no person " + shownPerson(key));
    CPersonModel person(people, CPersonModel::Mode::Change, false, false);
    if (!d.prompt.runDialog(person)) return kExitFailure;
    people.goTo(person.recordNumber());
    return printPerson(people);
}

ORV_CLI_COMMAND(
    kModify, "change a person or an attendee",
    "usage: orvsched-cli person-modify GROUP.sch LAST|FIRST|MI|DEPT [--first TEXT]\n"
    "                                  [--mi C] [--last TEXT] [--dept TEXT] [--phone TEXT]\n"
    "                                  [--location TEXT] [--notes TEXT] [--info1 TEXT]\n"
    "                                  [--info2 TEXT] [--reserve] [--attend]\n"
    "\n"
    "Changes the person as the person dialog's OK does: the options given replace\n"
    "those fields; --reserve and --attend add a mark (a mark is never taken away).\n"
    "Prints the person list line as changed.\n"
    "\n"
    "Exit status: 0 changed, 1 not found or refused, 2 bad usage.\n",
    runModify);

// ---- person-delete -----------------------------------------------------------------------------

constexpr const char* kDelete = "person-delete";

int runDelete(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, {}, {"attendees"})) return usage(kDelete, args.error());
    const auto& p = args.positional();
    if (p.size() < 2) return usage(kDelete, "expects a group file and one or more people");
    std::vector<CPeopleKey> keys;
    for (std::size_t i = 1; i < p.size(); ++i) {
        CPeopleKey key;
        if (!parsePerson(p[i], key)) return usage(kDelete, "a person is LAST|FIRST|MI|DEPT");
        keys.push_back(key);
    }
    const CPeople::Kind kind =
        args.has("attendees") ? CPeople::Kind::Attendee : CPeople::Kind::MayReserve;
    CliDocument d(true);
    if (!d.open(p[0])) return kExitFailure;
    std::vector<long> records;
    for (const CPeopleKey& key : keys) {
        long record = 0;
        if (!d.hasPerson(kDelete, key, kind, &record)) return kExitFailure;
        records.push_back(record);
    }
    d.prompt.setDialog(CPersonDeleteModel::kId, [&](CDialogModel& m) {
        auto& del = static_cast<CPersonDeleteModel&>(m);
        for (std::size_t i = 0; i < del.lines().size(); ++i)
            for (long record : records)
                if (del.lines()[i].recordNumber == record)
                    del.selected.push_back(static_cast<int>(i));
    });
    CPersonDeleteModel dialog(d.doc.people(), d.prompt, kind);
    const bool ok = d.prompt.runDialog(dialog);
    const int deleted = dialog.deleted();
    if (!ok && deleted == 0) return kExitFailure;
    return partStatus(static_cast<std::size_t>(deleted), records.size());
}

ORV_CLI_COMMAND(kDelete, "delete people or attendees",
                "usage: orvsched-cli person-delete GROUP.sch LAST|FIRST|MI|DEPT... [--attendees]\n"
                "\n"
                "Deletes the people named, as the Delete dialog of the People menu does (of the\n"
                "Attendees menu with --attendees: then each must be an attendee). Their\n"
                "reservations and attendee links stay.\n"
                "\n"
                "Exit status: 0 all deleted, 1 someone not found or nobody deleted, 2 bad usage,\n"
                "3 some deleted and others not.\n",
                runDelete);

} // namespace ORV_UNITY_ID
} // namespace orv::cli
