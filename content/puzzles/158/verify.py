#!/usr/bin/python3
"""Walk the shortest way along the paths; it must be the only shortest one."""
import sys

PATHS = {
    ("Дом", "Мост"): 560,
    ("Дом", "Мельница"): 400,
    ("Мост", "Родник"): 480,
    ("Мельница", "Родник"): 720,
    ("Мельница", "Мост"): 240,
    ("Мост", "Озеро"): 1120,
    ("Родник", "Озеро"): 560,
    ("Мельница", "Озеро"): 1440,
}
SPEED = 80  # metres a minute
LEAVE = 9 * 3600 + 40 * 60

near = {}
for (a, b), d in PATHS.items():
    near.setdefault(a, []).append((b, d))
    near.setdefault(b, []).append((a, d))

lengths = []


def walk(place, seen, length):
    if place == "Озеро":
        lengths.append(length)
        return
    for nxt, d in near[place]:
        if nxt not in seen:
            walk(nxt, seen | {nxt}, length + d)


walk("Дом", {"Дом"}, 0)
best = min(lengths)
if lengths.count(best) != 1:
    print("the shortest way is not the only one")
    sys.exit(1)
t = LEAVE + best * 60 // SPEED
if best * 60 % SPEED:
    print("the walk does not take whole seconds")
    sys.exit(1)
print("%d:%02d:%02d" % (t // 3600, t // 60 % 60, t % 60))
