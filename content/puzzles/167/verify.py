#!/usr/bin/python3
"""Fewest mittens taken blind that surely give a left and a right of every colour.

Try every handful: the answer is one more than the largest handful that still
lacks a matching pair in some colour.
"""
import itertools

PAIRS = {"красные": 4, "синие": 3, "зелёные": 2}

worst = 0
colours = list(PAIRS)
ranges = []
for c in colours:
    ranges += [range(PAIRS[c] + 1), range(PAIRS[c] + 1)]  # left ones, right ones
for counts in itertools.product(*ranges):
    pairs_ok = all(counts[2 * i] > 0 and counts[2 * i + 1] > 0 for i in range(len(colours)))
    if not pairs_ok:
        worst = max(worst, sum(counts))
print(worst + 1)
