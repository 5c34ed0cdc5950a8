#!/usr/bin/python3
"""Train timetable: add the legs and the stop to the departure."""
def sec(h, m=0, s=0):
    return (h * 60 + m) * 60 + s
t = sec(8, 35) + sec(1, 40) + sec(0, 12) + sec(2, 55)
t %= 86400
print(f"{t // 3600}:{t // 60 % 60:02}:{t % 60:02}")
