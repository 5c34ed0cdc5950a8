#!/usr/bin/python3
"""Cats and mice: each cat catches one mouse in every three minutes; the fewest cats that
catch 99 mice in 99 minutes."""
per_cat = 99 // 3                  # whole mice one cat catches in 99 minutes
cats = 1
while cats * per_cat < 99:
    cats += 1
print(cats)
