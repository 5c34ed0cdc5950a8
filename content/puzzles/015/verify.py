#!/usr/bin/python3
"""Who is the youngest: every order of ages that fits the clues has the same youngest."""
import itertools
import sys
names = ["Аня", "Боря", "Вера", "Гоша"]
youngest = set()
for ages in itertools.permutations(range(4)):
    a = dict(zip(names, ages))
    if a["Боря"] > a["Гоша"] and a["Боря"] < a["Вера"] and a["Аня"] < a["Гоша"]:
        youngest.add(min(names, key=a.get))
if len(youngest) != 1:
    sys.exit(f"the youngest is not determined: {youngest}")
print(youngest.pop())
