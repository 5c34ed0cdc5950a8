#!/usr/bin/python3
"""A row of matchstick squares: count the distinct unit sticks of n squares in a row."""
def sticks(n):
    edges = set()
    for x in range(n):
        edges |= {((x, 0), (x + 1, 0)), ((x, 1), (x + 1, 1)), ((x, 0), (x, 1)), ((x + 1, 0), (x + 1, 1))}
    return len(edges)
assert sticks(3) == 10, "the picture's three squares take 10 sticks"
print(sticks(10))
