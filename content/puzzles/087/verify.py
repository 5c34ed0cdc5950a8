#!/usr/bin/python3
"""Two-digit numbers from two different cards of 0, 1, 2, 3."""
import itertools
print(len({10 * a + b for a, b in itertools.permutations([0, 1, 2, 3], 2) if a}))
