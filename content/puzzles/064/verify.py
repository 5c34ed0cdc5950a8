#!/usr/bin/python3
"""Clock cipher: read the letters' places on the picture's dial and decode the times."""
import math
import pathlib
import re
svg = (pathlib.Path(__file__).parent / "picture.svg").read_text("utf-8")
cx, cy = map(float, re.search(r'<circle cx="([\d.]+)" cy="([\d.]+)"', svg).groups())
dial = {}
for x, y, letter in re.findall(r'<text x="([\d.]+)" y="([\d.]+)"[^>]*>([А-ЯЁ])</text>', svg):
    # A letter's baseline sits about 10 px below its middle.
    angle = math.degrees(math.atan2(float(x) - cx, cy - (float(y) - 10))) % 360
    hour = round(angle / 30) % 12 or 12
    assert hour not in dial, hour
    dial[hour] = letter
assert len(dial) == 12
times = re.search(r'>(\d+:\d\d(?: · \d+:\d\d)+)<', svg).group(1).split(" · ")
print("".join(dial[int(t.split(":")[0]) % 12 or 12] for t in times).lower())
