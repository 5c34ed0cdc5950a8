#!/usr/bin/python3
"""Count the gardener's routes from А that call at each of the 12 flowerbeds exactly once."""

ROWS, COLS = 3, 4
START = (ROWS - 1, 0)  # the bottom left bed


def routes(here, seen):
    if len(seen) == ROWS * COLS:
        return 1
    r, c = here
    total = 0
    for n in ((r + 1, c), (r - 1, c), (r, c + 1), (r, c - 1)):
        if 0 <= n[0] < ROWS and 0 <= n[1] < COLS and n not in seen:
            total += routes(n, seen | {n})
    return total


def main():
    print(routes(START, {START}))


main()
