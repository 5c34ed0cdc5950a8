"""Count every way to cut a 3 by 4 rectangle into 1 by 2 dominoes."""
ROWS, COLS = 3, 4


def count(free):
    if not free:
        return 1
    r, c = min(free)
    total = 0
    for other in ((r, c + 1), (r + 1, c)):
        if other in free:
            total += count(free - {(r, c), other})
    return total


print(count(frozenset((r, c) for r in range(ROWS) for c in range(COLS))))
