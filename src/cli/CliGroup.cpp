#include "cli/CliGroup.h"

#include "cli/CliCommand.h"
#include "cli/CliTables.h"
#include "group/CGroupFile.h"
#include "group/CGroupNames.h"
#include "storage/Data4.h"
#include "tables/CFieldText.h"
#include "tables/CSchedule.h"
#include "tables/Cp1252.h"

#include <cstdio>
#include <iostream>

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

bool parseTime(const std::string& text, int& hour, int& minute) {
    if (text.size() != 5 || text[2] != ':') return false;
    for (std::size_t i : {0u, 1u, 3u, 4u})
        if (text[i] < '0' || text[i] > '9') return false;
    hour = (text[0] - '0') * 10 + (text[1] - '0');
    minute = (text[3] - '0') * 10 + (text[4] - '0');
    return hour <= 23 && minute <= 59;
}

bool parsePerson(const std::string& text, CPeopleKey& key) {
    std::vector<std::string> unstorable;
    utf8ToCp1252(text, &unstorable);
    if (!unstorable.empty()) {
        std::cerr << unstorableMessage("The person " + text, unstorable) << "\n";
        return false;
    }
    std::vector<std::string> parts = splitValues(text);
    if (parts.size() > 4) return false;
    parts.resize(4);
    if (parts[0].empty()) return false;
    if (parts[0].size() > CPeopleKey::kLastNameWidth ||
        parts[1].size() > CPeopleKey::kFirstNameWidth ||
        parts[2].size() > CPeopleKey::kMiddleInitialWidth ||
        parts[3].size() > CPeopleKey::kDepartmentWidth)
        return false;
    key.set(parts[1], parts[2], parts[0], parts[3]);
    return true;
}

std::optional<std::string> unstorableOption(const CliArgs& args,
                                            std::initializer_list<const char*> options) {
    for (const char* option : options) {
        const auto value = args.value(option);
        if (!value) continue;
        std::vector<std::string> unstorable;
        utf8ToCp1252(*value, &unstorable);
        if (!unstorable.empty()) return unstorableMessage(std::string("--") + option, unstorable);
    }
    return std::nullopt;
}

std::string shownPerson(const CPeopleKey& key) {
    return valueLine({key.lastName(), key.firstName(), key.middleInitial(), key.department()});
}

std::string shownDate(int year, int month, int day) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", year, month, day);
    return buffer;
}

namespace {

std::string escaped(std::string_view stored, bool bars) {
    std::string out;
    out.reserve(stored.size());
    for (unsigned char c : stored) {
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '|' && bars) {
            out += "\\|";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c < 0x20 || c == 0x7F) {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

} // namespace

std::string shownText(std::string_view stored) {
    return cp1252ToUtf8(escaped(stored, false));
}

std::string valueLine(const std::vector<std::string>& storedValues) {
    std::string line;
    for (std::size_t i = 0; i < storedValues.size(); ++i) {
        if (i > 0) line += '|';
        line += escaped(storedValues[i], true);
    }
    return cp1252ToUtf8(line);
}

std::vector<std::string> splitValues(const std::string& line) {
    const std::string stored = utf8ToCp1252(line);
    std::vector<std::string> values(1);
    for (std::size_t i = 0; i < stored.size(); ++i) {
        const char c = stored[i];
        if (c == '|') {
            values.emplace_back();
        } else if (c == '\\' && i + 1 < stored.size()) {
            const char e = stored[++i];
            if (e == 'r') {
                values.back() += '\r';
            } else if (e == 'n') {
                values.back() += '\n';
            } else if (e == 'x' && i + 2 < stored.size() && hexDigit(stored[i + 1]) >= 0 &&
                       hexDigit(stored[i + 2]) >= 0) {
                values.back() +=
                    static_cast<char>(hexDigit(stored[i + 1]) * 16 + hexDigit(stored[i + 2]));
                i += 2;
            } else {
                values.back() += e; // "\\" and "\|", and an unknown escape as its character
            }
        } else {
            values.back() += c;
        }
    }
    return values;
}

void initGroupContext(Code4& code, bool readOnly) {
    code4init(&code);
    code.silentErrors = 1;
    code.readOnly = readOnly ? 1 : 0;
}

bool openSchedule(const char* command, const std::string& groupPath, CSchedule& schedule) {
    const int rc = schedule.open(groupPath);
    if (rc == 0) return true;
    fail(command,
         "cannot open " + CGroupNames::scheduleTable(groupPath) + ": " + describeResult(rc));
    return false;
}

} // namespace orv::cli
