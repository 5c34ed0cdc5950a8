#!/usr/bin/python3
"""Sunrise 6:48:20 plus a day of 10 h 37 min 55 s."""
t = (6 * 3600 + 48 * 60 + 20 + 10 * 3600 + 37 * 60 + 55) % 86400
print(f"{t // 3600}:{t // 60 % 60:02}:{t % 60:02}")
