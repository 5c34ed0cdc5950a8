#!/usr/bin/python3
"""Round-robin of six players: count the pairs."""
import itertools
players = ["Аня", "Боря", "Вика", "Гоша", "Дима", "Егор"]
print(sum(1 for _ in itertools.combinations(players, 2)))
