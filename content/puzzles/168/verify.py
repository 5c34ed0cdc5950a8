#!/usr/bin/python3
"""Which die beats В more often: count all 36 throws against each."""
import sys

DICE = {
    "А": [2, 2, 4, 4, 9, 9],
    "Б": [1, 1, 6, 6, 8, 8],
    "В": [3, 3, 5, 5, 7, 7],
}
VASYA = "В"


def wins(x, y):
    return sum(1 for a in DICE[x] for b in DICE[y] if a > b)


# The story rests on А beating Б; without it there is no trap.
if wins("А", "Б") <= wins("Б", "А"):
    print("А does not beat Б")
    sys.exit(1)
score = {d: wins(d, VASYA) for d in DICE if d != VASYA}
best = max(score.values())
leaders = [d for d, n in score.items() if n == best]
print(leaders[0] if len(leaders) == 1 else "всё равно")
