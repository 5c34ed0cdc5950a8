"""Which animal hides in the sentence, reading its letters in a row across the spaces?"""
import sys

SENTENCE = "На даче был и сад, и огород."
ANIMALS = ["лиса", "лис", "кот", "кит", "ёж", "бык", "як", "лось", "волк", "заяц", "белка",
           "слон", "лев", "тигр", "коза", "овца", "осёл", "мышь", "крот", "енот", "барсук",
           "ласка", "рысь", "олень", "лань", "конь", "гусь", "утка", "сова", "уж", "дрозд",
           "кабан", "хорёк", "сурок", "выдра", "бобр", "тюлень", "морж", "пёс", "сом", "ёрш",
           "оса", "вол", "гад", "ара", "удод"]
letters = "".join(ch for ch in SENTENCE.lower() if ch.isalpha())
found = [a for a in ANIMALS if a in letters]
# «лис» is only the front of «лиса»: a word inside the hidden one is not a second answer
found = [a for a in found if not any(a != b and a in b for b in found)]
if len(found) != 1:
    print("expected one hidden animal, found", found)
    sys.exit(1)
print(found[0])
