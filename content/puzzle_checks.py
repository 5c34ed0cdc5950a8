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


def run(argv, problems, what):
    root = argv[1] if len(argv) > 1 else pathlib.Path(__file__).resolve().parent / "puzzles"
    count, found = problems(root)
    for line in found:
        print(line)
    print(f"{count} puzzles, {len(found)} {what}")
    return 1 if found or count == 0 else 0
