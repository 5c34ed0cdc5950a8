#!/usr/bin/python3
"""List every pair of duty officers; count them all and those with Маша."""
import itertools

KIDS = ["Маша", "Коля", "Оля", "Дима", "Женя"]

pairs = list(itertools.combinations(KIDS, 2))
print(len(pairs), sum(1 for p in pairs if "Маша" in p))
