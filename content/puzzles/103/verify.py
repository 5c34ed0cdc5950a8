#!/usr/bin/python3
"""Two walkers from dawn to noon: search the dawn (to the second) for which their speeds
agree with the times after the meeting (4 h and 9 h)."""
import sys
NOON = 12 * 3600
after1, after2 = 4 * 3600, 9 * 3600
# Before noon the first walks (noon - dawn) what the second walks in after2, and the
# second walks (noon - dawn) what the first walks in after1: t / after2 == after1 / t.
found = [dawn for dawn in range(NOON) if (NOON - dawn) ** 2 == after1 * after2]
if len(found) != 1:
    sys.exit(f"expected one dawn, found {found}")
t = found[0]
print(f"{t // 3600}:{t // 60 % 60:02}:{t % 60:02}")
