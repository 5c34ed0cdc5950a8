#!/usr/bin/python3
"""Yesterday's tomorrow is 1 January: search the day that fits, then step back two days."""
import datetime
import sys
MONTHS = ["январь", "февраль", "март", "апрель", "май", "июнь", "июль", "август",
          "сентябрь", "октябрь", "ноябрь", "декабрь"]
one = datetime.timedelta(days=1)
start = datetime.date(2026, 12, 1)
todays = [d for d in (start + k * one for k in range(62))
          if (d - one + one).month == 1 and (d - one + one).day == 1]
if len(todays) != 1:
    sys.exit(f"expected one day, found {todays}")
print(MONTHS[(todays[0] - 2 * one).month - 1])
