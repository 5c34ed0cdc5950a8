#!/usr/bin/python3
"""Who ate the jam: the culprit for whom exactly one of the five told the truth."""
import sys
kids = ["Аня", "Боря", "Вика", "Гоша", "Дима"]
found = []
for eater in kids:
    said = [eater == "Боря",                  # Аня
            eater == "Гоша",                  # Боря
            eater != "Вика",                  # Вика
            not (eater == "Гоша"),            # Гоша: Боря is not telling the truth
            eater in ("Аня", "Боря")]         # Дима
    if sum(said) == 1:
        found.append(eater)
if len(found) != 1:
    sys.exit(f"expected one culprit, found {found}")
print(found[0])
