#!/usr/bin/python3
"""Train departs 9:45:00 and travels 2 h 35 min."""
t = (9 * 3600 + 45 * 60 + 2 * 3600 + 35 * 60) % 86400
print(f"{t // 3600}:{t // 60 % 60:02}:{t % 60:02}")
