#include "group/CGroupNames.h"

#include "tables/CFieldText.h"
#include "tables/CTableNames.h"

namespace orv {

std::string CGroupNames::groupFolder(std::string_view groupFile) {
    const auto slash = groupFile.rfind('/');
    if (slash == std::string_view::npos) return {};
    return std::string(groupFile.substr(0, slash + 1));
}

// One rule for the stem, shared with the record layer that opens the tables.
std::string CGroupNames::basePath(std::string_view groupFile) {
    return CTableNames::basePath(groupFile);
}

std::string CGroupNames::stampFile(std::string_view groupFile) {
    return basePath(groupFile) + "Update.bin";
}

std::string CGroupNames::scheduleTable(std::string_view groupFile) {
    return CTableNames::schedule(groupFile);
}

std::string CGroupNames::rosterLinkTable(std::string_view groupFile) {
    return CTableNames::rosterLink(groupFile);
}

std::string CGroupNames::ownPeopleTable(std::string_view groupFile) {
    return CTableNames::people(groupFile);
}

std::string CGroupNames::otherPeopleFile(std::string_view groupFile,
                                         std::string_view storedPeopleName) {
    return groupFolder(groupFile) + std::string(storedPeopleName);
}

std::string CGroupNames::peopleTable(std::string_view peopleFilePath) {
    static constexpr std::string_view kGroupExtension = ".sch";
    bool groupFile = peopleFilePath.size() >= kGroupExtension.size();
    for (std::size_t i = 0; groupFile && i < kGroupExtension.size(); ++i) {
        char c = peopleFilePath[peopleFilePath.size() - kGroupExtension.size() + i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        groupFile = c == kGroupExtension[i];
    }
    return groupFile ? ownPeopleTable(peopleFilePath) : std::string(peopleFilePath);
}

std::string CGroupNames::kindWordUpper(std::string_view kindWord) {
    std::string out(kindWord);
    if (!out.empty() && out[0] >= 'a' && out[0] <= 'z')
        out[0] = static_cast<char>(out[0] - 'a' + 'A');
    return out;
}

std::string CGroupNames::kindWordLower(std::string_view kindWord) {
    std::string out(kindWord);
    if (!out.empty() && out[0] >= 'A' && out[0] <= 'Z')
        out[0] = static_cast<char>(out[0] - 'A' + 'a');
    return out;
}

std::string CGroupNames::settingKey(std::string_view groupFile) {
    return "Group" + CFieldText::digest(groupFile);
}

} // namespace orv
