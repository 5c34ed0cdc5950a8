#!/usr/bin/python3
"""Earliest arrival by train then bus, with ten minutes to walk between them."""
import sys

TRAINS = [("8:15", "9:50"), ("9:05", "10:40"), ("10:20", "11:55")]
BUSES = [("9:55", "10:45"), ("10:45", "11:35"), ("11:30", "12:20"), ("12:10", "13:00")]
READY = "8:00"
WALK = 10


def m(hm):
    h, mm = hm.split(":")
    return int(h) * 60 + int(mm)


best = None
for dep, arr in TRAINS:
    if m(dep) < m(READY):
        continue
    for bdep, barr in BUSES:
        if m(bdep) >= m(arr) + WALK and (best is None or m(barr) < best):
            best = m(barr)
if best is None:
    print("no connection")
    sys.exit(1)
print("%d:%02d:00" % (best // 60, best % 60))
