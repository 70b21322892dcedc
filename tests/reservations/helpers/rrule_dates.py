#!/usr/bin/env python3
"""Prints the dates (YYYYMMDD, one a line) of an RFC 5545 rule from a first date, as
python-dateutil expands it: the independent expansion the repeat rule tests compare against."""
import datetime
import sys

from dateutil.rrule import rrulestr

rule, first = sys.argv[1], sys.argv[2]
start = datetime.datetime.strptime(first, "%Y%m%d")
for d in rrulestr(rule, dtstart=start):
    print(d.strftime("%Y%m%d"))
