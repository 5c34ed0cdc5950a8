#!/usr/bin/python3
"""Grandpa's new batteries: his clock measures how long he was out, the neighbour's clock
how long he stayed; the two walks took equally long."""
import sys
def sec(h, m=0, s=0):
    return (h * 60 + m) * 60 + s
away = sec(2, 29) - sec(0, 3)
stay = sec(16, 5) - sec(14, 20)
walks = away - stay
if walks % 2:
    sys.exit("the walk does not last a whole number of seconds")
t = (sec(16, 5) + walks // 2) % 86400
print(f"{t // 3600}:{t // 60 % 60:02}:{t % 60:02}")
