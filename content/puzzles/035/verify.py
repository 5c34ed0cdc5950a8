#!/usr/bin/python3
"""Number cipher: each letter is its number in the alphabet, Ё included."""
ALPHABET = "абвгдеёжзийклмнопрстуфхцчшщъыьэюя"
code = [12, 1, 13, 6, 15, 5, 1, 18, 30]
print("".join(ALPHABET[n - 1] for n in code))
