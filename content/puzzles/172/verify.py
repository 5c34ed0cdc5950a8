#!/usr/bin/python3
"""Find the rule from the full rows (the third number from the first two) and
fill the gap; only one whole number may fit."""
import sys

ROWS = [(3, 4, 12), (5, 2, 10), (2, 8, 16), (6, None, 42)]
RULES = {
    "сумма": lambda a, b: a + b,
    "разность": lambda a, b: abs(a - b),
    "произведение": lambda a, b: a * b,
}

full = [r for r in ROWS if None not in r]
rules = [n for n, f in RULES.items() if all(f(a, b) == c for a, b, c in full)]
if len(rules) != 1:
    print("rules that fit the full rows:", rules)
    sys.exit(1)
a, _, c = ROWS[-1]
fits = [b for b in range(0, 100) if RULES[rules[0]](a, b) == c]
if len(fits) != 1:
    print("numbers that fit the gap:", fits)
    sys.exit(1)
print(fits[0])
