#!/usr/bin/python3
"""Count the walks from А to Б that never come to the same pavilion twice."""

# Pavilions 0..5 round the park (А is 0, Б is 3), the fountain is 6.
ALLEYS = [(0, 1), (1, 2), (2, 3), (3, 4), (4, 5), (5, 0), (0, 6), (1, 6), (2, 6), (3, 6), (4, 6), (5, 6)]
START, FINISH = 0, 3


def walks(here, seen, nbr):
    if here == FINISH:
        return 1
    return sum(walks(n, seen | {n}, nbr) for n in nbr[here] if n not in seen)


def main():
    nbr = {}
    for a, b in ALLEYS:
        nbr.setdefault(a, []).append(b)
        nbr.setdefault(b, []).append(a)
    print(walks(START, {START}, nbr))


main()
