#!/usr/bin/python3
"""Numbers from 1 to 100 with at least one digit 7."""
print(sum(1 for n in range(1, 101) if "7" in str(n)))
