"""Pancakes: a flip turns over the top few pancakes together. Breadth-first search for
the fewest flips that put the stack in order, smallest on top."""
import collections

STACK = (4, 1, 5, 2, 3)  # sizes from the top down
goal = tuple(sorted(STACK))
dist = {STACK: 0}
how = {STACK: []}
queue = collections.deque([STACK])
while queue:
    s = queue.popleft()
    if s == goal:
        break
    for k in range(2, len(s) + 1):
        t = s[:k][::-1] + s[k:]
        if t not in dist:
            dist[t] = dist[s] + 1
            how[t] = how[s] + [k]
            queue.append(t)
print("turn over the top", how[goal])
print(dist[goal])
