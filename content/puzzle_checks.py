"""What the collection's checks share: reading each puzzle's source, and the
way a check reports (a line per problem, a count, exit 1 on any problem or no
puzzle at all)."""
import pathlib
import tomllib


def puzzle_folders(root):
    return sorted(p.parent for p in pathlib.Path(root).glob("*/puzzle.toml"))


def read_puzzle(folder):
    """The puzzle's source as a dict, or the reason it cannot be read."""
    try:
        with open(folder / "puzzle.toml", "rb") as f:
            return tomllib.load(f), None
    except (OSError, tomllib.TOMLDecodeError) as e:
        return None, f"{folder.name}: cannot read puzzle.toml: {e}"


def each_puzzle(root, found):
    """Yields (folder, puzzle) for every readable source; a source that cannot
    be read is reported in found instead."""
    for folder in puzzle_folders(root):
        puzzle, error = read_puzzle(folder)
        if error:
            found.append(error)
        else:
            yield folder, puzzle


def run(argv, problems, what):
    root = argv[1] if len(argv) > 1 else pathlib.Path(__file__).resolve().parent / "puzzles"
    count, found = problems(root)
    for line in found:
        print(line)
    print(f"{count} puzzles, {len(found)} {what}")
    return 1 if found or count == 0 else 0
