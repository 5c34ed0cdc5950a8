#!/usr/bin/python3
"""Ten islanders, the k-th says "at least k of us are liars": every assignment checked."""
import itertools
import sys
found = set()
for knights in itertools.product([True, False], repeat=10):
    liars = knights.count(False)
    if all(k == (liars >= i + 1) for i, k in enumerate(knights)):
        found.add(knights.count(True))
if len(found) != 1:
    sys.exit(f"not determined: {found}")
print(found.pop())
