#pragma once
// What the group subcommands of orvsched-cli share: reading the group file, finding the people
// table a group uses, taking a date from the command line and showing stored text.

#include "group/CGroupFileData.h"
#include "storage/Code4.h"
#include "tables/CPeopleKey.h"

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv::cli {

// Reads the group file; on failure writes one line for `command` and returns false.
bool readGroupFile(const char* command, const std::string& path, CGroupFileData& data);
// The people table in use: the stored people file in the group's folder, else the group's own.
std::string peopleTableOf(const std::string& groupPath, const CGroupFileData& data);
// "YYYYMMDD" or "YYYY-MM-DD" of a date that exists, as the date key "YYYYMMDD".
bool parseDate(const std::string& text, std::string& dateKey);
// "HH:MM" on the 24-hour clock.
bool parseTime(const std::string& text, int& hour, int& minute);
// A person given as "LAST|FIRST|MI|DEPT" (UTF-8; the last parts may be left out).
// A person the tables cannot store (a character outside Windows-1252) is refused with a line on
// standard error that names the characters.
bool parsePerson(const std::string& text, CPeopleKey& key);
// The first of these options whose value holds characters the tables cannot store: the message
// naming them ("--note holds characters that cannot be stored: U+6771."), or nothing. Such a
// value is refused whole: a '?' in a character's place would be stored without a word.
std::optional<std::string> unstorableOption(const class CliArgs& args,
                                            std::initializer_list<const char*> options);
// "LAST|FIRST|MI|DEPT" of a person, for messages.
std::string shownPerson(const CPeopleKey& key);
// A date as "YYYY-MM-DD".
std::string shownDate(int year, int month, int day);
// Stored Windows-1252 text as UTF-8 for output: '\\' doubled, carriage return and line feed as
// \r and \n, other control characters as \xHH, so that a value never breaks its line and every
// escape reads back one way.
std::string shownText(std::string_view stored);
// The one way the commands print values separated by '|': each value as shownText shows it, a
// '|' inside a value as "\|". Values are stored (Windows-1252) text; numbers and dates as text.
std::string valueLine(const std::vector<std::string>& storedValues);
// Reads a line of '|'-separated values back as valueLine writes it (UTF-8 in, stored text out).
std::vector<std::string> splitValues(const std::string& line);
// A context for the group subcommands: engine errors come back as codes, nothing is printed.
void initGroupContext(Code4& code, bool readOnly);
// Opens the group's schedule. On failure says "cannot open TABLE: reason" for the command and
// returns false.
bool openSchedule(const char* command, const std::string& groupPath, class CSchedule& schedule);

} // namespace orv::cli
