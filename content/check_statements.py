#!/usr/bin/python3
"""Check that every statement ends with what is asked.

Usage: check_statements.py [PUZZLES_DIR]

The last paragraph of a statement must hold its question (a "?"), so that a player
reads what to find before the answer dialog opens. Hints and notes go before it.
"""
import pathlib
import sys
import tomllib


def problems(root):
    folders = sorted(p.parent for p in pathlib.Path(root).glob("*/puzzle.toml"))
    found = []
    for folder in folders:
        try:
            with open(folder / "puzzle.toml", "rb") as f:
                statement = tomllib.load(f).get("statement", "")
        except (OSError, tomllib.TOMLDecodeError) as e:
            found.append(f"{folder.name}: cannot read puzzle.toml: {e}")
            continue
        paragraphs = [p for p in statement.strip().split("\n\n") if p.strip()]
        if not paragraphs or "?" not in paragraphs[-1]:
            tail = paragraphs[-1].strip().replace("\n", " ") if paragraphs else ""
            found.append(f"{folder.name}: the statement does not end with its question: …{tail[-60:]}")
    return len(folders), found


def main(argv):
    root = argv[1] if len(argv) > 1 else pathlib.Path(__file__).resolve().parent / "puzzles"
    count, found = problems(root)
    for line in found:
        print(line)
    print(f"{count} puzzles, {len(found)} statements without a closing question")
    return 1 if found or count == 0 else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
