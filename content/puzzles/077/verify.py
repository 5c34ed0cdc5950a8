#!/usr/bin/python3
"""The snail: 3 m up by day, 2 m down by night, a 10 m pole."""
height, day = 0, 0
while True:
    day += 1
    height += 3
    if height >= 10:
        break
    height -= 2
print(day)
