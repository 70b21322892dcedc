#include "exports/CCalendarExport.h"

#include "group/CORVSchedDoc.h"
#include "reservations/CRepeatRule.h"
#include "storage/Code4.h"
#include "storage/File4Replace.h"
#include "storage/Result4.h"
#include "tables/CAttendeeLists.h"
#include "tables/CClock.h"
#include "tables/CSeriesRules.h"
#include "tables/Cp1252.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <libical/ical.h>
#include <map>
#include <set>
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

// The moment the record was made, as UTC: the creation stamp is local time.
icaltimetype madeStamp(const CScheduleRecord& r) {
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
    return icaltime_from_timet_with_zone(t, 0, icaltimezone_get_utc_timezone());
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

// Stored text as a TEXT value: UTF-8 without the control characters TEXT may not hold (a line
// break stays; libical escapes it).
std::string textValue(const std::string& stored) {
    std::string out;
    for (char c : utf8(stored))
        if (c == '\n' || (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F)) out += c;
    return out;
}

// The zone the times of one file are written in.
struct Zone {
    std::string name; // empty: floating
    bool utc() const { return name == "UTC"; }
};

// A local wall time of the group as a value of the file.
icaltimetype wallTime(const CDate& d, int hour, int minute, const Zone& zone) {
    icaltimetype t = icaltime_null_time();
    t.year = d.year;
    t.month = d.month;
    t.day = d.day;
    t.hour = hour;
    t.minute = minute;
    if (zone.utc()) t.zone = icaltimezone_get_utc_timezone();
    return t;
}

// A date-time property in the file's zone: the TZID names the VTIMEZONE written with them.
icalproperty* zoned(icalproperty* p, const Zone& zone) {
    if (!zone.name.empty() && !zone.utc())
        icalproperty_add_parameter(p, icalparameter_new_tzid(zone.name.c_str()));
    return p;
}

std::string asText(icalproperty* p) {
    char* text = icalproperty_as_ical_string_r(p);
    std::string out = text ? text : "";
    std::free(text);
    return out;
}

// The user's zone as a VTIMEZONE named by its plain name, from the start of the year of the
// first event on (the older history of the zone is no use to a calendar).
icalcomponent* timezoneOf(const Zone& zone, const CDate& first) {
    icaltimezone* builtin = icaltimezone_get_builtin_timezone(zone.name.c_str());
    icalcomponent* source = builtin ? icaltimezone_get_component(builtin) : nullptr;
    if (!source) return nullptr;
    icalcomponent* vtz = icalcomponent_new_clone(source);
    if (icalproperty* id = icalcomponent_get_first_property(vtz, ICAL_TZID_PROPERTY))
        icalproperty_set_tzid(id, zone.name.c_str());
    for (icalproperty* p = icalcomponent_get_first_property(vtz, ICAL_X_PROPERTY); p;) {
        icalproperty* next = icalcomponent_get_next_property(vtz, ICAL_X_PROPERTY);
        icalcomponent_remove_property(vtz, p);
        icalproperty_free(p);
        p = next;
    }
    icaltimetype from = icaltime_null_time();
    from.year = first.isValid() ? first.year : 1970;
    from.month = from.day = 1;
    from.zone = icaltimezone_get_utc_timezone();
    icaltimezone_truncate_vtimezone(vtz, from, icaltime_null_time(), 0);
    return vtz;
}

// What the file being replaced said of one event.
struct Revision {
    long sequence = 0;
    icaltimetype lastModified = icaltime_null_time();
    std::string content; // the properties that say what the event is, as libical writes them
};

bool describesEvent(icalproperty_kind kind) {
    return kind != ICAL_UID_PROPERTY && kind != ICAL_DTSTAMP_PROPERTY &&
           kind != ICAL_SEQUENCE_PROPERTY && kind != ICAL_LASTMODIFIED_PROPERTY;
}

// The events of an earlier file, by UID. Anything that is not an event is passed over.
std::map<std::string, Revision> revisions(const std::string& text) {
    std::map<std::string, Revision> events;
    if (text.empty()) return events;
    icalerror_set_errors_are_fatal(0);
    icalcomponent* root = icalparser_parse_string(text.c_str());
    if (!root) return events;
    icalcomponent* calendar =
        icalcomponent_isa(root) == ICAL_VCALENDAR_COMPONENT
            ? root
            : icalcomponent_get_first_component(root, ICAL_VCALENDAR_COMPONENT);
    for (icalcomponent* ev =
             calendar ? icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT)
                      : nullptr;
         ev; ev = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
        const char* uid = icalcomponent_get_uid(ev);
        if (!uid || !*uid) continue;
        Revision revision;
        for (icalproperty* p = icalcomponent_get_first_property(ev, ICAL_ANY_PROPERTY); p;
             p = icalcomponent_get_next_property(ev, ICAL_ANY_PROPERTY)) {
            const icalproperty_kind kind = icalproperty_isa(p);
            if (kind == ICAL_SEQUENCE_PROPERTY)
                // An INTEGER is 32 bits; one more must still be one.
                revision.sequence = std::clamp(icalproperty_get_sequence(p), 0, 2147483646);
            else if (kind == ICAL_LASTMODIFIED_PROPERTY)
                revision.lastModified = icalproperty_get_lastmodified(p);
            else if (describesEvent(kind))
                revision.content += asText(p);
        }
        events[uid] = revision;
    }
    icalcomponent_free(root);
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

// The attendees of a reservation that has a list.
int attendeesOf(CORVSchedDoc& doc, CExportEntry& e) {
    const CScheduleRecord& r = e.record;
    if (!doc.rosterLinks().isOpen() || !r.hasAttendees() || r.isBlockout()) return 0;
    CAttendeeLists lists;
    const int rc = lists.loadAttendees(doc.rosterLinks(), doc.people(), r.month(), r.day(),
                                       r.year(), r.startHour(), r.startMinute(), r.itemName());
    if (const int failure = error4take(&doc.code(), rc); failure != 0) return failure;
    e.attendees = lists.current();
    return 0;
}

// What an event says of a member besides its date: members that say the same can be one event.
std::string sameness(const CExportEntry& e) {
    const CScheduleRecord& r = e.record;
    std::string s = std::to_string(r.endHhmm()) + (r.isBlockout() ? "B|" : "R|");
    if (!r.isBlockout()) s += personText(r.personKey()) + "|";
    if (r.hasNote()) s += r.note();
    for (const CPeopleKey& a : e.attendees)
        s += "|" + a.searchKey();
    return s;
}

bool passesPeople(const CExportFilter& f, const CScheduleRecord& r) {
    if (f.people.empty()) return true;
    return !r.isBlockout() &&
           std::find(f.people.begin(), f.people.end(), r.personKey()) != f.people.end();
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
        entries.push_back({schedule.readCurrent(), {}, {}, {}, 1});
    }
    if (rc != 0 && rc != res4eof) {
        entries.clear();
        const int failure = error4take(&code, rc);
        return failure != 0 ? failure : rc;
    }
    for (CExportEntry& e : entries)
        if (const int failure = attendeesOf(doc, e); failure != 0) {
            entries.clear();
            return failure;
        }
    return 0;
}

int CCalendarExport::foldSeries(CORVSchedDoc& doc, const CExportFilter& filter,
                                std::vector<CExportEntry>& entries) {
    CSeriesRules& table = doc.seriesRules();
    if (!table.isOpen()) return 0;
    CSchedule& schedule = doc.schedule();
    std::set<std::string> seen;
    std::set<long> folded; // record numbers of the members now in a series' entry
    std::vector<CExportEntry> series;
    auto failed = [&](int rc) {
        entries.clear();
        const int failure = error4take(&doc.code(), rc);
        return failure != 0 ? failure : rc;
    };
    for (const CExportEntry& e : entries) {
        const CScheduleRecord& member = e.record;
        if (member.recurrenceCode() == 0) continue;
        const std::string key = CSeriesRules::seriesKey(member);
        if (!seen.insert(key).second) continue;
        std::vector<CSeriesRow> rows;
        if (const int rc = table.rowsOf(key, rows); rc != 0) return failed(rc);
        const auto ruleRow = std::find_if(rows.begin(), rows.end(), [](const CSeriesRow& row) {
            return row.kind == CSeriesRow::kRule;
        });
        if (ruleRow == rows.end()) continue;
        CRepeatRule rule;
        CRepeatRule::Dates dates;
        std::string error;
        if (!rule.parse(ruleRow->text, error) || !rule.expand(ruleRow->date, {}, dates, error))
            continue;
        // The members on the rule's dates, wherever the range ends.
        std::vector<CExportEntry> members;
        for (const CDate& d : dates.dates) {
            const int rc =
                schedule.walkItemOnDate(d.key(), member.itemName(), [&](const CScheduleRecord& r) {
                    if (r.sameSeries(member) && r.startHhmm() == member.startHhmm())
                        members.push_back({r, {}, {}, {}, 1});
                    return true;
                });
            if (rc != 0 && rc != res4eof) return failed(rc);
        }
        std::map<std::string, int> kinds;
        for (CExportEntry& m : members) {
            if (const int rc = attendeesOf(doc, m); rc != 0) return failed(rc);
            ++kinds[sameness(m)];
        }
        // The form most members have (the earliest of equals) is the series'; a member of
        // another form is an event of its own.
        const CExportEntry* form = nullptr;
        for (const CExportEntry& m : members)
            if (!form || kinds[sameness(m)] > kinds[sameness(*form)]) form = &m;
        if (!form || !passesPeople(filter, form->record)) continue;
        CExportEntry whole = *form;
        whole.record.setDate(ruleRow->date.month, ruleRow->date.day, ruleRow->date.year);
        whole.rule = ruleRow->text;
        whole.records = 0;
        const std::string shape = sameness(*form);
        std::size_t next = 0;
        for (const CDate& d : dates.dates) {
            while (next < members.size() && members[next].record.date() < d)
                ++next;
            bool booked = false;
            for (std::size_t k = next; k < members.size() && members[k].record.date() == d; ++k)
                if (sameness(members[k]) == shape) {
                    booked = true;
                    ++whole.records;
                    folded.insert(members[k].record.recordNumber());
                }
            if (!booked) whole.leftOut.push_back(d);
        }
        series.push_back(std::move(whole));
    }
    if (series.empty()) return 0;
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [&](const CExportEntry& e) {
                                     return folded.count(e.record.recordNumber()) != 0;
                                 }),
                  entries.end());
    entries.insert(entries.end(), series.begin(), series.end());
    std::stable_sort(entries.begin(), entries.end(),
                     [](const CExportEntry& a, const CExportEntry& b) {
                         const CScheduleRecord& x = a.record;
                         const CScheduleRecord& y = b.record;
                         if (x.date() != y.date()) return x.date() < y.date();
                         if (x.itemName() != y.itemName()) return x.itemName() < y.itemName();
                         return x.startHhmm() < y.startHhmm();
                     });
    return 0;
}

int CCalendarExport::render(CORVSchedDoc& doc, const CExportFilter& filter, Format format,
                            const std::string& replacing, std::string& text, int* count,
                            bool floating) {
    text.clear();
    std::vector<CExportEntry> entries;
    if (const int rc = collect(doc, filter, entries); rc != 0) return rc;
    if (format == Format::ics)
        if (const int rc = foldSeries(doc, filter, entries); rc != 0) return rc;
    if (count) {
        *count = 0;
        for (const CExportEntry& e : entries)
            *count += e.records;
    }
    text = format == Format::ics ? ics(entries, doc.description(), readPrevious(replacing),
                                       floating ? std::string() : localZone())
                                 : csv(entries);
    return 0;
}

std::string CCalendarExport::notReadMessage(int failure) {
    return std::string("The reservations could not be read (") + error4text(failure) +
           "). Nothing was written.";
}

std::string CCalendarExport::uid(const CScheduleRecord& r) {
    char stamp[48];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02dT%02d%02d%02d", r.madeYear(), r.madeMonth(),
                  r.madeDay(), r.madeHour(), r.madeMinute(), r.madeSeconds());
    return std::string("orv-") + stamp + "-" + r.dateKey() + "T" + two(r.startHour()) +
           two(r.startMinute()) + "-" + hex(r.itemName()) + "@orvsched";
}

std::string CCalendarExport::localZone() {
    std::string name;
    if (const char* tz = std::getenv("TZ"); tz && *tz) {
        name = tz[0] == ':' ? tz + 1 : tz;
    } else {
        char link[4096];
        const ssize_t n = ::readlink("/etc/localtime", link, sizeof link - 1);
        if (n > 0) {
            name.assign(link, static_cast<std::size_t>(n));
        } else {
            std::ifstream in("/etc/timezone");
            std::getline(in, name);
        }
    }
    if (const std::size_t at = name.find("zoneinfo/"); at != std::string::npos)
        name.erase(0, at + 9);
    static const char* const utcNames[] = {"UTC",           "Etc/UTC",  "UCT",       "Etc/UCT",
                                           "GMT",           "Etc/GMT",  "Universal", "Zulu",
                                           "Etc/Universal", "Etc/Zulu", "GMT0",      "Etc/GMT0"};
    for (const char* u : utcNames)
        if (name == u) return "UTC";
    // A POSIX rule ("EST5EDT,M3.2.0,M11.1.0") or a path of its own names no zone of a calendar.
    if (name.empty() || name[0] == '/' || name.find(',') != std::string::npos ||
        !icaltimezone_get_builtin_timezone(name.c_str()))
        return {};
    return name;
}

std::string CCalendarExport::ics(const std::vector<CExportEntry>& entries,
                                 const std::string& calendarName, const std::string& previous,
                                 const std::string& zoneName) {
    const std::map<std::string, Revision> before = revisions(previous);
    const icaltimetype now =
        icaltime_from_timet_with_zone(CClock::current().now(), 0, icaltimezone_get_utc_timezone());
    Zone zone{zoneName};
    icalcomponent* calendar = icalcomponent_new(ICAL_VCALENDAR_COMPONENT);
    icalcomponent_add_property(calendar, icalproperty_new_version("2.0"));
    char prodid[80];
    std::snprintf(prodid, sizeof prodid, "-//Ostrand//ORV Scheduler %d.%02d//EN", ORV_VERSION_MAJOR,
                  ORV_VERSION_MINOR);
    icalcomponent_add_property(calendar, icalproperty_new_prodid(prodid));
    icalcomponent_add_property(calendar, icalproperty_new_calscale("GREGORIAN"));
    if (!calendarName.empty()) {
        icalproperty* name = icalproperty_new_x(textValue(calendarName).c_str());
        icalproperty_set_x_name(name, "X-WR-CALNAME");
        icalcomponent_add_property(calendar, name);
    }
    if (!zone.name.empty() && !zone.utc() && !entries.empty()) {
        icalcomponent* vtz = timezoneOf(zone, entries.front().record.date());
        if (vtz)
            icalcomponent_add_component(calendar, vtz);
        else
            zone.name.clear();
    }
    for (const CExportEntry& e : entries) {
        const CScheduleRecord& r = e.record;
        const std::string item = textValue(r.itemName());
        std::vector<icalproperty*> body;
        body.push_back(zoned(
            icalproperty_new_dtstart(wallTime(r.date(), r.startHour(), r.startMinute(), zone)),
            zone));
        // A DTEND must lie after DTSTART. A reservation terminated in its first minute ends as
        // it starts (and a damaged one that ends before it starts is taken so): its event leaves
        // DTEND out rather than writing DURATION:PT0S, since an event with a date-time DTSTART
        // and neither ends when it starts, and every other line stays as for any event.
        const int start = r.startHour() * 60 + r.startMinute();
        const int end = r.endHour() * 60 + r.endMinute();
        if (r.endHour() == 23 && r.endMinute() == 59)
            body.push_back(
                zoned(icalproperty_new_dtend(wallTime(r.date().addDays(1), 0, 0, zone)), zone));
        else if (end > start)
            body.push_back(
                zoned(icalproperty_new_dtend(wallTime(r.date(), r.endHour(), r.endMinute(), zone)),
                      zone));
        if (!e.rule.empty()) {
            icalrecurrencetype recur = icalrecurrencetype_from_string(e.rule.c_str());
            // UNTIL takes the form of DTSTART: the last member's start, in UTC when zoned.
            if (!icaltime_is_null_time(recur.until)) {
                const CDate last(recur.until.year, recur.until.month, recur.until.day);
                icaltimetype until = wallTime(last, r.startHour(), r.startMinute(), zone);
                if (!zone.name.empty() && !zone.utc())
                    until = icaltime_convert_to_zone(
                        icaltime_set_timezone(&until,
                                              icaltimezone_get_builtin_timezone(zone.name.c_str())),
                        icaltimezone_get_utc_timezone());
                recur.until = until;
            }
            body.push_back(icalproperty_new_rrule(recur));
            for (const CDate& d : e.leftOut)
                body.push_back(zoned(
                    icalproperty_new_exdate(wallTime(d, r.startHour(), r.startMinute(), zone)),
                    zone));
        }
        if (r.isBlockout()) {
            body.push_back(icalproperty_new_summary((item + ": Blocked Out").c_str()));
            body.push_back(icalproperty_new_transp(ICAL_TRANSP_OPAQUE));
        } else {
            body.push_back(icalproperty_new_summary(
                (item + ": " + textValue(personText(r.personKey()))).c_str()));
        }
        body.push_back(icalproperty_new_location(item.c_str()));
        if (r.hasNote()) body.push_back(icalproperty_new_description(textValue(r.note()).c_str()));
        for (const CPeopleKey& a : e.attendees) {
            icalproperty* p =
                icalproperty_new_attendee(("urn:x-orvsched:person:" + hex(a.searchKey())).c_str());
            // A quote cannot stand in a parameter value.
            std::string name = textValue(personText(a));
            std::replace(name.begin(), name.end(), '"', '\'');
            icalproperty_add_parameter(p, icalparameter_new_cn(name.c_str()));
            body.push_back(p);
        }

        const std::string id = uid(r);
        std::string content;
        for (icalproperty* p : body)
            content += asText(p);
        long sequence = 0;
        icaltimetype modified = madeStamp(r);
        const auto was = before.find(id);
        if (was != before.end() && was->second.content != content) {
            sequence = was->second.sequence + 1;
            modified = now;
        } else if (was != before.end()) {
            sequence = was->second.sequence;
            if (!icaltime_is_null_time(was->second.lastModified))
                modified = was->second.lastModified;
        }
        icalcomponent* event = icalcomponent_new(ICAL_VEVENT_COMPONENT);
        icalcomponent_add_property(event, icalproperty_new_uid(id.c_str()));
        icalcomponent_add_property(event, icalproperty_new_dtstamp(madeStamp(r)));
        icalcomponent_add_property(event, icalproperty_new_sequence(static_cast<int>(sequence)));
        icalcomponent_add_property(event, icalproperty_new_lastmodified(modified));
        for (icalproperty* p : body)
            icalcomponent_add_property(event, p);
        icalcomponent_add_component(calendar, event);
    }
    char* text = icalcomponent_as_ical_string_r(calendar);
    std::string out = text ? text : "";
    std::free(text);
    icalcomponent_free(calendar);
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
