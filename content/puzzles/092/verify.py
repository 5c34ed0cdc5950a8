#!/usr/bin/python3
"""Four lessons of 45 minutes from 8:30:00 with 10-minute breaks between them."""
t = 8 * 3600 + 30 * 60
for lesson in range(4):
    if lesson:
        t += 10 * 60
    t += 45 * 60
print(f"{t // 3600}:{t // 60 % 60:02}:{t % 60:02}")
