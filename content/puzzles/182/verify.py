#!/usr/bin/python3
"""Knights on a 3 by 3 board: the white knights of the top row and the black knights of
the bottom row change places. Breadth-first search over all placements."""
import collections
import sys

N = 3
START = {(0, 0): "W", (0, 1): "W", (0, 2): "W", (2, 0): "B", (2, 1): "B", (2, 2): "B"}
GOAL = {(r, c): {"W": "B", "B": "W"}[k] for (r, c), k in START.items()}
JUMPS = ((1, 2), (2, 1), (-1, 2), (-2, 1), (1, -2), (2, -1), (-1, -2), (-2, -1))


def key(board):
    return tuple(sorted(board.items()))


def moves(board):
    for (r, c), k in board.items():
        for dr, dc in JUMPS:
            to = (r + dr, c + dc)
            if 0 <= to[0] < N and 0 <= to[1] < N and to not in board:
                nxt = dict(board)
                del nxt[(r, c)]
                nxt[to] = k
                yield nxt


start, goal = key(START), key(GOAL)
dist = {start: 0}
queue = collections.deque([START])
while queue:
    board = queue.popleft()
    for nxt in moves(board):
        k = key(nxt)
        if k not in dist:
            dist[k] = dist[key(board)] + 1
            queue.append(nxt)
if goal not in dist:
    sys.exit("the knights cannot change places")
print(dist[goal])
