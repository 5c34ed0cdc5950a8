#!/usr/bin/python3
"""The fewest steps the mouse (m) needs to reach the cheese (c) through the maze."""
import sys

MAZE = [
    '+-+-+-+-+-+-+-+',
    '|m    |   |   |',
    '+-+-+ + + +-+ +',
    '|     | |     |',
    '+ +-+-+ + +-+-+',
    '|   | |       |',
    '+-+ + + +-+-+ +',
    '| | |       | |',
    '+ + + +-+ +-+ +',
    '|   |   | |   |',
    '+ +-+ + + + + +',
    '|   | |   | | |',
    '+-+ +-+-+-+ + +',
    '|            c|',
    '+-+-+-+-+-+-+-+',
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
    dist, _ = bfs(nbr, find(MAZE, "m"))
    cheese = find(MAZE, "c")
    if cheese not in dist:
        print("the cheese cannot be reached")
        sys.exit(1)
    print(dist[cheese])


main()
