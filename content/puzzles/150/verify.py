"""Ladder МУХА to РЕКА in three steps, one letter each. Three letters differ, so each
step fixes one of them: try all six orders and keep those whose rungs are nouns in their
dictionary form (the judgement on each possible rung is written out below)."""
import itertools, sys

FROM, TO = "муха", "река"
RUNG_IS_NOUN = {
    "мука": True,   # flour
    "рука": True,
    "руха": False,
    "реха": False,
    "меха": False,  # a form of «мех», not its dictionary form
    "мека": False,
}
diff = [i for i in range(4) if FROM[i] != TO[i]]
ladders = []
for order in itertools.permutations(diff):
    word, rungs = list(FROM), []
    for i in order[:-1]:
        word[i] = TO[i]
        rungs.append("".join(word))
    if all(RUNG_IS_NOUN.get(r, False) for r in rungs):
        ladders.append(rungs)
if len(ladders) != 1:
    print("expected one ladder, got", ladders)
    sys.exit(1)
print(" ".join([FROM] + ladders[0] + [TO]))
print(ladders[0][1])  # the word on the third rung
