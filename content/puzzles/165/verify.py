#!/usr/bin/python3
"""Count the throws of two dice for each event; one event must lead alone."""
import itertools
import sys

EVENTS = {
    "А": lambda a, b: a + b == 7,
    "Б": lambda a, b: abs(a - b) == 2,
    "В": lambda a, b: a * b % 5 == 0,
    "Г": lambda a, b: a > 3 and b > 3,
}

throws = list(itertools.product(range(1, 7), repeat=2))
counts = {k: sum(1 for a, b in throws if test(a, b)) for k, test in EVENTS.items()}
best = max(counts.values())
leaders = [k for k, n in counts.items() if n == best]
if len(leaders) != 1:
    print("no single most likely event:", counts)
    sys.exit(1)
print(leaders[0])
