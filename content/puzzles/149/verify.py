"""In four words a tree hides (letters in a row); which word holds none?"""
import sys

CHOICES = ["ДИВАН", "СЕЛЬДЬ", "ВЯЗАНКА", "ДУБЛЁНКА", "ПАЛЬТО"]
TREES = ["ива", "ель", "вяз", "бук", "дуб", "липа", "клён", "сосна", "ольха", "осина",
         "берёза", "ясень", "кедр", "пихта", "тополь", "рябина", "пальма", "каштан",
         "акация", "тис", "граб", "явор", "айва", "слива", "вишня", "груша", "яблоня",
         "орех", "лиственница", "туя", "самшит", "черёмуха", "калина"]
empty = [w for w in CHOICES if not any(t in w.lower() for t in TREES)]
if len(empty) != 1:
    print("expected one word without a tree, got", empty)
    sys.exit(1)
print(empty[0])
