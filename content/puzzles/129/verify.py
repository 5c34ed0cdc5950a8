#!/usr/bin/python3
"""The weight of one box: three boxes and 2 kg balance one box and 10 kg."""
import sys

LEFT_BOXES, LEFT_KG = 3, 2
RIGHT_BOXES, RIGHT_KG = 1, 10


def main():
    found = [b for b in range(1, 1000) if LEFT_BOXES * b + LEFT_KG == RIGHT_BOXES * b + RIGHT_KG]
    if len(found) != 1:
        print("expected one weight for a box, got", found)
        sys.exit(1)
    print(found[0])


main()
