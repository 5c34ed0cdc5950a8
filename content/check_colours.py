#!/usr/bin/python3
"""Check that the colours a puzzle needs stay apart for colour-blind players.

Usage: check_colours.py [PUZZLES_DIR]
       check_colours.py --show COLOUR...   (the distances of these colours, for authors)

A puzzle whose solver must tell colours apart lists those colours in puzzle.toml:

    colours = ["#d83a2e", "#7fb2d9"]

Every colour listed must be a fill or stroke of picture.svg, and every two of them
must stay at least MIN_DISTANCE apart (CIEDE2000) under each of the simulations of
protanopia, deuteranopia and tritanopia (Machado, Oliveira and Fernandes 2009,
severity 1), as well as for normal vision. Colours that a label, a pattern or a
shape already tells apart are not listed.

A statement that names a colour must declare the key, if need be as `colours = []`
(the colours are named, but the picture tells them apart by other means too), so
that no puzzle relies on colour without being checked.
"""
import math
import pathlib
import re
import sys
import tomllib

# Far enough apart to be told at a glance on a small patch; palette neighbours such
# as the house cream and gold (#fce19a, #e9c15b) are about 10 apart.
MIN_DISTANCE = 15.0

# Machado et al. 2009, severity 1.0, on linear RGB.
SIMULATIONS = {
    "protanopia": ((0.152286, 1.052583, -0.204868),
                   (0.114503, 0.786281, 0.099216),
                   (-0.003882, -0.048116, 1.051998)),
    "deuteranopia": ((0.367322, 0.860646, -0.227968),
                     (0.280085, 0.672501, 0.047413),
                     (-0.011820, 0.042940, 0.968881)),
    "tritanopia": ((1.255528, -0.076749, -0.178779),
                   (-0.078411, 0.930809, 0.147602),
                   (0.004733, 0.691367, 0.303900)),
}

COLOUR_WORDS = re.compile(r"красн|зел[её]н|син(?:ий|яя|ее|ие|их|его|ей|юю|им)|ж[её]лт|оранжев|фиолетов|"
                          r"голуб|коричнев|розов|цвет", re.IGNORECASE)
HEX = re.compile(r"#[0-9a-fA-F]{6}\b|#[0-9a-fA-F]{3}\b")
PAINT = re.compile(r"(?:fill|stroke)\s*[=:]\s*[\"']?\s*(#[0-9a-fA-F]{3,6})\b")


def parse_hex(text):
    text = text.lstrip("#")
    if len(text) == 3:
        text = "".join(c * 2 for c in text)
    return tuple(int(text[i:i + 2], 16) / 255.0 for i in (0, 2, 4))


def to_linear(c):
    return c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4


def to_lab(linear_rgb):
    r, g, b = linear_rgb
    x = (0.4124564 * r + 0.3575761 * g + 0.1804375 * b) / 0.95047
    y = 0.2126729 * r + 0.7151522 * g + 0.0721750 * b
    z = (0.0193339 * r + 0.1191920 * g + 0.9503041 * b) / 1.08883

    def f(t):
        return t ** (1 / 3) if t > 216 / 24389 else (24389 / 27 * t + 16) / 116
    return 116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))


def simulate(rgb, matrix):
    """The colour as seen with the given deficiency, in linear RGB clipped to the gamut."""
    lin = [to_linear(c) for c in rgb]
    return tuple(min(1.0, max(0.0, sum(m * c for m, c in zip(row, lin)))) for row in matrix)


def ciede2000(lab1, lab2):
    l1, a1, b1 = lab1
    l2, a2, b2 = lab2
    c_mean = (math.hypot(a1, b1) + math.hypot(a2, b2)) / 2
    g = 0.5 * (1 - math.sqrt(c_mean ** 7 / (c_mean ** 7 + 25 ** 7)))
    a1p, a2p = a1 * (1 + g), a2 * (1 + g)
    c1p, c2p = math.hypot(a1p, b1), math.hypot(a2p, b2)
    h1p = math.degrees(math.atan2(b1, a1p)) % 360
    h2p = math.degrees(math.atan2(b2, a2p)) % 360
    dl, dc = l2 - l1, c2p - c1p
    dh = 0.0
    if c1p * c2p:
        dh = h2p - h1p
        dh = dh - 360 if dh > 180 else dh + 360 if dh < -180 else dh
    dhh = 2 * math.sqrt(c1p * c2p) * math.sin(math.radians(dh / 2))
    lp, cp = (l1 + l2) / 2, (c1p + c2p) / 2
    hp = h1p + h2p
    if c1p * c2p:
        if abs(h1p - h2p) <= 180:
            hp = hp / 2
        else:
            hp = (hp + 360) / 2 if hp < 360 else (hp - 360) / 2
    t = (1 - 0.17 * math.cos(math.radians(hp - 30)) + 0.24 * math.cos(math.radians(2 * hp))
         + 0.32 * math.cos(math.radians(3 * hp + 6)) - 0.20 * math.cos(math.radians(4 * hp - 63)))
    sl = 1 + 0.015 * (lp - 50) ** 2 / math.sqrt(20 + (lp - 50) ** 2)
    sc, sh = 1 + 0.045 * cp, 1 + 0.015 * cp * t
    rt = (-2 * math.sqrt(cp ** 7 / (cp ** 7 + 25 ** 7))
          * math.sin(math.radians(60 * math.exp(-(((hp - 275) / 25) ** 2)))))
    return math.sqrt((dl / sl) ** 2 + (dc / sc) ** 2 + (dhh / sh) ** 2 + rt * (dc / sc) * (dhh / sh))


def distances(first, second):
    """{vision: distance} of two '#rrggbb' colours, normal vision included."""
    a, b = parse_hex(first), parse_hex(second)
    out = {"normal": ciede2000(to_lab([to_linear(c) for c in a]), to_lab([to_linear(c) for c in b]))}
    for name, matrix in SIMULATIONS.items():
        out[name] = ciede2000(to_lab(simulate(a, matrix)), to_lab(simulate(b, matrix)))
    return out


def check_puzzle(folder):
    """The problems of one puzzle folder, as lines."""
    try:
        with open(folder / "puzzle.toml", "rb") as f:
            source = tomllib.load(f)
        svg = (folder / "picture.svg").read_text(encoding="utf-8")
    except (OSError, UnicodeDecodeError, tomllib.TOMLDecodeError) as e:
        return [f"{folder.name}: cannot read: {e}"]
    declared = source.get("colours")
    if declared is None:
        named = COLOUR_WORDS.search(source.get("statement", ""))
        return [f"{folder.name}: the statement names a colour («{named.group(0)}») but puzzle.toml has no"
                f" `colours` key"] if named else []
    if not isinstance(declared, list) or not all(isinstance(c, str) and HEX.fullmatch(c) for c in declared):
        return [f"{folder.name}: `colours` must be a list of \"#rrggbb\" colours"]
    painted = {"#" + "".join(ch * 2 for ch in c[1:]).lower() if len(c) == 4 else c.lower()
               for c in PAINT.findall(svg)}
    found = [f"{folder.name}: {c} is not a fill or stroke of picture.svg"
             for c in declared if c.lower() not in painted]
    for i, first in enumerate(declared):
        for second in declared[i + 1:]:
            for vision, d in distances(first, second).items():
                if d < MIN_DISTANCE:
                    found.append(f"{folder.name}: {first} and {second} are {d:.1f} apart with {vision}"
                                 f" (at least {MIN_DISTANCE:g} needed)")
    return found


def main(argv):
    if len(argv) > 1 and argv[1] == "--show":
        colours = argv[2:]
        for i, first in enumerate(colours):
            for second in colours[i + 1:]:
                print(first, second, " ".join(f"{k}={v:.1f}" for k, v in distances(first, second).items()))
        return 0
    root = pathlib.Path(argv[1] if len(argv) > 1 else pathlib.Path(__file__).resolve().parent / "puzzles")
    folders = sorted(p.parent for p in root.glob("*/puzzle.toml"))
    found = [line for folder in folders for line in check_puzzle(folder)]
    for line in found:
        print(line)
    declared = sum(1 for folder in folders if b"colours" in (folder / "puzzle.toml").read_bytes())
    print(f"{len(folders)} puzzles, {declared} with declared colours, {len(found)} problems")
    return 1 if found or not folders else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
