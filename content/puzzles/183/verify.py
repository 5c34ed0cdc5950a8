#!/usr/bin/python3
"""Rings on three posts in a row: a ring may move only to the neighbouring post and never
onto a smaller ring. Breadth-first search for the fewest moves from the left post to the right."""
import collections
import sys

RINGS = 3
POSTS = 3
START = tuple([0] * RINGS)            # post of each ring, smallest ring first
GOAL = tuple([POSTS - 1] * RINGS)


def moves(state):
    for ring, post in enumerate(state):
        if any(state[smaller] == post for smaller in range(ring)):
            continue                    # a smaller ring lies on top of it
        for to in (post - 1, post + 1):
            if 0 <= to < POSTS and not any(state[smaller] == to for smaller in range(ring)):
                yield state[:ring] + (to,) + state[ring + 1:]


dist = {START: 0}
queue = collections.deque([START])
while queue:
    s = queue.popleft()
    for t in moves(s):
        if t not in dist:
            dist[t] = dist[s] + 1
            queue.append(t)
if GOAL not in dist:
    sys.exit("the rings cannot be moved")
print(dist[GOAL])
