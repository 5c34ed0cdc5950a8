#!/usr/bin/python3
"""28 handshakes, each pair once: search the number of players."""
import sys
found = [n for n in range(2, 100) if n * (n - 1) // 2 == 28]
if len(found) != 1:
    sys.exit(f"expected one answer, found {found}")
print(found[0])
