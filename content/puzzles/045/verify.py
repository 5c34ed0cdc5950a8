#!/usr/bin/python3
"""The day that was "yesterday" relative to "the day after tomorrow" is Thursday."""
import sys
DAYS = ["понедельник", "вторник", "среда", "четверг", "пятница", "суббота", "воскресенье"]
found = [DAYS[t] for t in range(7) if DAYS[(t + 2 - 1) % 7] == "четверг"]
if len(found) != 1:
    sys.exit(f"expected one day, found {found}")
print(found[0])
