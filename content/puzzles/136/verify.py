"""Cut a 4 by 4 square along the grid into two equal halves (congruent, turning or
flipping allowed). Count the cuts, taking cuts that differ by a turn or a flip of the
whole square as the same."""
import itertools

N = 4
ALL = [(r, c) for r in range(N) for c in range(N)]


def connected(s):
    s = set(s)
    stack = [next(iter(s))]
    seen = {stack[0]}
    while stack:
        r, c = stack.pop()
        for n in ((r + 1, c), (r - 1, c), (r, c + 1), (r, c - 1)):
            if n in s and n not in seen:
                seen.add(n); stack.append(n)
    return len(seen) == len(s)


def norm(cs):
    r0 = min(r for r, _ in cs); c0 = min(c for _, c in cs)
    return tuple(sorted((r - r0, c - c0) for r, c in cs))


def shapes(cs):
    out = set()
    for flip in (False, True):
        cur = [(r, -c) if flip else (r, c) for r, c in cs]
        for _ in range(4):
            cur = [(c, -r) for r, c in cur]
            out.add(norm(cur))
    return out


def square_symmetries(cs):
    """The eight images of a set of cells under the square's turns and flips."""
    out = []
    for flip in (False, True):
        cur = [(r, N - 1 - c) if flip else (r, c) for r, c in cs]
        for _ in range(4):
            cur = [(c, N - 1 - r) for r, c in cur]
            out.append(frozenset(cur))
    return out


cuts = set()
for half in itertools.combinations(ALL, N * N // 2):
    a = frozenset(half)
    b = frozenset(ALL) - a
    if not (connected(a) and connected(b)):
        continue
    if norm(b) not in shapes(a):
        continue
    # a cut is the unordered pair of halves; its class is all its images
    key = min(tuple(sorted(tuple(sorted(h)) for h in (s, frozenset(ALL) - s)))
              for s in square_symmetries(a))
    cuts.add(key)
print(len(cuts))
