#!/usr/bin/python3
"""Weights of the square, the triangle and the star in the balanced mobile with uneven arms."""
import sys

BALL = 6
# (left arm, right arm) of each bar, in notches
TOP, LEFT, RIGHT = (1, 2), (3, 1), (1, 2)


def level(arms, left, right):
    return left * arms[0] == right * arms[1]


def main():
    found = []
    for square in range(1, 100):
        for tri in range(1, 100):
            for star in range(1, 100):
                lw, rw = BALL + square, tri + star
                if level(LEFT, BALL, square) and level(RIGHT, tri, star) and level(TOP, lw, rw):
                    found.append((square, tri, star))
    if len(found) != 1:
        print("expected one set of weights, got", found)
        sys.exit(1)
    print(" ".join(map(str, found[0])))


main()
