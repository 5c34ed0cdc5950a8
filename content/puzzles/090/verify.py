#!/usr/bin/python3
"""Snowman outfits: one hat with one scarf."""
import itertools
hats = ["колпак", "ушанка", "ведро"]
scarves = range(4)
print(sum(1 for _ in itertools.product(hats, scarves)))
