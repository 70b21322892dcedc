#pragma once
// Whole groups for the tests of the group-level commands: made as File > New makes them, filled
// through the record layer, and their files read back as bytes, without the engine.

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

// `borrowedPeople`: another group's people file that the new group uses.
inline bool makeGroup(const std::string& file, const std::string& borrowedPeople = "") {
    ScriptedPrompt p;
    p.fill<CGroupInfoModel>([=](CGroupInfoModel& m) {
        m.kindWord = "room";
        m.description = "Rooms";
        m.useOtherPeople = !borrowedPeople.empty();
    });
    p.files = {file, borrowedPeople};
    CMemorySettings settings;
    return CORVSchedDoc(p, settings).createGroup();
}

inline void addItems(CORVSchedDoc& doc, const std::vector<std::string>& names) {
    for (const auto& name : names) {
        CRoom item;
        item.setName(name);
        doc.items().append(item);
    }
    doc.saveGroupFile();
}

// One hour from `hour` on 8 December 2026.
inline int reserve(CORVSchedDoc& doc, const std::string& item, int hour, const std::string& last) {
    CScheduleRecord& r = doc.schedule().image();
    doc.schedule().clearImage();
    r.setDate(12, 8, 2026);
    r.setItemName(item);
    r.setStartTime(hour, 0);
    r.setEndTime(hour + 1, 0);
    r.setPerson("Pat", "", last, "");
    return doc.schedule().append();
}

inline int addPerson(CPeople& people, const std::string& first, const std::string& last,
                     int flags) {
    people.clearImage();
    people.image().setName(first, "", last);
    people.image().setPhone("555-" + last);
    people.image().setFlags(flags);
    people.image().setLastUsed(11, 30, 2026);
    return people.append();
}

// An attendee of the reservation of `item` at `hour` on 8 December 2026.
inline int addLink(CORVSchedDoc& doc, const std::string& item, int hour, const std::string& last) {
    CRosterLink& links = doc.rosterLinks();
    links.clearImage();
    links.setDate(12, 8, 2026);
    links.setStartTime(hour, 0);
    links.setItemName(item);
    links.setPerson(CPeopleKey("Al", "", last, ""));
    return links.append();
}

inline std::string fileBytes(const std::string& path) {
    std::ostringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
}

// Every file of the folder whose name begins with `stem`, with its bytes.
inline std::map<std::string, std::string> groupBytes(const std::string& folder,
                                                     const std::string& stem = "") {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().filename().string().rfind(stem, 0) == 0)
            files[entry.path().filename().string()] = fileBytes(entry.path().string());
    return files;
}

// The records of a data file as stored, deletion flag first, read from its header alone.
inline std::vector<std::string> rawRecords(const std::string& dbf) {
    const std::string b = fileBytes(dbf);
    auto at = [&b](std::size_t i) {
        return static_cast<std::size_t>(static_cast<unsigned char>(b[i]));
    };
    std::vector<std::string> records;
    if (b.size() < 32) return records;
    const std::size_t count = at(4) | at(5) << 8 | at(6) << 16 | at(7) << 24;
    const std::size_t start = at(8) | at(9) << 8, length = at(10) | at(11) << 8;
    for (std::size_t i = 0; i < count && start + (i + 1) * length <= b.size(); ++i)
        records.push_back(b.substr(start + i * length, length));
    return records;
}

// The key count of the table's first tag after the engine's full check of every tag (order,
// keys against records, filter, uniqueness); -1 when the check finds a problem.
inline long long checkedKeys(const std::string& table) {
    Code4 code;
    code4init(&code);
    code.silentErrors = 1;
    code.readOnly = 1;
    std::vector<long long> counts;
    Data4* d = d4open(&code, table);
    return d && d4check(d, &counts, nullptr) == 0 && !counts.empty() ? counts[0] : -1;
}

} // namespace orv::test
