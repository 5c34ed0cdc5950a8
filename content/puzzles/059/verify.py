#!/usr/bin/python3
"""Palindromic times on a 24-hour clock, 00:00 to 23:59."""
print(sum(1 for h in range(24) for m in range(60) if f"{h:02}{m:02}" == f"{h:02}{m:02}"[::-1]))
