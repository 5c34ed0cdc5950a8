#!/usr/bin/python3
"""Friday the 13th in a common year that starts on a Thursday."""
LENGTHS = [31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31]
THURSDAY, FRIDAY = 3, 4
count = 0
first = THURSDAY                   # weekday of the 1st of the month
for length in LENGTHS:
    if (first + 12) % 7 == FRIDAY:
        count += 1
    first = (first + length) % 7
print(count)
