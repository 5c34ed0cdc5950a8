#!/usr/bin/python3
"""Read the letters met on the way from the entrance to the exit of the maze."""
import sys

# Letters stand in cells; the entrance is above the top-left cell, the exit below the
# bottom-right one.
MAZE = [
    '+ +-+-+-+-+-+-+',
    '| |    а|   | |',
    '+ + +-+ + + + +',
    '|ч|   |   | |с|',
    '+ +-+ +-+-+ + +',
    '|   |п|  у х  |',
    '+-+ + +-+-+-+ +',
    '|   |     |т  |',
    '+ +-+-+-+ +-+ +',
    '|е|к р  |  е| |',
    '+ +-+ + +-+ + +',
    '| |   |     | |',
    '+ + +-+-+-+-+ +',
    '|   |  л о   а|',
    '+-+-+-+-+-+-+ +',
]

def cells(rows):
    """Parse a maze drawn with + - | into its cells and the passages between them."""
    R, C = (len(rows) - 1) // 2, (len(rows[0]) - 1) // 2
    if any(len(line) != 2 * C + 1 for line in rows):
        print("ragged maze")
        sys.exit(1)
    nbr = {(r, c): [] for r in range(R) for c in range(C)}
    for r in range(R):
        for c in range(C):
            for dr, dc in ((0, 1), (1, 0)):
                if r + dr < R and c + dc < C and rows[2 * r + 1 + dr][2 * c + 1 + dc] == " ":
                    nbr[(r, c)].append((r + dr, c + dc))
                    nbr[(r + dr, c + dc)].append((r, c))
    return nbr


def bfs(nbr, start):
    dist, prev, todo = {start: 0}, {start: None}, [start]
    for cell in todo:
        for n in nbr[cell]:
            if n not in dist:
                dist[n], prev[n] = dist[cell] + 1, cell
                todo.append(n)
    return dist, prev


def find(rows, ch):
    hits = [((i - 1) // 2, (j - 1) // 2) for i, line in enumerate(rows) for j, x in enumerate(line) if x == ch]
    if len(hits) != 1:
        print("expected one", ch, "in the maze, got", len(hits))
        sys.exit(1)
    return hits[0]


def main():
    nbr = cells(MAZE)
    R, C = (len(MAZE) - 1) // 2, (len(MAZE[0]) - 1) // 2
    start, goal = (0, 0), (R - 1, C - 1)
    if MAZE[0][1] != " " or MAZE[2 * R][2 * C - 1] != " ":
        print("the entrance or the exit is walled up")
        sys.exit(1)
    # The maze has no loops, so the way through is the only one.
    edges = sum(len(v) for v in nbr.values()) // 2
    if edges != len(nbr) - 1:
        print("the maze has loops or closed parts:", edges, "passages for", len(nbr), "cells")
        sys.exit(1)
    _, prev = bfs(nbr, start)
    if goal not in prev:
        print("the exit cannot be reached")
        sys.exit(1)
    way, cell = [], goal
    while cell is not None:
        way.append(cell)
        cell = prev[cell]
    print("".join(MAZE[2 * r + 1][2 * c + 1] for r, c in reversed(way)).replace(" ", ""))


main()
