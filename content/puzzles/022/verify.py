#!/usr/bin/python3
"""Three Wednesdays on even dates: search every month length and first weekday."""
import sys
DAYS = ["понедельник", "вторник", "среда", "четверг", "пятница", "суббота", "воскресенье"]
answers = set()
for length in (28, 29, 30, 31):
    for first in range(7):         # weekday of the 1st
        wednesdays = [d for d in range(1, length + 1) if (first + d - 1) % 7 == 2]
        if sum(1 for d in wednesdays if d % 2 == 0) == 3:
            answers.add(DAYS[(first + 18 - 1) % 7])
if len(answers) != 1:
    sys.exit(f"the 18th is not determined: {answers}")
print(answers.pop())
