#!/usr/bin/python3
"""Who is tallest: every order of heights that fits the clues has the same tallest."""
import itertools
import sys
names = ["Аня", "Боря", "Вика", "Гоша"]
tallest = set()
for h in itertools.permutations(range(4)):
    t = dict(zip(names, h))
    if t["Вика"] > t["Боря"] and t["Аня"] < t["Гоша"] and t["Боря"] > t["Гоша"]:
        tallest.add(max(names, key=t.get))
if len(tallest) != 1:
    sys.exit(f"not determined: {tallest}")
print(tallest.pop())
