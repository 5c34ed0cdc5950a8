#!/usr/bin/python3
"""Uncle Kolya's riddle: search ages with the uncle older and 63 years together."""
import sys
found = []
for kolya in range(1, 63):
    olya = 63 - kolya
    if kolya <= olya:
        continue
    ago = kolya - olya             # when Kolya was as old as Olya is now
    olya_then = olya - ago
    if olya_then >= 0 and kolya == 2 * olya_then:
        found.append(kolya)
if len(found) != 1:
    sys.exit(f"expected one answer, found {found}")
print(found[0])
