#!/usr/bin/python3
"""Knight, liar and trickster: every assignment of the roles that fits what they said."""
import itertools
import sys
names = ["Аня", "Вера", "Галя"]
found = set()
for roles in itertools.permutations(["рыцарь", "лжец", "хитрец"]):
    r = dict(zip(names, roles))
    said = {"Аня": r["Вера"] != "рыцарь", "Вера": r["Аня"] != "лжец", "Галя": r["Вера"] == "хитрец"}
    if all(r[n] == "хитрец" or said[n] == (r[n] == "рыцарь") for n in names):
        found.add(next(n for n in names if r[n] == "хитрец"))
if len(found) != 1:
    sys.exit(f"not determined: {found}")
print(found.pop())
