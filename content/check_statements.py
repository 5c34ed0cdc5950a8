#!/usr/bin/python3
"""Check that every statement ends with what is asked.

Usage: check_statements.py [PUZZLES_DIR]

The last paragraph of a statement must hold its question (a "?"), so that a player
reads what to find before the answer dialog opens. Hints and notes go before it.
"""
import sys

import puzzle_checks


def problems(root):
    found = []
    for folder, puzzle in puzzle_checks.each_puzzle(root, found):
        statement = puzzle.get("statement", "")
        paragraphs = [p for p in statement.strip().split("\n\n") if p.strip()]
        if not paragraphs or "?" not in paragraphs[-1]:
            tail = paragraphs[-1].strip().replace("\n", " ") if paragraphs else ""
            found.append(f"{folder.name}: the statement does not end with its question: …{tail[-60:]}")
    return len(puzzle_checks.puzzle_folders(root)), found


def main(argv):
    return puzzle_checks.run(argv, problems, "statements without a closing question")


if __name__ == "__main__":
    sys.exit(main(sys.argv))
