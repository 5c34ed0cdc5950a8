"""Nine hikers, anyone rows: fewest crossings with a boat for two and with a boat for three."""
import collections

HIKERS = 9


def fewest(seats):
    start, goal = (HIKERS, 0), (0, 1)   # (hikers on the near bank, where the boat is)
    dist = {start: 0}
    queue = collections.deque([start])
    while queue:
        left, side = s = queue.popleft()
        here = left if side == 0 else HIKERS - left
        for k in range(1, min(seats, here) + 1):
            n = (left - k if side == 0 else left + k, 1 - side)
            if n not in dist:
                dist[n] = dist[s] + 1
                queue.append(n)
    return dist[goal]


print(fewest(2), fewest(3))
