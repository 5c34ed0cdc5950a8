#!/usr/bin/python3
"""Find where the two trains pass on the single track; they must pass at a station."""
import sys

STATIONS = ["Липки", "Дубки", "Кленово", "Сосновка", "Ивняки"]
# (arrival, departure) at each station, in the order of STATIONS
EAST = [(None, "9:00"), ("9:25", "9:27"), ("9:50", "10:05"), ("10:30", "10:32"), ("10:55", None)]
WEST = [("10:50", None), ("10:25", "10:27"), ("10:00", "10:02"), ("9:45", "9:47"), (None, "9:20")]


def m(hm):
    h, mm = hm.split(":")
    return int(h) * 60 + int(mm)


def position(times, t):
    """Where a train is at minute t, as a station index (fractions between stations)."""
    points = []
    for i, (a, d) in enumerate(times):
        if a:
            points.append((m(a), i))
        if d:
            points.append((m(d), i))
    points.sort()
    if t <= points[0][0]:
        return points[0][1]
    for (t1, p1), (t2, p2) in zip(points, points[1:]):
        if t1 <= t <= t2:
            return p1 + (p2 - p1) * (t - t1) / (t2 - t1)
    return points[-1][1]


# Seconds are fine enough: every time in the tables is a whole minute.
met = []
for s in range(9 * 3600, 11 * 3600):
    t = s / 60
    if position(EAST, t) >= position(WEST, t):
        met.append(t)
if not met:
    print("the trains never meet")
    sys.exit(1)
place = position(EAST, met[0])
if place != int(place) or position(WEST, met[0]) != place:
    print("the trains would meet between stations, at", place)
    sys.exit(1)
print(STATIONS[int(place)].lower())
