#pragma once
// Tables of the older layouts, as earlier versions of the program made them: a schedule table of
// the middle level (14 fields) and a people table without LASTUSED and FLAGS (9 fields).

#include "storage/Data4.h"

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace orv::test {

// Replaces the table `base` (".dbf" and ".cdx") with an empty one of these fields and one unique
// tag.
inline bool replaceTable(const std::string& base,
                         const std::vector<std::pair<const char*, int>>& fields, const char* tag,
                         const char* key) {
    for (const char* ext : {".dbf", ".cdx"})
        std::filesystem::remove(base + ext);
    Field4info info;
    for (const auto& [name, width] : fields)
        info.add(name, 'C', width);
    Tag4info tags;
    tags.add(tag, key, ".NOT. DELETED()", res4unique);
    Code4 code;
    code4init(&code);
    code.silentErrors = 1;
    return d4create(&code, base, info, &tags) != nullptr;
}

inline bool makeOldSchedule(const std::string& base) {
    return replaceTable(base,
                        {{"DATE", 8},
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
                         {"RECURDAYS", 3}},
                        "SCHEDTAG", "DATE+ROOMNAME+STARTHH+STARTMM");
}

inline bool makeOldPeople(const std::string& base) {
    return replaceTable(base,
                        {{"LASTNAME", 21},
                         {"FIRSTNAME", 16},
                         {"MI", 2},
                         {"DEPARTMENT", 10},
                         {"LOCATION", 39},
                         {"F1", 39},
                         {"F2", 39},
                         {"NOTES", 39},
                         {"PHONE", 15}},
                        "PEOPLETAG", "LASTNAME+FIRSTNAME+MI+DEPARTMENT");
}

} // namespace orv::test
