#!/usr/bin/python3
"""Weekdays by one rule: find every constant step that fits the row, and the next day."""
import sys
DAYS = ["понедельник", "вторник", "среда", "четверг", "пятница", "суббота", "воскресенье"]
row = [DAYS.index(d) for d in ["вторник", "пятница", "понедельник", "четверг"]]
steps = [s for s in range(1, 7) if all((b - a) % 7 == s for a, b in zip(row, row[1:]))]
if len(steps) != 1:
    sys.exit(f"expected one step, found {steps}")
print(DAYS[(row[-1] + steps[0]) % 7])
