#!/usr/bin/python3
"""Brother's cipher: each letter was replaced by the next one in the alphabet; shift back."""
ALPHABET = "абвгдеёжзийклмнопрстуфхцчшщъыьэюя"
code = "ЛПРЙМЛБ".lower()
print("".join(ALPHABET[(ALPHABET.index(c) - 1) % 33] for c in code))
