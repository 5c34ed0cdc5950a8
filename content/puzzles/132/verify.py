"""Which two of the five pieces fill the 3 by 3 square? Exhaustive tiling search."""
import itertools, sys

PIECES = {  # (row, column) cells as drawn
    "А": [(0, 0), (0, 1), (1, 0), (1, 1)],            # square of four
    "Б": [(0, 0), (0, 1), (1, 0), (1, 1), (2, 0)],    # P of five
    "В": [(0, 1), (0, 2), (1, 0), (1, 1)],            # S of four
    "Г": [(0, 0), (0, 2), (1, 0), (1, 1), (1, 2)],    # U of five
    "Д": [(0, 0), (1, 0), (2, 0), (2, 1)],            # L of four
}
CHOICES = ["А и Б", "А и Г", "Б и В", "В и Г", "Б и Д", "Г и Д"]
N = 3


def norm(cs):
    r0 = min(r for r, _ in cs); c0 = min(c for _, c in cs)
    return tuple(sorted((r - r0, c - c0) for r, c in cs))


def variants(cs):
    out = set()
    for flip in (False, True):
        cur = [(r, -c) if flip else (r, c) for r, c in cs]
        for _ in range(4):
            cur = [(c, -r) for r, c in cur]
            out.add(norm(cur))
    return out


def placements(cs):
    for v in variants(cs):
        for dr in range(N):
            for dc in range(N):
                p = frozenset((r + dr, c + dc) for r, c in v)
                if all(r < N and c < N for r, c in p):
                    yield p


def fills(a, b):
    full = frozenset((r, c) for r in range(N) for c in range(N))
    return any(not (p & q) and p | q == full
               for p in placements(PIECES[a]) for q in placements(PIECES[b]))


good = [f"{a} и {b}" for a, b in itertools.combinations(sorted(PIECES), 2) if fills(a, b)]
if len(good) != 1 or good[0] not in CHOICES:
    print("expected exactly one pair among the choices, got", good)
    sys.exit(1)
print(good[0])
