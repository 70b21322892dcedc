#include "tables/CTableNames.h"

namespace orv {

std::string CTableNames::basePath(std::string_view groupFile) {
    const auto slash = groupFile.rfind('/');
    const auto dot = groupFile.rfind('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return std::string(groupFile);
    return std::string(groupFile.substr(0, dot));
}

std::string CTableNames::schedule(std::string_view groupFile) {
    return basePath(groupFile) + "Sched";
}

std::string CTableNames::people(std::string_view groupFile) {
    return basePath(groupFile) + "People";
}

std::string CTableNames::rosterLink(std::string_view groupFile) {
    return basePath(groupFile) + "RosLnk";
}

std::string CTableNames::series(std::string_view groupFile) {
    return basePath(groupFile) + "Series";
}

std::string CTableNames::journal(std::string_view groupFile) {
    return basePath(groupFile) + "Journal";
}

std::string CTableNames::imports(std::string_view groupFile) {
    return basePath(groupFile) + "Imports";
}

} // namespace orv
