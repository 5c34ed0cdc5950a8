#!/usr/bin/python3
"""The smallest three-digit number with digit sum 20."""
print(next(n for n in range(100, 1000) if sum(map(int, str(n))) == 20))
