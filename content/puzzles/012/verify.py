#!/usr/bin/python3
"""Brothers and sisters: search families of boys and girls that fit both sayings."""
import sys
found = [b + g for b in range(1, 20) for g in range(1, 20)
         if b == 3          # Masha, a girl, has three brothers
         and g == 2]        # her brother Misha has two sisters
if len(found) != 1:
    sys.exit(f"expected one family, found {found}")
print(found[0])
