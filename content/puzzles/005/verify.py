#!/usr/bin/python3
"""The light fake among 24 coins: the fewest weighings that always find it.

worst[n] is the number of weighings needed, in the worst case, to find the fake among n
suspects; a weighing puts k suspects on each pan and leaves the rest aside, and the
outcome leaves k, k or n - 2k suspects.
"""
N = 24
worst = [0] * (N + 1)
for n in range(2, N + 1):
    worst[n] = 1 + min(max(worst[k], worst[n - 2 * k]) for k in range(1, n // 2 + 1))
print(worst[N])
