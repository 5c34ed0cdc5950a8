#!/usr/bin/python3
"""Four-team tournament: try all 3^6 ways the six matches could end, keep those that give
the final points, and check that they agree on the Wolves' three matches."""
import itertools
import sys

TEAMS = ["Акулы", "Бобры", "Волки", "Гуси"]
POINTS = [7, 5, 3, 1]
WIN, DRAW = 3, 1
ASKED = 2                       # the Wolves

pairs = list(itertools.combinations(range(4), 2))
tables = []
for ends in itertools.product(("first", "draw", "second"), repeat=len(pairs)):
    got = [[None] * 4 for _ in range(4)]     # got[a][b]: points a took from the match with b
    for (a, b), end in zip(pairs, ends):
        got[a][b], got[b][a] = {"first": (WIN, 0), "draw": (DRAW, DRAW), "second": (0, WIN)}[end]
    if [sum(p for p in row if p is not None) for row in got] == POINTS:
        tables.append(got)

answers = {tuple(t[ASKED][o] for o in range(4) if o != ASKED) for t in tables}
print("tables that fit:", len(tables))
if len(answers) != 1:
    sys.exit(f"the Wolves' matches are not determined: {answers}")
print(" ".join(map(str, answers.pop())))
