#pragma once
// Names derived from a group file's path, and the two display forms of the kind word. Only the
// people file of another group is named in the group file; every other file of a group is found
// from the group file's own path, so the files of one group always share its folder and stem.
//
// Paths are POSIX paths: '/' separates folders.

#include <string>
#include <string_view>

namespace orv {

class CGroupNames {
public:
    // Everything up to and including the last '/'; empty for a bare file name.
    static std::string groupFolder(std::string_view groupFile);
    // The path without its extension: everything from the last '.' on is removed. Only a '.'
    // in the last path component counts, so "/data/v1.2/Rooms" stays whole rather than
    // losing "/Rooms" to the dot of a folder name. A path without such a '.' stays whole.
    static std::string basePath(std::string_view groupFile);

    static std::string stampFile(std::string_view groupFile);       // base + "Update.bin"
    static std::string scheduleTable(std::string_view groupFile);   // base + "Sched"
    static std::string rosterLinkTable(std::string_view groupFile); // base + "RosLnk"
    static std::string ownPeopleTable(std::string_view groupFile);  // base + "People"
    // The people file a group borrows from another group is always looked for in this group's
    // own folder.
    static std::string otherPeopleFile(std::string_view groupFile,
                                       std::string_view storedPeopleName);
    // The people table a group's people file path names: a path ending in ".sch" (any letter
    // case) is a group file whose own people table is meant; any other path is the table.
    static std::string peopleTable(std::string_view peopleFilePath);

    // A settings key for per-user choices kept per group ("Group" and 16 hex digits): keys cannot
    // hold a path, so the group file's path is hashed into one (FNV-1a, 64 bits).
    static std::string settingKey(std::string_view groupFile);

    // "room" -> "Room" for titles; "Room" -> "room" for running text. Only the first character
    // changes, and only when it is a letter a-z or A-Z.
    static std::string kindWordUpper(std::string_view kindWord);
    static std::string kindWordLower(std::string_view kindWord);
};

} // namespace orv
