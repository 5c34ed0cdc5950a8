#!/usr/bin/python3
"""A clock seen in a mirror: the hands as drawn show 4:20; the real time is their mirror image.

Every morning time from 0:00 to 11:59 is tried, and the one whose mirror image has the
hands as drawn is the answer.
"""
import sys
SHOWN = (4 * 60 + 20)              # what the picture's hands show, in minutes after 12
found = []
for t in range(12 * 60):
    minute_angle = (t % 60) * 6
    hour_angle = (t * 0.5) % 360
    mirrored = ((360 - hour_angle) % 360, (360 - minute_angle) % 360)
    shown = ((SHOWN * 0.5) % 360, (SHOWN % 60) * 6)
    if mirrored == shown:
        found.append(t)
if len(found) != 1:
    sys.exit(f"expected one time, found {found}")
t = found[0] if found[0] >= 60 else found[0] + 12 * 60   # 0:xx on a dial is 12:xx
print(f"{t // 60}:{t % 60:02}:00")
