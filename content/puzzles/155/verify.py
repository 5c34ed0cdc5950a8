#!/usr/bin/python3
"""Lena takes the first bus after she reaches the stop; add the ride."""
import sys

DEPARTURES = ["7:10", "7:32", "7:46", "8:04", "8:21", "8:40"]
ARRIVE_AT_STOP = "7:47"
RIDE = 23


def minutes(hm):
    h, m = hm.split(":")
    return int(h) * 60 + int(m)


later = [minutes(d) for d in DEPARTURES if minutes(d) >= minutes(ARRIVE_AT_STOP)]
if not later:
    print("no bus after Lena reaches the stop")
    sys.exit(1)
t = min(later) + RIDE
print("%d:%02d:00" % (t // 60, t % 60))
