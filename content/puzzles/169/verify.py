#!/usr/bin/python3
"""Compare the chance of a red ball by cross-multiplying the counts."""

BAGS = {"первый": (3, 1), "второй": (5, 3)}  # red, blue

(r1, b1), (r2, b2) = BAGS["первый"], BAGS["второй"]
# r1 / (r1 + b1) against r2 / (r2 + b2), in whole numbers
left, right = r1 * (r2 + b2), r2 * (r1 + b1)
print("первый" if left > right else "второй" if right > left else "одинаково")
