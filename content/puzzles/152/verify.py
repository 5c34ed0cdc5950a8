"""Shift cipher with a growing step: the first letter moved 1 place on, the second 2 and
so on, round the 33-letter alphabet. Decode the message."""
ALPHABET = "абвгдеёжзийклмнопрстуфхцчшщъыьэюя"
CODE = "ОВШТИРЖ"
print("".join(ALPHABET[(ALPHABET.index(ch) - i - 1) % 33] for i, ch in enumerate(CODE.lower())))
