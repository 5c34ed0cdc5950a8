#!/usr/bin/python3
"""Fast and slow clocks set at noon: step the real time second by second until the
displays first differ by exactly one hour.

Times are kept in sixtieths of a second so that every reading is a whole number.
"""
import sys
start = 12 * 3600 * 60
for t in range(1, 3 * 86400):
    fast = start + t * 62          # 62 clock minutes every real hour
    slow = start + t * 59          # 59 clock minutes every real hour
    if fast - slow == 3600 * 60:
        if fast % 60:
            sys.exit("the moment does not fall on a whole second")
        shown = fast // 60 % 86400
        print(f"{shown // 3600}:{shown // 60 % 60:02}:{shown % 60:02}")
        break
else:
    sys.exit("the clocks never differ by an hour")
