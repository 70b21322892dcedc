#!/usr/bin/python3
# An independent reading of a calendar file for the import tests: the reservations it holds
# (one line each, "YYYY-MM-DD HH:MM-HH:MM LOCATION", sorted) in the local time zone of TZ,
# with recurrence rules expanded by dateutil and overrides applied.
import sys
from datetime import date, datetime, timedelta
from zoneinfo import ZoneInfo

import icalendar
from dateutil import rrule


def zone_of(dt):
    tz = dt.tzinfo
    if tz is None:
        return None
    name = getattr(tz, "zone", None) or getattr(tz, "key", None)
    return ZoneInfo(name) if name else tz


def dates(prop):
    if prop is None:
        return []
    out = []
    for p in prop if isinstance(prop, list) else [prop]:
        out += [d.dt for d in p.dts]
    return out


def local(dt, zone):
    """A wall time of the event (naive, in `zone`, or floating) as local naive time."""
    if zone is None:
        return dt
    return dt.replace(tzinfo=zone).astimezone().replace(tzinfo=None)


def wall(dt, zone):
    """A date-time of the file as a naive wall time in `zone`."""
    if isinstance(dt, datetime) and dt.tzinfo is not None:
        return dt.astimezone(zone).replace(tzinfo=None) if zone else dt.replace(tzinfo=None)
    return dt


def lines(ev, start, length, zone):
    loc = str(ev.get("LOCATION", ""))
    if not isinstance(start, datetime):
        return ["%s 00:00-23:59 %s" % (start + timedelta(days=i), loc)
                for i in range(max(1, length.days))]
    a = local(start, zone)
    b = local(start + length, zone)
    end = "23:59" if b == datetime.combine(a.date() + timedelta(days=1), datetime.min.time()) \
        else b.strftime("%H:%M")
    return ["%s %s-%s %s" % (a.date(), a.strftime("%H:%M"), end, loc)]


def main(path):
    cal = icalendar.Calendar.from_ical(open(path, "rb").read().decode("utf-8-sig"))
    events = [e for e in cal.walk("VEVENT")]
    overrides = {}
    for ev in events:
        if "RECURRENCE-ID" in ev:
            overrides.setdefault(str(ev["UID"]), []).append(ev)
    out = []
    for ev in events:
        if "RECURRENCE-ID" in ev or str(ev.get("STATUS", "")) == "CANCELLED":
            continue
        dtstart = ev.decoded("DTSTART")
        zone = zone_of(dtstart) if isinstance(dtstart, datetime) else None
        start = wall(dtstart, zone)
        if "DTEND" in ev:
            length = wall(ev.decoded("DTEND"), zone) - start
        elif "DURATION" in ev:
            length = ev.decoded("DURATION")
        else:
            length = timedelta(days=1)
        starts = [start]
        if "RRULE" in ev:
            rule = rrule.rrulestr(ev["RRULE"].to_ical().decode(), dtstart=start, ignoretz=True,
                                  forceset=True)
            # An exception leaves out the date it names in the event's zone.
            ex = {wall(d, zone).date() if isinstance(d, datetime) else d
                  for d in dates(ev.get("EXDATE"))}
            starts = [s for s in rule if s.date() not in ex]
        for o in overrides.get(str(ev["UID"]), []):
            rid = wall(o.decoded("RECURRENCE-ID"), zone)
            starts = [s for s in starts if s != rid]
            if str(o.get("STATUS", "")) != "CANCELLED":
                ostart = wall(o.decoded("DTSTART"), zone)
                out += lines(ev, ostart, wall(o.decoded("DTEND"), zone) - ostart, zone)
        for s in starts:
            out += lines(ev, s, length, zone)
    for line in sorted(out):
        print(line)


main(sys.argv[1])
