#pragma once
// Whole groups for the tests of the group-level commands: made through the document as File >
// New makes them, filled through the record layer, and every file of a folder read back as
// bytes so that a test can say "nothing changed".

#include "common/ScriptedPrompt.h"
#include "group/CGroupInfoModel.h"
#include "group/CMemorySettings.h"
#include "group/CORVSchedDoc.h"
#include "storage/Data4.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace orv::test {

// Creates the group file and its tables; `borrowedPeople` names another group's people file
// that the new group uses instead of a people table of its own.
inline bool makeGroup(const std::string& file, const std::string& description,
                      const std::string& borrowedPeople = "") {
    ScriptedPrompt p;
    p.fill<CGroupInfoModel>([=](CGroupInfoModel& m) {
        m.kindWord = "room";
        m.description = description;
        m.useOtherPeople = !borrowedPeople.empty();
    });
    p.files.push_back(file);
    if (!borrowedPeople.empty()) p.files.push_back(borrowedPeople);
    CMemorySettings settings;
    CORVSchedDoc doc(p, settings);
    return doc.createGroup();
}

inline void addItems(CORVSchedDoc& doc, const std::vector<std::string>& names) {
    for (const auto& name : names) {
        CRoom item;
        item.setName(name);
        item.setOccupancy(4);
        item.setDefaultLength(30);
        doc.items().append(item);
    }
    doc.saveGroupFile();
}

// A reservation on 8 December 2026 from `hour` for one hour.
inline int reserve(CORVSchedDoc& doc, const std::string& item, int hour,
                   const std::string& lastName) {
    CSchedule& s = doc.schedule();
    s.clearImage();
    s.image().setDate(12, 8, 2026);
    s.image().setItemName(item);
    s.image().setStartTime(hour, 0);
    s.image().setEndTime(hour + 1, 0);
    s.image().setPerson("Pat", "", lastName, "");
    s.image().setMade(12, 1, 2026, 9, 30, 0);
    return s.append();
}

inline int addPerson(CPeople& people, const std::string& first, const std::string& last, int flags,
                     const std::string& department = "") {
    people.clearImage();
    people.image().setName(first, "", last);
    people.image().setDepartment(department);
    people.image().setPhone("555-" + last);
    people.image().setFlags(flags);
    people.image().setLastUsed(11, 30, 2026);
    return people.append();
}

// An attendee of the reservation of `item` at `hour` on 8 December 2026.
inline int addLink(CORVSchedDoc& doc, const std::string& item, int hour,
                   const std::string& lastName) {
    CRosterLink& links = doc.rosterLinks();
    links.clearImage();
    links.setDate(12, 8, 2026);
    links.setStartTime(hour, 0);
    links.setItemName(item);
    links.setPerson(CPeopleKey("Al", "", lastName, ""));
    return links.append();
}

inline std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Every file of the folder whose name begins with `stem`, with its bytes.
inline std::map<std::string, std::string> groupBytes(const std::string& folder,
                                                     const std::string& stem) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.compare(0, stem.size(), stem) == 0) files[name] = fileBytes(entry.path().string());
    }
    return files;
}

// The records of a data file as stored (deletion flag first), read from the bytes alone.
inline std::vector<std::string> rawRecords(const std::string& dbf) {
    const std::string b = fileBytes(dbf);
    auto u = [&b](std::size_t at) {
        return static_cast<std::size_t>(static_cast<unsigned char>(b[at]));
    };
    if (b.size() < 32) return {};
    const std::size_t count = u(4) | u(5) << 8 | u(6) << 16 | u(7) << 24;
    const std::size_t headerLength = u(8) | u(9) << 8;
    const std::size_t recordLength = u(10) | u(11) << 8;
    std::vector<std::string> records;
    for (std::size_t i = 0; i < count && headerLength + (i + 1) * recordLength <= b.size(); ++i)
        records.push_back(b.substr(headerLength + i * recordLength, recordLength));
    return records;
}

// Replaces the group's schedule table with an empty one of the middle level (14 fields), as
// older versions made it.
inline bool makeMiddleLevelSchedule(const std::string& groupFile) {
    const std::string base = groupFile.substr(0, groupFile.rfind('.')) + "Sched";
    std::filesystem::remove(base + ".dbf");
    std::filesystem::remove(base + ".cdx");
    Code4 code;
    code4init(&code);
    code.silentErrors = 1;
    Field4info fields;
    for (auto [name, width] : std::vector<std::pair<const char*, int>>{{"DATE", 8},
                                                                       {"ROOMNAME", 20},
                                                                       {"STARTHH", 2},
                                                                       {"STARTMM", 2},
                                                                       {"ENDHH", 2},
                                                                       {"ENDMM", 2},
                                                                       {"LASTNAME", 21},
                                                                       {"FIRSTNAME", 16},
                                                                       {"MI", 2},
                                                                       {"DEPARTMENT", 10},
                                                                       {"NOTES", 80},
                                                                       {"DATEMADE", 8},
                                                                       {"TIMEMADE", 4},
                                                                       {"RECURDAYS", 3}})
        fields.add(name, 'C', width);
    Tag4info tags;
    tags.add("SCHEDTAG", "DATE+ROOMNAME+STARTHH+STARTMM", ".NOT. DELETED()", res4unique);
    Data4* d = d4create(&code, base, fields, &tags);
    const bool made = d != nullptr && code.errorCode == 0;
    code4initUndo(&code);
    return made;
}

// The engine's own check of every tag of a table (order, keys against records, filter,
// uniqueness), in a context of its own: the key count of each tag, or the problem.
inline std::string checkTags(const std::string& table, std::vector<long long>& counts) {
    Code4 code;
    code4init(&code);
    code.silentErrors = 1;
    code.readOnly = 1;
    Data4* d = d4open(&code, table);
    if (!d) return "cannot open " + table;
    std::string problem;
    if (d4check(d, &counts, &problem) != 0 && problem.empty()) problem = "check failed";
    code4initUndo(&code);
    return problem;
}

} // namespace orv::test
