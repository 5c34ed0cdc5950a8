#!/usr/bin/python3
"""The odd word out: four choices are anagrams of each other, one is not."""
import collections
import pathlib
import sys
import tomllib
choices = tomllib.loads((pathlib.Path(__file__).parent / "puzzle.toml").read_text("utf-8"))["choices"]
groups = collections.Counter("".join(sorted(w)) for w in choices)
odd = [w for w in choices if groups["".join(sorted(w))] == 1]
if len(odd) != 1 or max(groups.values()) != len(choices) - 1:
    sys.exit(f"groups: {groups}")
print(odd[0])
