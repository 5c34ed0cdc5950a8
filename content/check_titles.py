#!/usr/bin/python3
"""Check that every picture's title strip shows its puzzle's title exactly.

Usage: check_titles.py [PUZZLES_DIR]

A picture has a title strip when its first <text> element stands in the top band of
the picture (its y is below TITLE_BAND); that text must equal the `title` of the
puzzle.toml beside it, character for character. Pictures whose first text is lower
down have no title strip and are not checked.
"""
import pathlib
import sys
import tomllib
import xml.etree.ElementTree as ET

import puzzle_checks

SVG = "{http://www.w3.org/2000/svg}"
# The strip's baseline is at y=49; the drawing proper starts below about y=70.
TITLE_BAND = 75.0


def strip_title(svg_path):
    """The title strip's text, or None when the picture has no title strip."""
    root = ET.parse(svg_path).getroot()
    first = next(root.iter(SVG + "text"), None)
    if first is None:
        return None
    try:
        y = float(first.get("y", "0").split()[0])
    except ValueError:
        y = 0.0
    if y >= TITLE_BAND:
        return None
    return "".join(first.itertext())


def problems(root):
    folders = sorted(p.parent for p in pathlib.Path(root).glob("*/puzzle.toml"))
    found = []
    for folder in folders:
        picture = folder / "picture.svg"
        if not picture.is_file():
            continue  # zentrika-pack reports a missing picture
        try:
            with open(folder / "puzzle.toml", "rb") as f:
                title = tomllib.load(f).get("title", "")
            shown = strip_title(picture)
        except (OSError, tomllib.TOMLDecodeError, ET.ParseError) as e:
            found.append(f"{folder.name}: cannot read: {e}")
            continue
        if shown is not None and shown != title:
            found.append(f"{folder.name}: the picture's title strip says «{shown}», "
                         f"the puzzle's title is «{title}»")
    return len(folders), found


def main(argv):
    return puzzle_checks.run(argv, problems, "title mismatches")


if __name__ == "__main__":
    sys.exit(main(sys.argv))
