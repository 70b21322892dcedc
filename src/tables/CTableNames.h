#pragma once
// The table names a group derives from its group file's path. The engine adds ".dbf" and
// ".cdx" to them. Paths are POSIX paths.

#include <string>
#include <string_view>

namespace orv {

class CTableNames {
public:
    // Everything from the last '.' of the last path component on is removed; a path whose last
    // component has no '.' stays whole.
    static std::string basePath(std::string_view groupFile);
    static std::string schedule(std::string_view groupFile);   // base + "Sched"
    static std::string people(std::string_view groupFile);     // base + "People"
    static std::string rosterLink(std::string_view groupFile); // base + "RosLnk"
    static std::string series(std::string_view groupFile);     // base + "Series"
    static std::string journal(std::string_view groupFile);    // base + "Journal"
    static std::string imports(std::string_view groupFile);    // base + "Imports"
};

} // namespace orv
