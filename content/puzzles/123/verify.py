#!/usr/bin/python3
"""The weight of one star in the balanced mobile that weighs 96 g in all."""
import sys

TOTAL = 96


def main():
    # Every bar has equal arms, so each bar's two sides weigh the same.
    found = []
    for star in range(1, TOTAL + 1):
        for tri in range(1, TOTAL + 1):
            for ball in range(1, TOTAL + 1):
                low = star + star                     # the lowest bar
                left = tri + low                      # triangle against the two stars
                right = ball + ball
                if tri == low and left == right and left + right == TOTAL:
                    found.append(star)
    if len(found) != 1:
        print("expected one weight for the star, got", found)
        sys.exit(1)
    print(found[0])


main()
