#!/usr/bin/python3
"""The toy train bought and sold twice: the profit, matched against the choices."""
import pathlib
import sys
import tomllib
deals = [-600, +700, -800, +900]
profit = sum(deals)
text = f"{profit} руб." if profit >= 0 else f"–{-profit} руб."
choices = tomllib.loads((pathlib.Path(__file__).parent / "puzzle.toml").read_text("utf-8"))["choices"]
if text not in choices:
    sys.exit(f"{text} is not among the choices")
print(text)
