#!/usr/bin/python3
"""One litre: breadth-first search of every state for each pair of cans."""
import pathlib
import re
import sys
import tomllib


def can_measure(caps, target):
    seen, stack = {(0, 0)}, [(0, 0)]
    while stack:
        a, b = stack.pop()
        if target in (a, b):
            return True
        pa = min(a, caps[1] - b)
        pb = min(b, caps[0] - a)
        for n in ((caps[0], b), (a, caps[1]), (0, b), (a, 0), (a - pa, b + pa), (a + pb, b - pb)):
            if n not in seen:
                seen.add(n)
                stack.append(n)
    return False


choices = tomllib.loads((pathlib.Path(__file__).parent / "puzzle.toml").read_text("utf-8"))["choices"]
never = [c for c in choices if not can_measure(tuple(map(int, re.findall(r"\d+", c))), 1)]
if len(never) != 1:
    sys.exit(f"expected one pair, found {never}")
print(never[0])
