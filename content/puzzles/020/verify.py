#!/usr/bin/python3
"""Four purses: the coins drawn under each purse in the picture, added up."""
import pathlib
import re
import sys
svg = (pathlib.Path(__file__).parent / "picture.svg").read_text("utf-8")
texts = [(float(x), float(y), t) for x, y, t in re.findall(r'<text x="([\d.]+)" y="([\d.]+)"[^>]*>([^<]+)</text>', svg)]
names = [(x, y, t) for x, y, t in texts if not t.isdigit() and y > 75]
coins = [(x, y, int(t)) for x, y, t in texts if t.isdigit()]
money = {}
for x, y, value in coins:
    # A coin belongs to the nearest purse label above it on the same side of the picture.
    owner = min((n for n in names if n[1] < y and (n[0] < 220) == (x < 220)), key=lambda n: y - n[1])
    money[owner[2]] = money.get(owner[2], 0) + value
richest = [k for k, v in money.items() if v == max(money.values())]
if len(money) != 4 or len(richest) != 1:
    sys.exit(f"purses: {money}")
print(richest[0])
