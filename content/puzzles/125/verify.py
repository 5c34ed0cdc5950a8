#!/usr/bin/python3
"""The lightest a balanced mobile can be when every figure weighs a whole number of grams."""
import sys

# (left arm, right arm) of each bar, in notches
TOP, LEFT, RIGHT = (2, 3), (4, 1), (1, 2)
LIMIT = 200  # grams; far more than the answer needs


def level(arms, left, right):
    return left * arms[0] == right * arms[1]


def main():
    best = None
    for star in range(1, LIMIT):
        for square in range(1, LIMIT):
            if not level(LEFT, star, square):
                continue
            for tri in range(1, LIMIT):
                for ball in range(1, LIMIT):
                    if level(RIGHT, tri, ball) and level(TOP, star + square, tri + ball):
                        total = star + square + tri + ball
                        if best is None or total < best:
                            best = total
    if best is None:
        print("no whole-gram weights balance the mobile")
        sys.exit(1)
    print(best)


main()
