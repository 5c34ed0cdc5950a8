#!/usr/bin/python3
"""Checks the texts a player reads for slips that have crept in before.

Usage: player_texts.py SOURCE_DIR

Looks through the game's sources, the tools, the manual pages, README.md, the
desktop metadata and the puzzles for
- words written with е where ё belongs (a list of words that are never
  spelt otherwise; words such as "все" that are right either way are left out);
- another word than «сборник» for the collection.
Prints each finding as FILE:LINE: WORD and exits 1 when there is any."""
import pathlib
import re
import sys

# Whole words, in lower case. Each is wrong as written: its right spelling has ё.
MISSING_YO = """
    легкий легкая легкое легкие легкого легкой легкую легких легким легкими
    тяжелый тяжелая тяжелое тяжелые тяжелого тяжелой тяжелую тяжелых тяжелым тяжелыми
    решенный решенная решенное решенные решенного решенной решенную решенных решенным решенными
    удален удаленный удаленные перекрещен перекрещенный зачеркнут зачеркнутый
    еще ее нее нем черный черная черное черные желтый желтая желтое желтые
    зеленый зеленая зеленое зеленые темный темная темное темные теплый теплая
    счет идет дает берет несет ведет живет найдет пойдет придет поймет
    нашел пришел ушел вошел прошел учет отчет вперед вдвоем втроем трех четырех
    подъем объем ребенок котенок лед пес еж ежик елка
""".split()

OTHER_COLLECTION_WORDS = ["собрание", "собрания", "собранию", "собранием", "собрании", "коллекция", "коллекции",
                          "коллекцию", "коллекцией"]

WORD = re.compile(r"[А-Яа-яЁё]+")


def player_files(root):
    for folder, patterns in (("src", ("*.cpp", "*.h")), ("tools", ("*.cpp", "*.h")), ("dist", ("*",)),
                             ("content/puzzles", ("*.toml", "*.svg"))):
        for pattern in patterns:
            yield from (p for p in sorted((root / folder).rglob(pattern)) if p.is_file())
    yield root / "README.md"


def findings(root):
    wrong = {w: "ё" for w in MISSING_YO}
    wrong.update({w: "сборник" for w in OTHER_COLLECTION_WORDS})
    for path in player_files(root):
        try:
            lines = path.read_text(encoding="utf-8").splitlines()
        except (UnicodeDecodeError, OSError):
            continue
        for number, line in enumerate(lines, 1):
            for word in WORD.findall(line):
                if word.lower() in wrong:
                    yield "%s:%d: %s (%s)" % (path.relative_to(root), number, word, wrong[word.lower()])


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".").resolve()
    found = list(findings(root))
    for line in found:
        print(line)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
