#include "exports/CCalendarExport.h"

#include "group/CORVSchedDoc.h"
#include "storage/Code4.h"
#include "storage/File4Replace.h"
#include "storage/Result4.h"
#include "tables/CAttendeeLists.h"
#include "tables/CClock.h"
#include "tables/Cp1252.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace orv {

namespace {

std::string utf8(const std::string& stored) {
    return cp1252ToUtf8(stored);
}

// Whether the record at the walk's position, peeked as `r`, passes the filter; reads only what
// it looks at.
bool wanted(CSchedule& schedule, const CScheduleRecord& r, const CExportFilter& f) {
    if (!f.items.empty() &&
        std::find(f.items.begin(), f.items.end(), r.itemName()) == f.items.end())
        return false;
    if (f.people.empty()) return true;
    if (r.isBlockout()) return false;
    const CPeopleKey person = schedule.peekPerson().personKey();
    return std::find(f.people.begin(), f.people.end(), person) != f.people.end();
}

std::string two(int v) {
    char b[16];
    std::snprintf(b, sizeof b, "%02d", v);
    return b;
}

std::string icsDateTime(const CDate& d, int hour, int minute) {
    char b[32];
    std::snprintf(b, sizeof b, "%04d%02d%02dT%02d%02d00", d.year, d.month, d.day, hour, minute);
    return b;
}

std::string utcText(std::time_t t) {
    std::tm utc{};
    gmtime_r(&t, &utc);
    char b[32];
    std::snprintf(b, sizeof b, "%04d%02d%02dT%02d%02d%02dZ", utc.tm_year + 1900, utc.tm_mon + 1,
                  utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec);
    return b;
}

// The moment the record was made, as UTC: the creation stamp is local time.
std::string icsStamp(const CScheduleRecord& r) {
    std::tm tm{};
    tm.tm_year = r.madeYear() - 1900;
    tm.tm_mon = r.madeMonth() - 1;
    tm.tm_mday = r.madeDay();
    tm.tm_hour = r.madeHour();
    tm.tm_min = r.madeMinute();
    tm.tm_sec = r.madeSeconds();
    tm.tm_isdst = -1;
    std::time_t t =
        CDate(r.madeYear(), r.madeMonth(), r.madeDay()).isValid() ? std::mktime(&tm) : 0;
    if (t == static_cast<std::time_t>(-1)) t = 0;
    return utcText(t);
}

std::string hex(const std::string& bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::string personText(const CPeopleKey& k) {
    std::string text = k.lastName() + ", " + k.firstName();
    if (!k.middleInitial().empty()) text += " " + k.middleInitial();
    return text;
}

// A parameter value: quoted when it holds a character that ends a parameter; a quote cannot
// stand in one and becomes an apostrophe.
std::string paramValue(std::string utf8Text) {
    std::replace(utf8Text.begin(), utf8Text.end(), '"', '\'');
    if (utf8Text.find_first_of(":;,") != std::string::npos) return "\"" + utf8Text + "\"";
    return utf8Text;
}

// What the file being replaced said of one event.
struct Revision {
    long sequence = 0;
    std::string lastModified;
    std::string content; // the lines that say what the event is, unfolded, '\n' between
};

std::string valueOf(const std::string& line) {
    const auto colon = line.find(':');
    return colon == std::string::npos ? std::string() : line.substr(colon + 1);
}

// The events of an earlier file, by UID. Anything that is not an event of ours is passed over.
std::map<std::string, Revision> revisions(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!lines.empty() && !line.empty() && (line[0] == ' ' || line[0] == '\t'))
            lines.back() += line.substr(1);
        else
            lines.push_back(std::move(line));
        pos = end + 1;
    }
    std::map<std::string, Revision> events;
    std::string uid;
    Revision revision;
    bool inEvent = false;
    for (const std::string& line : lines) {
        if (line == "BEGIN:VEVENT") {
            inEvent = true;
            uid.clear();
            revision = Revision();
        } else if (!inEvent) {
            continue;
        } else if (line == "END:VEVENT") {
            inEvent = false;
            if (!uid.empty()) events[uid] = revision;
        } else if (line.rfind("UID:", 0) == 0) {
            uid = valueOf(line);
        } else if (line.rfind("SEQUENCE:", 0) == 0) {
            // An INTEGER is 32 bits; one more must still be one.
            revision.sequence =
                std::clamp(std::strtol(valueOf(line).c_str(), nullptr, 10), 0L, 2147483646L);
        } else if (line.rfind("LAST-MODIFIED:", 0) == 0) {
            revision.lastModified = valueOf(line);
        } else if (line.rfind("DTSTAMP:", 0) != 0) {
            // DTSTAMP follows from the UID; the rest says what the event is.
            revision.content += line + "\n";
        }
    }
    return events;
}

// The text of the file at `path`, empty when there is none (or it is not a regular file, which
// we would not replace with a calendar anyway: no waiting on a pipe).
std::string readPrevious(const std::string& path) {
    std::string text;
    if (path.empty()) return text;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return text;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        char buffer[65536];
        for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) != 0;) {
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                text.clear();
                break;
            }
            text.append(buffer, static_cast<std::size_t>(n));
        }
    }
    ::close(fd);
    return text;
}

} // namespace

int CCalendarExport::collect(CORVSchedDoc& doc, const CExportFilter& filter,
                             std::vector<CExportEntry>& entries) {
    entries.clear();
    Code4& code = doc.code();
    // One seek to the first date, then the tag's order: every date of a long range costs
    // nothing, only its records do.
    CSchedule& schedule = doc.schedule();
    int rc = schedule.seekFrom(filter.from.key());
    for (; rc == 0; rc = schedule.skip()) {
        const CScheduleRecord& slot = schedule.peekSlot();
        const CDate date = slot.date();
        // A date that is no calendar date names no day an event could be on.
        if (!date.isValid()) continue;
        if (filter.to < date) break;
        if (date < filter.from || !wanted(schedule, slot, filter)) continue;
        entries.push_back({schedule.readCurrent(), {}});
    }
    if (rc != 0 && rc != res4eof) {
        entries.clear();
        const int failure = error4take(&code, rc);
        return failure != 0 ? failure : rc;
    }
    if (!doc.rosterLinks().isOpen()) return 0;
    for (CExportEntry& e : entries) {
        const CScheduleRecord& r = e.record;
        if (!r.hasAttendees() || r.isBlockout()) continue;
        CAttendeeLists lists;
        rc = lists.loadAttendees(doc.rosterLinks(), doc.people(), r.month(), r.day(), r.year(),
                                 r.startHour(), r.startMinute(), r.itemName());
        if (const int failure = error4take(&code, rc); failure != 0) {
            entries.clear();
            return failure;
        }
        e.attendees = lists.current();
    }
    return 0;
}

int CCalendarExport::render(CORVSchedDoc& doc, const CExportFilter& filter, Format format,
                            const std::string& replacing, std::string& text, int* count) {
    text.clear();
    std::vector<CExportEntry> entries;
    if (const int rc = collect(doc, filter, entries); rc != 0) return rc;
    if (count) *count = static_cast<int>(entries.size());
    text = format == Format::ics ? ics(entries, doc.description(), readPrevious(replacing))
                                 : csv(entries);
    return 0;
}

std::string CCalendarExport::notReadMessage(int failure) {
    return std::string("The reservations could not be read (") + error4text(failure) +
           "). Nothing was written.";
}

std::string CCalendarExport::icsText(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case ';':
            out += "\\;";
            break;
        case ',':
            out += "\\,";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            break;
        default:
            // Other control characters are not allowed in TEXT.
            if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) out += c;
        }
    }
    return out;
}

std::string CCalendarExport::foldLine(const std::string& line) {
    std::string out;
    std::size_t pos = 0;
    std::size_t room = 75;
    while (line.size() - pos > room) {
        std::size_t cut = pos + room;
        // Never inside a UTF-8 sequence: back to the byte that starts a character.
        while (cut > pos && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80)
            --cut;
        out.append(line, pos, cut - pos);
        out += "\r\n ";
        pos = cut;
        room = 74; // the space that begins a continuation counts
    }
    out.append(line, pos, std::string::npos);
    out += "\r\n";
    return out;
}

std::string CCalendarExport::uid(const CScheduleRecord& r) {
    char stamp[48];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02dT%02d%02d%02d", r.madeYear(), r.madeMonth(),
                  r.madeDay(), r.madeHour(), r.madeMinute(), r.madeSeconds());
    return std::string("orv-") + stamp + "-" + r.dateKey() + "T" + two(r.startHour()) +
           two(r.startMinute()) + "-" + hex(r.itemName()) + "@orvsched";
}

std::string CCalendarExport::ics(const std::vector<CExportEntry>& entries,
                                 const std::string& calendarName, const std::string& previous) {
    const std::map<std::string, Revision> before = revisions(previous);
    const std::string now = utcText(CClock::current().now());
    std::string out;
    auto line = [&out](const std::string& text) { out += foldLine(text); };
    line("BEGIN:VCALENDAR");
    line("VERSION:2.0");
    char prodid[80];
    std::snprintf(prodid, sizeof prodid, "PRODID:-//Ostrand//ORV Scheduler %d.%02d//EN",
                  ORV_VERSION_MAJOR, ORV_VERSION_MINOR);
    line(prodid);
    line("CALSCALE:GREGORIAN");
    if (!calendarName.empty()) line("X-WR-CALNAME:" + icsText(utf8(calendarName)));
    for (const CExportEntry& e : entries) {
        const CScheduleRecord& r = e.record;
        const std::string item = utf8(r.itemName());
        std::vector<std::string> body;
        body.push_back("DTSTART:" + icsDateTime(r.date(), r.startHour(), r.startMinute()));
        // A DTEND must lie after DTSTART. A reservation terminated in its first minute ends as
        // it starts (and a damaged one that ends before it starts is taken so): its event leaves
        // DTEND out rather than writing DURATION:PT0S, since an event with a date-time DTSTART
        // and neither ends when it starts, and every other line stays as for any event.
        const int start = r.startHour() * 60 + r.startMinute();
        const int end = r.endHour() * 60 + r.endMinute();
        if (r.endHour() == 23 && r.endMinute() == 59)
            body.push_back("DTEND:" + icsDateTime(r.date().addDays(1), 0, 0));
        else if (end > start)
            body.push_back("DTEND:" + icsDateTime(r.date(), r.endHour(), r.endMinute()));
        if (r.isBlockout()) {
            body.push_back("SUMMARY:" + icsText(item + ": Blocked Out"));
            body.push_back("TRANSP:OPAQUE");
        } else {
            body.push_back("SUMMARY:" + icsText(item + ": " + utf8(personText(r.personKey()))));
        }
        body.push_back("LOCATION:" + icsText(item));
        if (r.hasNote()) body.push_back("DESCRIPTION:" + icsText(utf8(r.note())));
        for (const CPeopleKey& a : e.attendees)
            body.push_back("ATTENDEE;CN=" + paramValue(utf8(personText(a))) +
                           ":urn:x-orvsched:person:" + hex(a.searchKey()));

        const std::string id = uid(r);
        std::string content;
        for (const std::string& l : body)
            content += l + "\n";
        long sequence = 0;
        std::string modified = icsStamp(r);
        const auto was = before.find(id);
        if (was != before.end() && was->second.content != content) {
            sequence = was->second.sequence + 1;
            modified = now;
        } else if (was != before.end()) {
            sequence = was->second.sequence;
            if (!was->second.lastModified.empty()) modified = was->second.lastModified;
        }
        line("BEGIN:VEVENT");
        line("UID:" + id);
        line("DTSTAMP:" + icsStamp(r));
        line("SEQUENCE:" + std::to_string(sequence));
        line("LAST-MODIFIED:" + modified);
        for (const std::string& l : body)
            line(l);
        line("END:VEVENT");
    }
    line("END:VCALENDAR");
    return out;
}

std::string CCalendarExport::csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

std::string CCalendarExport::csvText(const std::string& text) {
    // What spreadsheets run as a formula; the apostrophe makes it text and is not shown.
    if (!text.empty() && std::strchr("=+-@\t\r", text[0]) != nullptr) return csvField("'" + text);
    return csvField(text);
}

std::string CCalendarExport::csv(const std::vector<CExportEntry>& entries) {
    std::string out =
        "date,start,end,item,last name,first name,middle initial,department,note,kind\r\n";
    for (const CExportEntry& e : entries) {
        const CScheduleRecord& r = e.record;
        char date[16];
        std::snprintf(date, sizeof date, "%04d-%02d-%02d", r.year(), r.month(), r.day());
        // The date, the times and the kind are ours: nothing in them needs quoting or guarding.
        const std::string fields[] = {date,
                                      two(r.startHour()) + ":" + two(r.startMinute()),
                                      two(r.endHour()) + ":" + two(r.endMinute()),
                                      csvText(utf8(r.itemName())),
                                      csvText(utf8(r.lastName())),
                                      csvText(utf8(r.firstName())),
                                      csvText(utf8(r.middleInitial())),
                                      csvText(utf8(r.department())),
                                      csvText(utf8(r.note())),
                                      r.isBlockout() ? "blockout" : "reservation"};
        for (std::size_t i = 0; i < std::size(fields); ++i) {
            if (i) out += ',';
            out += fields[i];
        }
        out += "\r\n";
    }
    return out;
}

bool CCalendarExport::writeFile(const std::string& path, const std::string& text,
                                std::string& error) {
    return writeFile(path, text, error, file4posix());
}

bool CCalendarExport::writeFile(const std::string& path, const std::string& text,
                                std::string& error, File4System& fs) {
    // A calendar file is for others to read: 0644 less the umask when it is new.
    const int rc = file4replace(fs, path, text, 0644);
    if (rc == 0) return true;
    error = "Cannot write '" + path + "': " + std::strerror(-rc);
    return false;
}

} // namespace orv
