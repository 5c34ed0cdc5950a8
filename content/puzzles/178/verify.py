#!/usr/bin/python3
"""Nuts game: whoever takes the last nut wins. Mark every pile size as won or lost
for the player to move, then list the first moves that leave the opponent a lost pile."""
import sys

PILE = 26
TAKES = (1, 3, 4)
CHOICES = ["взять 1", "взять 3", "взять 4", "нет способа"]

# wins[n]: the player to move with n nuts left can force a win
wins = [False] * (PILE + 1)
for n in range(1, PILE + 1):
    wins[n] = any(t <= n and not wins[n - t] for t in TAKES)

good = [t for t in TAKES if t <= PILE and not wins[PILE - t]]
print("losing piles for the player to move:", [n for n in range(PILE + 1) if not wins[n]])
print("winning first moves:", good)
if len(good) > 1:
    sys.exit("more than one winning first move")
answer = f"взять {good[0]}" if good else "нет способа"
if answer not in CHOICES:
    sys.exit(f"{answer} is not among the choices")
print(answer)
