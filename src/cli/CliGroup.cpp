#include "cli/CliGroup.h"

#include "cli/CliCommand.h"
#include "group/CGroupFile.h"
#include "group/CGroupNames.h"
#include "storage/Data4.h"
#include "tables/CFieldText.h"
#include "tables/Cp1252.h"

#include <cstdio>

namespace orv::cli {

bool readGroupFile(const char* command, const std::string& path, CGroupFileData& data) {
    std::string error;
    if (CGroupFile::read(path, data, error)) return true;
    fail(command, error);
    return false;
}

std::string peopleTableOf(const std::string& groupPath, const CGroupFileData& data) {
    if (!data.peopleFileName.empty())
        return CGroupNames::otherPeopleFile(groupPath, data.peopleFileName);
    return CGroupNames::ownPeopleTable(groupPath);
}

bool parseDate(const std::string& text, std::string& dateKey) {
    std::string digits;
    if (text.size() == 10 && text[4] == '-' && text[7] == '-')
        digits = text.substr(0, 4) + text.substr(5, 2) + text.substr(8, 2);
    else if (text.size() == 8)
        digits = text;
    else
        return false;
    for (char c : digits)
        if (c < '0' || c > '9') return false;
    int year = 0, month = 0, day = 0;
    CFieldText::splitDate(digits, year, month, day);
    if (!CFieldText::isValidDate(year, month, day)) return false;
    dateKey = digits;
    return true;
}

std::string shownDate(int year, int month, int day) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", year, month, day);
    return buffer;
}

std::string shownText(const std::string& stored) {
    std::string escaped;
    escaped.reserve(stored.size());
    for (unsigned char c : stored) {
        if (c == '\r') {
            escaped += "\\r";
        } else if (c == '\n') {
            escaped += "\\n";
        } else if (c < 0x20 || c == 0x7F) {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            escaped += hex;
        } else {
            escaped += static_cast<char>(c);
        }
    }
    return cp1252ToUtf8(escaped);
}

void initGroupContext(Code4& code, bool readOnly) {
    code4init(&code);
    code.silentErrors = 1;
    code.readOnly = readOnly ? 1 : 0;
}

} // namespace orv::cli
