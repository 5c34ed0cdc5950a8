#!/usr/bin/python3
"""Look and say: each row reads the previous one aloud."""
import itertools
rows = ["1"]
while len(rows) < 6:
    rows.append("".join(f"{len(list(g))}{d}" for d, g in itertools.groupby(rows[-1])))
assert rows[:5] == ["1", "11", "21", "1211", "111221"], rows
print(rows[5])
