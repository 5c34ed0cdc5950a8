#!/usr/bin/python3
"""Ten roubles in coins of 1, 2 and 5: count the ways by how many of each coin."""
print(sum(1 for fives in range(3) for twos in range(6) if 5 * fives + 2 * twos <= 10))
