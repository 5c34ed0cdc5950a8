#!/usr/bin/python3
"""The fewest weighings that surely put four apples in order of weight."""
import sys

def closure(rel, n):
    """Add everything that follows from the known results (lighter, heavier)."""
    rel = set(rel)
    changed = True
    while changed:
        changed = False
        for a, b in list(rel):
            for c, d in list(rel):
                if b == c and (a, d) not in rel:
                    rel.add((a, d))
                    changed = True
    return frozenset(rel)


def fewest(n, done, limit):
    """The fewest one-against-one weighings that surely reach done(), by full search over
    what could be learnt; the results come from an opponent who answers worst for us."""
    memo = {}

    def can(rel, k):
        if done(rel, n):
            return True
        if k == 0:
            return False
        key = (rel, k)
        if key not in memo:
            memo[key] = False
            for a in range(n):
                for b in range(a + 1, n):
                    if (a, b) in rel or (b, a) in rel:
                        continue  # already known: a wasted weighing
                    if can(closure(rel | {(a, b)}, n), k - 1) and can(closure(rel | {(b, a)}, n), k - 1):
                        memo[key] = True
                        break
                if memo[key]:
                    break
        return memo[key]

    for k in range(limit + 1):
        if can(frozenset(), k):
            return k
    return None


def ordered(rel, n):
    return len(rel) == n * (n - 1) // 2


def main():
    k = fewest(4, ordered, 10)
    if k is None:
        print("no plan within 10 weighings")
        sys.exit(1)
    print(k)


main()
