#include "exports/CIcsReader.h"

#include "reservations/CRepeatRule.h"

#include <libical/ical.h>

#include <algorithm>
#include <ctime>
#include <map>

namespace orv {

namespace {

// A wall-clock time of an event: in `zone`, in UTC, or floating (neither).
struct Stamp {
    icaltimetype time = icaltime_null_time();
    icaltimezone* zone = nullptr;
    bool isDate() const { return time.is_date != 0; }
};

struct Local {
    CDate date;
    int hhmm = 0;
};

Local toLocal(const Stamp& s) {
    const icaltimetype& t = s.time;
    if (t.is_date) return {CDate(t.year, t.month, t.day), 0};
    if (!icaltime_is_utc(t) && !s.zone)
        return {CDate(t.year, t.month, t.day), t.hour * 100 + t.minute};
    const std::time_t when = icaltime_as_timet_with_zone(
        t, icaltime_is_utc(t) ? icaltimezone_get_utc_timezone() : s.zone);
    std::tm local{};
    localtime_r(&when, &local);
    return {CDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday),
            local.tm_hour * 100 + local.tm_min};
}

std::string text(const char* value) {
    return value ? std::string(value) : std::string();
}

std::string parameter(icalproperty* p, icalparameter_kind kind) {
    icalparameter* param = p ? icalproperty_get_first_parameter(p, kind) : nullptr;
    if (!param) return {};
    return kind == ICAL_CN_PARAMETER ? text(icalparameter_get_cn(param))
                                     : text(icalparameter_get_tzid(param));
}

// A name of a person: the common name, else the address without "mailto:".
std::string nameOf(icalproperty* p, const char* value) {
    std::string cn = parameter(p, ICAL_CN_PARAMETER);
    if (!cn.empty()) return cn;
    std::string address = text(value);
    if (address.size() > 7 &&
        (address.compare(0, 7, "mailto:") == 0 || address.compare(0, 7, "MAILTO:") == 0))
        address.erase(0, 7);
    return address;
}

class Reader {
public:
    explicit Reader(icalcomponent* calendar) : m_calendar(calendar) {
        icalproperty* prodid = icalcomponent_get_first_property(calendar, ICAL_PRODID_PROPERTY);
        m_ours = text(prodid ? icalproperty_get_prodid(prodid) : nullptr)
                     .find("//Ostrand//ORV Scheduler") != std::string::npos;
    }

    // A date-time property with its zone; false (with `error`) for a zone nobody knows.
    bool stampOf(icalproperty* p, icaltimetype value, Stamp& out, std::string& error) {
        out.time = value;
        out.zone = nullptr;
        const std::string tzid = parameter(p, ICAL_TZID_PARAMETER);
        if (tzid.empty() || value.is_date || icaltime_is_utc(value)) return true;
        out.zone = icalcomponent_get_timezone(m_calendar, tzid.c_str());
        if (!out.zone) out.zone = icaltimezone_get_builtin_timezone(tzid.c_str());
        if (!out.zone) {
            error = "unknown time zone " + tzid;
            return false;
        }
        return true;
    }

    // The event's own fields; the times are filled from `start`/`end` by the caller.
    CImportEvent fields(icalcomponent* ev) {
        CImportEvent e;
        e.uid = text(icalcomponent_get_uid(ev));
        e.sequence = icalcomponent_get_sequence(ev);
        e.cancelled = icalcomponent_get_status(ev) == ICAL_STATUS_CANCELLED;
        e.item = text(icalcomponent_get_location(ev));
        const std::string summary = text(icalcomponent_get_summary(ev));
        const std::string description = text(icalcomponent_get_description(ev));
        if (icalproperty* o = icalcomponent_get_first_property(ev, ICAL_ORGANIZER_PROPERTY))
            e.person = nameOf(o, icalproperty_get_organizer(o));
        for (icalproperty* a = icalcomponent_get_first_property(ev, ICAL_ATTENDEE_PROPERTY); a;
             a = icalcomponent_get_next_property(ev, ICAL_ATTENDEE_PROPERTY))
            e.attendees.push_back(nameOf(a, icalproperty_get_attendee(a)));
        // Our own exports name the item and the person in the summary: "Item: Last, First".
        const std::string prefix = e.item + ": ";
        if (!e.item.empty() && summary.rfind(prefix, 0) == 0) {
            const std::string who = summary.substr(prefix.size());
            if (who == "Blocked Out")
                e.blockout = true;
            else if (e.person.empty())
                e.person = who;
            e.note = description;
        } else {
            e.note = summary.empty() ? description : summary;
        }
        if (m_ours) {
            icalproperty* stamp = icalcomponent_get_first_property(ev, ICAL_DTSTAMP_PROPERTY);
            if (stamp) {
                const Local made = toLocal({icalproperty_get_dtstamp(stamp), nullptr});
                const icaltimetype t = icalproperty_get_dtstamp(stamp);
                // The seconds are not in hhmm: take them from the stamp itself.
                char b[24];
                std::snprintf(b, sizeof b, "%s%04d%02d", made.date.key().c_str(), made.hhmm,
                              t.second);
                e.made = b;
            }
        }
        return e;
    }

    // DTSTART and the event's length, or the reason it has none we can use.
    bool startAndLength(icalcomponent* ev, Stamp& start, icaldurationtype& length,
                        std::string& error) {
        icalproperty* s = icalcomponent_get_first_property(ev, ICAL_DTSTART_PROPERTY);
        if (!s) {
            error = "no DTSTART";
            return false;
        }
        if (!stampOf(s, icalproperty_get_dtstart(s), start, error)) return false;
        if (icaltime_is_null_time(start.time) || !icaltime_is_valid_time(start.time)) {
            error = "DTSTART cannot be read";
            return false;
        }
        if (icalproperty* d = icalcomponent_get_first_property(ev, ICAL_DTEND_PROPERTY)) {
            Stamp end;
            if (!stampOf(d, icalproperty_get_dtend(d), end, error)) return false;
            // DTEND may be given in another zone: the length is the difference of the moments.
            if (start.isDate()) {
                const CDate a(start.time.year, start.time.month, start.time.day);
                const CDate b(end.time.year, end.time.month, end.time.day);
                length = icaldurationtype_null_duration();
                length.days = static_cast<unsigned int>(std::max(1L, b.serial() - a.serial()));
            } else {
                const auto moment = [](const Stamp& x) {
                    return icaltime_as_timet_with_zone(
                        x.time, icaltime_is_utc(x.time) ? icaltimezone_get_utc_timezone() : x.zone);
                };
                const long seconds = static_cast<long>(moment(end) - moment(start));
                if (seconds <= 0) {
                    error = "it ends before it starts";
                    return false;
                }
                length = icaldurationtype_from_int(static_cast<int>(seconds));
            }
        } else if (icalproperty* dur =
                       icalcomponent_get_first_property(ev, ICAL_DURATION_PROPERTY)) {
            length = icalproperty_get_duration(dur);
            if (icaldurationtype_as_int(length) <= 0 || length.is_neg) {
                error = "it ends before it starts";
                return false;
            }
        } else if (start.isDate()) {
            length = icaldurationtype_null_duration();
            length.days = 1;
        } else {
            error = "it has no end";
            return false;
        }
        return true;
    }

    // The reservations of one occurrence starting at `start` (in the event's zone).
    static void addTimes(const Stamp& start, const icaldurationtype& length,
                         std::vector<CImportTime>& out) {
        if (start.isDate()) {
            const CDate first(start.time.year, start.time.month, start.time.day);
            const int days = std::max(1, icaldurationtype_as_int(length) / 86400);
            for (int i = 0; i < days; ++i)
                out.push_back({first.addDays(i), 0, 2359, false});
            return;
        }
        Stamp end = start;
        end.time = icaltime_add(start.time, length);
        const Local a = toLocal(start);
        const Local b = toLocal(end);
        CImportTime t{a.date, a.hhmm, b.hhmm, false};
        if (b.date == a.date.addDays(1) && b.hhmm == 0)
            t.end = 2359;
        else if (b.date != a.date)
            t.outsideDay = true;
        out.push_back(t);
    }

    // A rule's UNTIL with a time (in UTC, as it must be beside a zoned DTSTART) names the last
    // start the rule allows: it becomes the date of that moment in the event's own time, a day
    // earlier when the moment comes before the event's start time on it.
    static void lastDateOfRule(icalrecurrencetype& recur, const Stamp& start) {
        if (icaltime_is_null_time(recur.until) || recur.until.is_date || start.isDate()) return;
        icaltimetype until = recur.until;
        if (icaltime_is_utc(until) && start.zone) {
            until = icaltime_convert_to_zone(until, start.zone);
        } else if (icaltime_is_utc(until)) {
            const Local l = toLocal({until, nullptr});
            until.year = l.date.year, until.month = l.date.month, until.day = l.date.day;
            until.hour = l.hhmm / 100, until.minute = l.hhmm % 100;
        }
        CDate last(until.year, until.month, until.day);
        const icaltimetype& s = start.time;
        if (until.hour * 3600 + until.minute * 60 + until.second <
            s.hour * 3600 + s.minute * 60 + s.second)
            last = last.addDays(-1);
        recur.until = icaltime_null_date();
        recur.until.year = last.year;
        recur.until.month = last.month;
        recur.until.day = last.day;
    }

    // The event alone, or with its rule expanded.
    CImportEvent event(icalcomponent* ev) {
        CImportEvent e = fields(ev);
        Stamp start;
        icaldurationtype length = icaldurationtype_null_duration();
        if (!startAndLength(ev, start, length, e.invalid)) return e;
        std::vector<Stamp> starts;
        icalproperty* rrule = icalcomponent_get_first_property(ev, ICAL_RRULE_PROPERTY);
        if (rrule) {
            icalrecurrencetype recur = icalproperty_get_rrule(rrule);
            lastDateOfRule(recur, start);
            char* ruleText = icalrecurrencetype_as_string(&recur);
            CRepeatRule rule;
            if (!ruleText || !rule.parse(ruleText, e.invalid)) {
                if (e.invalid.empty()) e.invalid = "the repeat rule cannot be read";
                return e;
            }
            const CDate first(start.time.year, start.time.month, start.time.day);
            // A meeting that repeats for ever is booked as far as a series may run.
            e.cut = rule.endAtLimits(first);
            std::vector<CDate> exceptions;
            for (icalproperty* x = icalcomponent_get_first_property(ev, ICAL_EXDATE_PROPERTY); x;
                 x = icalcomponent_get_next_property(ev, ICAL_EXDATE_PROPERTY)) {
                Stamp ex;
                if (!stampOf(x, icalproperty_get_exdate(x), ex, e.invalid)) return e;
                // An exception in UTC names the date it has in the event's zone.
                if (icaltime_is_utc(ex.time) && start.zone)
                    ex.time = icaltime_convert_to_zone(ex.time, start.zone);
                exceptions.emplace_back(ex.time.year, ex.time.month, ex.time.day);
            }
            CRepeatRule::Dates dates;
            if (!rule.expand(first, exceptions, dates, e.invalid)) return e;
            e.rule = rule.text();
            e.ruleStart = first;
            e.leftOut = dates.leftOut;
            for (const CDate& d : dates.dates) {
                Stamp s = start;
                s.time.year = d.year;
                s.time.month = d.month;
                s.time.day = d.day;
                starts.push_back(s);
            }
        } else {
            starts.push_back(start);
        }
        for (icalproperty* r = icalcomponent_get_first_property(ev, ICAL_RDATE_PROPERTY); r;
             r = icalcomponent_get_next_property(ev, ICAL_RDATE_PROPERTY)) {
            const icaldatetimeperiodtype rdate = icalproperty_get_rdate(r);
            Stamp s;
            const icaltimetype when =
                icaltime_is_null_time(rdate.time) ? rdate.period.start : rdate.time;
            if (!stampOf(r, when, s, e.invalid)) return e;
            starts.push_back(s);
        }
        for (const Stamp& s : starts)
            addTimes(s, length, e.times);
        m_starts[e.uid] = {starts, length};
        return e;
    }

    // An override (RECURRENCE-ID) of the event `master`: the occurrence it names goes, and the
    // override's own times come in its place unless it is cancelled.
    void override(icalcomponent* ev, CImportEvent& master) {
        icalproperty* rid = icalcomponent_get_first_property(ev, ICAL_RECURRENCEID_PROPERTY);
        Stamp which;
        std::string error;
        if (!stampOf(rid, icalproperty_get_recurrenceid(rid), which, error)) return;
        if (m_starts.find(master.uid) == m_starts.end()) return;
        // The occurrence is named by its original start; both are compared in local time.
        m_removed[master.uid].push_back(toLocal(which));
        Stamp start;
        icaldurationtype length = icaldurationtype_null_duration();
        if (icalcomponent_get_status(ev) != ICAL_STATUS_CANCELLED &&
            startAndLength(ev, start, length, error))
            addTimes(start, length, m_added[master.uid]);
        reapply(master);
    }

private:
    // The master's times: its occurrences without the replaced ones, with the overrides' times.
    void reapply(CImportEvent& master) {
        const auto& [starts, length] = m_starts[master.uid];
        master.times.clear();
        for (const Stamp& s : starts) {
            const Local l = toLocal(s);
            bool gone = false;
            for (const Local& r : m_removed[master.uid])
                if (r.date == l.date && (r.hhmm == l.hhmm || s.isDate())) gone = true;
            if (!gone) addTimes(s, length, master.times);
        }
        const auto& added = m_added[master.uid];
        master.times.insert(master.times.end(), added.begin(), added.end());
        std::stable_sort(master.times.begin(), master.times.end(),
                         [](const CImportTime& a, const CImportTime& b) {
                             return a.date != b.date ? a.date < b.date : a.start < b.start;
                         });
    }

    icalcomponent* m_calendar;
    bool m_ours = false;
    std::map<std::string, std::pair<std::vector<Stamp>, icaldurationtype>> m_starts;
    std::map<std::string, std::vector<Local>> m_removed;
    std::map<std::string, std::vector<CImportTime>> m_added;
};

// The lines on which the events begin, in file order.
std::vector<int> eventLines(const std::string& text) {
    std::vector<int> lines;
    int line = 1;
    bool lineStart = true;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (lineStart && text.compare(i, 12, "BEGIN:VEVENT") == 0) lines.push_back(line);
        lineStart = text[i] == '\n';
        if (lineStart) ++line;
    }
    return lines;
}

} // namespace

bool CIcsReader::read(const std::string& given, std::vector<CImportEvent>& events,
                      std::string& error) {
    events.clear();
    std::string text = given.rfind("\xEF\xBB\xBF", 0) == 0 ? given.substr(3) : given;
    icalerror_set_errors_are_fatal(0);
    icalcomponent* root = icalparser_parse_string(text.c_str());
    icalcomponent* calendar = root;
    if (root && icalcomponent_isa(root) != ICAL_VCALENDAR_COMPONENT)
        calendar = icalcomponent_get_first_component(root, ICAL_VCALENDAR_COMPONENT);
    if (!calendar) {
        if (root) icalcomponent_free(root);
        error = kNotCalendar;
        return false;
    }
    const std::vector<int> lines = eventLines(text);
    Reader reader(calendar);
    std::vector<std::pair<icalcomponent*, int>> overrides;
    std::map<std::string, std::size_t> byUid;
    std::size_t index = 0;
    for (icalcomponent* ev = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); ev;
         ev = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT), ++index) {
        const int line = index < lines.size() ? lines[index] : 0;
        const bool isOverride =
            icalcomponent_get_first_property(ev, ICAL_RECURRENCEID_PROPERTY) != nullptr;
        if (isOverride) {
            overrides.emplace_back(ev, line);
            continue;
        }
        CImportEvent e = reader.event(ev);
        e.line = line;
        if (!e.uid.empty()) byUid[e.uid] = events.size();
        events.push_back(std::move(e));
    }
    for (const auto& [ev, line] : overrides) {
        const char* uid = icalcomponent_get_uid(ev);
        const auto master = uid ? byUid.find(uid) : byUid.end();
        if (master != byUid.end()) {
            reader.override(ev, events[master->second]);
        } else {
            // An occurrence whose event is not in the file stands alone.
            CImportEvent e = reader.event(ev);
            e.line = line;
            events.push_back(std::move(e));
        }
    }
    icalcomponent_free(root);
    return true;
}

} // namespace orv
