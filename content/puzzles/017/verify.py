#!/usr/bin/python3
"""Piggy bank: 11 coins of 2 and 5 roubles make 40 roubles."""
import sys
found = [fives for fives in range(12) if 2 * (11 - fives) + 5 * fives == 40]
if len(found) != 1:
    sys.exit(f"expected one answer, found {found}")
print(found[0])
