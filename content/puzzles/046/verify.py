#!/usr/bin/python3
"""Sawing a log into 8 pieces, 3 minutes a cut."""
pieces, cut = 8, 3
cuts = 0
while cuts + 1 < pieces:          # each cut adds one piece
    cuts += 1
print(cuts * cut)
