#!/usr/bin/python3
"""The five-storey house: every assignment of floors that fits all six clues."""
import itertools
import sys
names = ["Аня", "Боря", "Вика", "Гоша", "Дима"]
found = []
for floors in itertools.permutations(range(1, 6)):
    f = dict(zip(names, floors))
    if (f["Аня"] > f["Боря"] and f["Вика"] not in (1, 5) and abs(f["Гоша"] - f["Вика"]) == 1
            and abs(f["Аня"] - f["Дима"]) == 2 and f["Боря"] != 1 and f["Гоша"] > f["Дима"]):
        found.append(floors)
if len(found) != 1:
    sys.exit(f"expected one answer, found {found}")
print(*found[0])
