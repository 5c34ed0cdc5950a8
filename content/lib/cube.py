"""Cube folding and rolling shared by the cube puzzles' verify scripts."""

# Cube faces by position: U up, D down (on the table), N away from us, S towards us, E right, W left.
ROLL = {
    "E": {"D": "E", "E": "U", "U": "W", "W": "D", "N": "N", "S": "S"},
    "W": {"D": "W", "W": "U", "U": "E", "E": "D", "N": "N", "S": "S"},
    "N": {"D": "N", "N": "U", "U": "S", "S": "D", "E": "E", "W": "W"},
    "S": {"D": "S", "S": "U", "U": "N", "N": "D", "E": "E", "W": "W"},
}
STEP = {"E": (1, 0), "W": (-1, 0), "N": (0, -1), "S": (0, 1)}
OPP = {"U": "D", "D": "U", "N": "S", "S": "N", "E": "W", "W": "E"}


def roll(cube, d):
    """cube maps position -> face; after tipping towards d, position p holds what was at ROLL[d][p]."""
    return {p: cube[ROLL[d][p]] for p in cube}


def fold(cells):
    """Fold a drawn net with its drawing outwards; cells maps (col, row) -> label, rows grow
    downwards. Returns position -> label for the cube standing on the first cell, or None
    if two cells land on one face."""
    # The net is laid drawing-down on the table and its flaps are lifted; seen from above
    # it is the mirror image of the picture.
    cells = {(-c, r): v for (c, r), v in cells.items()}
    start = next(iter(cells))
    cube0 = {p: p for p in ROLL["E"]}
    seen = {start: cube0}
    got = {"D": cells[start]}
    todo = [start]
    while todo:
        c = todo.pop()
        for d, (dx, dy) in STEP.items():
            n = (c[0] + dx, c[1] + dy)
            if n in cells and n not in seen:
                seen[n] = roll(seen[c], d)
                face = seen[n]["D"]
                if face in got and got[face] != cells[n]:
                    return None
                got[face] = cells[n]
                todo.append(n)
    return got if len(got) == 6 else None


def rotations(cube):
    """All 24 placements of a labelled cube."""
    out, todo = [], [cube]
    while todo:
        c = todo.pop()
        if c in out:
            continue
        out.append(c)
        todo += [roll(c, d) for d in "EN"]
        todo.append({"U": c["U"], "D": c["D"], "N": c["E"], "E": c["S"], "S": c["W"], "W": c["N"]})
    return out
