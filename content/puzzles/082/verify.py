#!/usr/bin/python3
"""Arrangements of the letters of КОЛОКОЛ that read differently."""
import itertools
print(len(set(itertools.permutations("КОЛОКОЛ"))))
