#!/usr/bin/python3
"""Gears and a crossed belt: meshed gears turn opposite ways, a shared axle keeps the
direction, a crossed belt reverses it."""
import pathlib
import tomllib
links = [("А", "Б", -1), ("Б", "В", -1), ("В", "шкив", +1), ("шкив", "Г", -1)]
turn = {"А": +1}                   # +1 clockwise
for a, b, sign in links:
    turn[b] = turn[a] * sign
choices = tomllib.loads((pathlib.Path(__file__).parent / "puzzle.toml").read_text("utf-8"))["choices"]
same = [c for c in choices if turn[c] == turn["А"]]
if len(same) != 1:
    raise SystemExit(f"expected one wheel, found {same}")
print(same[0])
