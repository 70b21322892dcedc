#include "exports/CCsvMapping.h"

#include "tables/Cp1252.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace orv {

const char* const CCsvMapping::kFieldNames[kFieldCount] = {
    "date",       "start",          "end",        "length", "item", "person", "last name",
    "first name", "middle initial", "department", "note",   "kind"};

namespace {

std::string folded(const std::string& text) {
    std::string out;
    for (unsigned char c : text)
        out += static_cast<char>(std::tolower(c));
    const auto first = out.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return out.substr(first, out.find_last_not_of(" \t") - first + 1);
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Other names a column of each field commonly has.
const std::vector<std::vector<std::string>>& synonyms() {
    static const std::vector<std::vector<std::string>> names = {
        {"date", "start date", "day"},
        {"start", "start time", "from", "begin"},
        {"end", "end time", "to", "until"},
        {"length", "duration", "minutes"},
        {"item", "room", "resource", "location"},
        {"person", "name", "booked by", "organizer", "organiser"},
        {"last name", "surname"},
        {"first name", "given name"},
        {"middle initial", "mi"},
        {"department", "dept"},
        {"note", "notes", "subject", "description", "title"},
        {"kind", "type"}};
    return names;
}

// A whole number from all of `text`, or -1.
int number(const std::string& text) {
    if (text.empty() || text.size() > 6) return -1;
    int v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return -1;
        v = v * 10 + (c - '0');
    }
    return v;
}

std::string cell(const CCsvRow& row, int index) {
    if (index < 0 || index >= static_cast<int>(row.fields.size())) return {};
    return trimmed(row.fields[static_cast<std::size_t>(index)]);
}

// Our own export guards a text that a spreadsheet would run with a leading apostrophe.
std::string unguarded(const std::string& text) {
    if (text.size() > 1 && text[0] == '\'' &&
        std::string("=+-@\t\r").find(text[1]) != std::string::npos)
        return text.substr(1);
    return text;
}

} // namespace

bool CCsvMapping::fromHeader(const std::vector<std::string>& header) {
    std::fill(std::begin(column), std::end(column), -1);
    for (int f = 0; f < kFieldCount; ++f)
        for (std::size_t c = 0; c < header.size() && column[f] < 0; ++c) {
            const std::string name = folded(header[c]);
            for (const std::string& s : synonyms()[static_cast<std::size_t>(f)])
                if (name == s) column[f] = static_cast<int>(c);
        }
    return complete();
}

bool CCsvMapping::complete() const {
    return column[kDate] >= 0 && column[kStart] >= 0 && (column[kEnd] >= 0 || column[kLength] >= 0);
}

bool CCsvMapping::setColumn(const std::string& assignment, const std::vector<std::string>& header) {
    const auto eq = assignment.find('=');
    if (eq == std::string::npos) return false;
    const std::string field = folded(assignment.substr(0, eq));
    const std::string value = assignment.substr(eq + 1);
    int f = 0;
    while (f < kFieldCount && field != kFieldNames[f])
        ++f;
    if (f == kFieldCount) return false;
    const int n = number(value);
    if (n >= 1) {
        column[f] = n - 1;
        return true;
    }
    for (std::size_t c = 0; c < header.size(); ++c)
        if (folded(header[c]) == folded(value)) {
            column[f] = static_cast<int>(c);
            return true;
        }
    return false;
}

bool CCsvMapping::dateFormFromText(const std::string& text, DateForm& form) {
    const std::string t = folded(text);
    if (t == "yyyy-mm-dd" || t == "ymd")
        form = DateForm::ymd;
    else if (t == "mm/dd/yyyy" || t == "mdy")
        form = DateForm::mdy;
    else if (t == "dd.mm.yyyy" || t == "dmy")
        form = DateForm::dmy;
    else
        return false;
    return true;
}

const char* CCsvMapping::dateFormText(DateForm form) {
    return form == DateForm::ymd   ? "YYYY-MM-DD"
           : form == DateForm::mdy ? "MM/DD/YYYY"
                                   : "DD.MM.YYYY";
}

bool CCsvMapping::parseDate(const std::string& given, DateForm form, CDate& date) {
    const std::string text = trimmed(given);
    const char separator = form == DateForm::ymd ? '-' : form == DateForm::mdy ? '/' : '.';
    std::vector<std::string> parts(1);
    for (char c : text) {
        if (c == separator)
            parts.emplace_back();
        else
            parts.back() += c;
    }
    if (parts.size() != 3) return false;
    int v[3];
    for (int i = 0; i < 3; ++i)
        if ((v[i] = number(parts[static_cast<std::size_t>(i)])) < 0) return false;
    if (form == DateForm::ymd)
        date = CDate(v[0], v[1], v[2]);
    else if (form == DateForm::mdy)
        date = CDate(v[2], v[0], v[1]);
    else
        date = CDate(v[2], v[1], v[0]);
    // A four-digit year, so that 12/09/26 is not taken for the year 26.
    return date.year >= 1000 && date.isValid();
}

bool CCsvMapping::parseTime(const std::string& given, int& hhmm) {
    std::string text = folded(given);
    int shift = -1; // -1 none, 0 am, 12 pm
    for (const char* suffix : {"am", "pm", "a.m.", "p.m."}) {
        const std::string s = suffix;
        if (text.size() > s.size() && text.compare(text.size() - s.size(), s.size(), s) == 0) {
            shift = s[0] == 'a' ? 0 : 12;
            text = trimmed(text.substr(0, text.size() - s.size()));
            break;
        }
    }
    std::vector<std::string> parts(1);
    for (char c : text) {
        if (c == ':')
            parts.emplace_back();
        else
            parts.back() += c;
    }
    if (parts.size() < 2 || parts.size() > 3 || parts[1].size() != 2) return false;
    int hour = number(parts[0]);
    const int minute = number(parts[1]);
    if (hour < 0 || minute < 0 || minute > 59) return false;
    if (parts.size() == 3 && (number(parts[2]) < 0 || number(parts[2]) > 59)) return false;
    if (shift >= 0) {
        if (hour < 1 || hour > 12) return false;
        hour = hour % 12 + shift;
    }
    if (hour == 24 && minute == 0)
        hour = 23, hhmm = 2359;
    else if (hour > 23)
        return false;
    else
        hhmm = hour * 100 + minute;
    return true;
}

bool CCsvMapping::parseLength(const std::string& given, int& minutes) {
    const std::string text = trimmed(given);
    const int whole = number(text);
    if (whole > 0) {
        minutes = whole;
        return true;
    }
    int hhmm = 0;
    if (!parseTime(text, hhmm) || hhmm == 0) return false;
    minutes = hhmm / 100 * 60 + hhmm % 100;
    return true;
}

std::vector<CImportEvent> CCsvMapping::events(const std::vector<CCsvRow>& rows) const {
    std::vector<CImportEvent> out;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const CCsvRow& row = rows[i];
        CImportEvent e;
        e.line = row.line;
        auto get = [&](Field f) { return cell(row, column[f]); };
        e.item = unguarded(get(kItem));
        e.note = unguarded(get(kNote));
        e.blockout = folded(get(kKind)) == "blockout";
        if (column[kLastName] >= 0 || column[kFirstName] >= 0) {
            e.personParts = true;
            e.personKey = CPeopleKey(utf8ToCp1252(unguarded(get(kFirstName))),
                                     utf8ToCp1252(unguarded(get(kMiddleInitial))),
                                     utf8ToCp1252(unguarded(get(kLastName))),
                                     utf8ToCp1252(unguarded(get(kDepartment))));
        } else {
            e.person = unguarded(get(kPerson));
        }
        CImportTime t;
        int length = 0;
        if (!parseDate(get(kDate), dateForm, t.date))
            e.invalid = "the date \"" + get(kDate) + "\" is not " + dateFormText(dateForm);
        else if (!parseTime(get(kStart), t.start))
            e.invalid = "the start \"" + get(kStart) + "\" is not a time";
        else if (column[kEnd] >= 0 && !get(kEnd).empty()) {
            if (!parseTime(get(kEnd), t.end))
                e.invalid = "the end \"" + get(kEnd) + "\" is not a time";
            else if (t.end == 0)
                t.end = 2359;
        } else if (!parseLength(get(kLength), length)) {
            e.invalid = "the length \"" + get(kLength) + "\" is not a number of minutes";
        } else {
            const int end = t.start / 100 * 60 + t.start % 100 + length;
            if (end > 24 * 60) t.outsideDay = true;
            t.end = end >= 24 * 60 ? 2359 : end / 60 * 100 + end % 60;
        }
        if (e.invalid.empty() && !t.outsideDay && t.end <= t.start)
            e.invalid = "it ends before it starts";
        if (e.invalid.empty()) e.times.push_back(t);
        out.push_back(std::move(e));
    }
    return out;
}

} // namespace orv
