#!/usr/bin/python3
"""How many times the digit 1 is printed numbering pages 1 to 30."""
print(sum(str(n).count("1") for n in range(1, 31)))
