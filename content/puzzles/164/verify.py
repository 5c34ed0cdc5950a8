#!/usr/bin/python3
"""Fewest balls taken blind that surely include two green ones.

Check every possible handful: the answer is one more than the largest handful
that can still hold fewer than two green balls.
"""
import itertools

BALLS = {"красный": 5, "синий": 4, "зелёный": 3}
NEED = ("зелёный", 2)

worst = 0
ranges = [range(n + 1) for n in BALLS.values()]
for counts in itertools.product(*ranges):
    taken = dict(zip(BALLS, counts))
    if taken[NEED[0]] < NEED[1]:
        worst = max(worst, sum(counts))
print(worst + 1)
