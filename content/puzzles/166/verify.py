#!/usr/bin/python3
"""Count the four-toss rows that hold two heads side by side."""
import itertools

TOSSES = 4
rows = ["".join(r) for r in itertools.product("ОР", repeat=TOSSES)]
print(sum(1 for r in rows if "ОО" in r))
