#!/usr/bin/python3
"""A 3x3x3 cube painted outside: small cubes with exactly two painted faces."""
N = 3
print(sum(1 for x in range(N) for y in range(N) for z in range(N)
          if sum(c in (0, N - 1) for c in (x, y, z)) == 2))
