#!/usr/bin/python3
"""Frogs on stones, jumping only over a frog of the other colour: breadth-first search for the fewest moves that swap the greens and
the browns, then the finishing time from the start and the length of one move."""
import collections
import sys

START = "GGG_BB"   # green frogs go right, brown frogs go left
GOAL = "BB_GGG"
START_SECONDS = 11 * 3600 + 58 * 60 + 30
MOVE_SECONDS = 12


def moves(s):
    i = s.index("_")
    for j, step in ((i - 1, 1), (i - 2, 2)):      # a green frog left of the gap
        if j >= 0 and s[j] == "G" and (step == 1 or s[i - 1] == "B"):
            yield s[:j] + "_" + s[j + 1:i] + "G" + s[i + 1:] if step == 2 else s[:j] + "_G" + s[i + 1:]
    for j, step in ((i + 1, 1), (i + 2, 2)):      # a brown frog right of the gap
        if j < len(s) and s[j] == "B" and (step == 1 or s[i + 1] == "G"):
            yield s[:i] + "B" + s[i + 1:j] + "_" + s[j + 1:] if step == 2 else s[:i] + "B_" + s[j + 1:]


dist = {START: 0}
queue = collections.deque([START])
while queue:
    s = queue.popleft()
    for t in moves(s):
        if t not in dist:
            dist[t] = dist[s] + 1
            queue.append(t)
if GOAL not in dist:
    sys.exit("the frogs cannot swap")
n = dist[GOAL]
end = START_SECONDS + n * MOVE_SECONDS
print("fewest moves:", n)
print(f"{end // 3600}:{end // 60 % 60:02d}:{end % 60:02d}")
