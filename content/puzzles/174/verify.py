#!/usr/bin/python3
"""Read the grid along a clockwise spiral from the top-left corner: the letters
must go through the alphabet with one fixed step, and only one letter may fill
the gap."""
import sys

ALPHABET = "абвгдеёжзийклмнопрстуфхцчшщъыьэюя"
GRID = [
    ["з", "к", "н"],
    ["ь", "я", "р"],
    ["щ", None, "у"],
]
SPIRAL = [(0, 0), (0, 1), (0, 2), (1, 2), (2, 2), (2, 1), (2, 0), (1, 0), (1, 1)]

fits = []
for letter in ALPHABET:
    cells = [GRID[r][c] or letter for r, c in SPIRAL]
    pos = [ALPHABET.index(ch) for ch in cells]
    steps = {b - a for a, b in zip(pos, pos[1:])}
    if len(steps) == 1:
        fits.append(letter)
if len(fits) != 1:
    print("letters that fit:", fits)
    sys.exit(1)
print(fits[0])
