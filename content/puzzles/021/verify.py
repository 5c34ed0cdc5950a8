#!/usr/bin/python3
"""The day after tomorrow is Saturday: what was yesterday."""
DAYS = ["понедельник", "вторник", "среда", "четверг", "пятница", "суббота", "воскресенье"]
today = (DAYS.index("суббота") - 2) % 7
print(DAYS[(today - 1) % 7])
