"""Shortest ladder from КОТ to СУП through the words on the picture only."""
import collections, sys

WORDS = ["КОТ", "КИТ", "РОТ", "ПОТ", "ПОЛ", "ГОЛ", "ГОД", "КОД", "РОК", "ТОК", "БОК",
         "БУК", "ЛУК", "ЛАК", "МАК", "СУК", "СУП", "СУД"]


def near(a, b):
    return sum(x != y for x, y in zip(a, b)) == 1


dist = {"КОТ": 0}
queue = collections.deque(["КОТ"])
while queue:
    w = queue.popleft()
    for n in WORDS:
        if n not in dist and near(w, n):
            dist[n] = dist[w] + 1
            queue.append(n)
if "СУП" not in dist:
    print("no ladder")
    sys.exit(1)
print(dist["СУП"])
