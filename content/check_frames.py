#!/usr/bin/python3
"""Check that every picture uses the house frame (see "The picture frame" in README.md).

Usage: check_frames.py [PUZZLES_DIR]

The picture's first two elements must be the background and the frame, and a title
strip (a first <text> in the top band, as check_titles.py recognises it) must sit on the
house strip with the house lettering. Attributes are compared by value, so the order of
attributes and the way numbers are written do not matter.
"""
import pathlib
import sys
import xml.etree.ElementTree as ET

sys.dont_write_bytecode = True     # the suite runs from the source tree: leave no __pycache__ in it
import check_titles  # noqa: E402

SVG = "{http://www.w3.org/2000/svg}"
BACKGROUND = {"x": 0, "y": 0, "width": 440, "height": 460, "fill": "#fdedc4"}
FRAME = {"x": 10, "y": 10, "width": 420, "height": 440, "rx": 22, "fill": "#fffbf0",
         "stroke": "#4a3318", "stroke-width": 4}
STRIPS = [  # the usual strip and the wider one for long titles
    {"x": 60, "y": 22, "width": 320, "height": 40, "rx": 20, "fill": "#fce19a",
     "stroke": "#4a3318", "stroke-width": 3},
    {"x": 30, "y": 22, "width": 380, "height": 40, "rx": 20, "fill": "#fce19a",
     "stroke": "#4a3318", "stroke-width": 3},
]
LETTERING = {"x": 220, "y": 49, "font-family": "DejaVu Sans", "font-weight": "bold",
             "text-anchor": "middle", "fill": "#4a3318"}


def same(value, want):
    if isinstance(want, (int, float)):
        try:
            return value is not None and float(value) == want
        except ValueError:
            return False
    return value is not None and value.lower() == want.lower()


def matches(element, tag, want):
    return (element is not None and element.tag == SVG + tag
            and all(same(element.get(k), v) for k, v in want.items()))


def problems_of(picture):
    root = ET.parse(picture).getroot()
    shapes = [e for e in root if e.tag != SVG + "defs"]
    found = []
    if not (shapes and matches(shapes[0], "rect", BACKGROUND)):
        found.append("the first element is not the house background")
    if not (len(shapes) > 1 and matches(shapes[1], "rect", FRAME)):
        found.append("the second element is not the house frame")
    if check_titles.strip_title(picture) is not None:
        title = next(root.iter(SVG + "text"))
        before = shapes[shapes.index(title) - 1] if title in shapes and shapes.index(title) else None
        if not any(matches(before, "rect", strip) for strip in STRIPS):
            found.append("the title is not drawn on the house title strip")
        if not matches(title, "text", LETTERING) or not 12 <= float(title.get("font-size", "0")) <= 20:
            found.append("the title is not lettered in the house style")
    return found


def main(argv):
    root = pathlib.Path(argv[1] if len(argv) > 1 else pathlib.Path(__file__).resolve().parent / "puzzles")
    pictures = sorted(root.glob("*/picture.svg"))
    bad = 0
    for picture in pictures:
        try:
            found = problems_of(picture)
        except (OSError, ET.ParseError) as e:
            found = [f"cannot read: {e}"]
        for line in found:
            print(f"{picture.parent.name}: {line}")
        bad += bool(found)
    print(f"{len(pictures)} pictures, {bad} not in the house frame")
    return 1 if bad or not pictures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
