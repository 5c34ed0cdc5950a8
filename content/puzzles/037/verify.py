#!/usr/bin/python3
"""Squares in a 3 by 3 window: every square of any size along the frame's lines."""
N = 3
print(sum(1 for size in range(1, N + 1) for x in range(N - size + 1) for y in range(N - size + 1)))
