#!/usr/bin/python3
"""Night train: 22:50:00 plus 3 h 25 min, on a clock that wraps at midnight."""
t = (22 * 3600 + 50 * 60 + 3 * 3600 + 25 * 60) % 86400
print(f"{t // 3600}:{t // 60 % 60:02}:{t % 60:02}")
