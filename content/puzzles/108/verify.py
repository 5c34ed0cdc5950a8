#!/usr/bin/python3
"""The circle cipher: the letter seen four times stands for О, the vowel Russian uses most;
shift everything back by the same number of steps."""
import collections
import sys
ALPHABET = "абвгдеёжзийклмнопрстуфхцчшщъыьэюя"
code = "ЗУРУЖУРУСПЕ".lower()
letter, times = collections.Counter(code).most_common(1)[0]
if times != 4:
    sys.exit(f"the hint says one letter appears four times, not {times}")
shift = (ALPHABET.index(letter) - ALPHABET.index("о")) % 33
print("".join(ALPHABET[(ALPHABET.index(c) - shift) % 33] for c in code))
