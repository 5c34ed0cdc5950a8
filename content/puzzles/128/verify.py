#!/usr/bin/python3
"""Which of the four weighings balances, given the two balanced ones.
к is a circle, т a triangle, и a square."""
import sys

GIVEN = [('тт', 'ккк'), ('ик', 'ткк')]
OPTIONS = {'А': ('ии', 'ттт'), 'Б': ('ит', 'кккк'), 'В': ('ик', 'тт'), 'Г': ('иии', 'ттттк')}


def weight(pan, w):
    return sum(w[ch] for ch in pan)


def main():
    # Every set of whole weights up to 60 g that fits the given scales; the answer must
    # hold for all of them, not for one lucky guess.
    fits = []
    for k in range(1, 61):
        for t in range(1, 61):
            for i in range(1, 61):
                w = {"к": k, "т": t, "и": i}
                if all(weight(l, w) == weight(r, w) for l, r in GIVEN):
                    fits.append(w)
    if not fits:
        print("no weights fit the given scales")
        sys.exit(1)
    level = [name for name, (l, r) in OPTIONS.items() if all(weight(l, w) == weight(r, w) for w in fits)]
    tilted = [name for name, (l, r) in OPTIONS.items() if all(weight(l, w) != weight(r, w) for w in fits)]
    if len(level) != 1 or len(level) + len(tilted) != len(OPTIONS):
        print("expected one level scale and the rest tilted:", level, tilted)
        sys.exit(1)
    print(level[0])


main()
