#!/usr/bin/python3
"""The collection's checks, run on small made-up puzzle folders."""
import pathlib
import subprocess
import tempfile
import unittest

HERE = pathlib.Path(__file__).resolve().parent.parent
PYTHON = "/usr/bin/python3"

FRAME = ('<svg xmlns="http://www.w3.org/2000/svg" width="440" height="460" viewBox="0 0 440 460">\n'
         '<rect x="0" y="0" width="440" height="460" fill="#fdedc4"/>\n')


def title_svg(text, y=49):
    return FRAME + f'<text x="220" y="{y}" font-size="20">{text}</text>\n</svg>\n'


def toml(title="Две свечи", kind="number", answer="42", statement="Сколько?"):
    return (f'id = 1\ntitle = "{title}"\ndifficulty = 0\nkind = "{kind}"\nanswer = {answer}\n'
            f'question = "?"\nstatement = """\n{statement}\n"""\nsolution = "."\n')


def run(script, folders):
    """Writes {name: {file: text}} into a temporary puzzles folder and runs script on it."""
    with tempfile.TemporaryDirectory() as root:
        for name, files in folders.items():
            (pathlib.Path(root) / name).mkdir()
            for file, text in files.items():
                (pathlib.Path(root) / name / file).write_text(text, encoding="utf-8")
        args = [PYTHON, str(HERE / script), root]
        if script == "verify_answers.py":
            args += ["--timeout", "2"]
        done = subprocess.run(args, capture_output=True, text=True, timeout=60)
        return done.returncode, done.stdout


class TitleCheck(unittest.TestCase):
    CASES = [
        # (what, picture, exit code)
        ("strip shows the title", title_svg("Две свечи"), 0),
        ("no strip: first text lower down", title_svg("24 монеты", y=148), 0),
        ("no text at all", FRAME + "</svg>\n", 0),
        ("another caption in the strip", title_svg("Рукопожатия"), 1),
        ("shortened title", title_svg("Свечи"), 1),
        ("case differs", title_svg("две свечи"), 1),
        ("title only in a later text", title_svg("24 монеты", y=40).replace(
            "</svg>", '<text y="49">Две свечи</text></svg>'), 1),
    ]

    def test_table(self):
        for what, svg, code in self.CASES:
            with self.subTest(what):
                got, out = run("check_titles.py", {"001": {"puzzle.toml": toml(), "picture.svg": svg}})
                self.assertEqual(got, code, out)


HOUSE = ('<svg xmlns="http://www.w3.org/2000/svg" width="440" height="460" viewBox="0 0 440 460">\n'
         '<rect x="0" y="0" width="440" height="460" fill="#fdedc4"/>\n'
         '<rect x="10" y="10" width="420" height="440" rx="22" fill="#fffbf0" stroke="#4a3318" stroke-width="4"/>\n')
STRIP = '<rect x="60" y="22" width="320" height="40" rx="20" fill="#fce19a" stroke="#4a3318" stroke-width="3"/>\n'
LETTERING = ('<text x="220" y="49" font-family="DejaVu Sans" font-size="20" font-weight="bold" '
             'text-anchor="middle" fill="#4a3318">Две свечи</text>\n')


class FrameCheck(unittest.TestCase):
    CASES = [
        ("house frame, no strip", HOUSE + '<circle cx="220" cy="200" r="50"/></svg>', 0),
        ("house frame and strip", HOUSE + STRIP + LETTERING + "</svg>", 0),
        ("wide strip, smaller lettering, other attribute order and number forms",
         HOUSE + STRIP.replace('x="60"', 'x="30.0"').replace('width="320"', 'width="380"')
         + LETTERING.replace('font-size="20"', 'font-size="18"').replace('x="220" y="49"', 'y="49.0" x="220"')
         + "</svg>", 0),
        ("golden frame", HOUSE.replace('x="10" y="10" width="420" height="440" rx="22"',
                                       'x="12" y="12" width="416" height="436" rx="18"')
         .replace('stroke="#4a3318" stroke-width="4"', 'stroke="#b08a3e" stroke-width="3"') + "</svg>", 1),
        ("gradient background", HOUSE.replace('fill="#fdedc4"', 'fill="url(#bg)"') + "</svg>", 1),
        ("title without its strip", HOUSE + LETTERING + "</svg>", 1),
        ("title lettered in another colour", HOUSE + STRIP + LETTERING.replace('fill="#4a3318"', 'fill="#5a3e1b"')
         + "</svg>", 1),
    ]

    def test_table(self):
        for what, svg, code in self.CASES:
            with self.subTest(what):
                got, out = run("check_frames.py", {"001": {"puzzle.toml": toml(), "picture.svg": svg}})
                self.assertEqual(got, code, out)


class StatementCheck(unittest.TestCase):
    CASES = [
        ("ends with its question", "Было 3 яблока.\n\nСколько яблок осталось?", 0),
        ("question inside the last paragraph", "Сколько граммов весит ананас? Ответ в граммах.", 0),
        ("ends without asking", "Один кот ловит мышь за три минуты.", 1),
        ("a hint after the question", "Сколько лет дяде?\n\n*Подсказка: читайте вслух.*", 1),
    ]

    def test_table(self):
        for what, statement, code in self.CASES:
            with self.subTest(what):
                got, out = run("check_statements.py", {"001": {"puzzle.toml": toml(statement=statement)}})
                self.assertEqual(got, code, out)


def hinted(kind, answer, hints, choices=None):
    """A puzzle.toml with its hints as the last key, written as authors write them."""
    extra = f"choices = {choices}\n" if choices else ""
    lines = "".join(f'  "{h}",\n' for h in hints)
    return toml(kind=kind, answer=answer) + extra + f"hints = [\n{lines}]\n"


class HintCheck(unittest.TestCase):
    FIGURES = '["куб", "шар", "В"]'
    CASES = [
        # (what, kind, answer, hints, exit code)
        ("two good hints", "number", "4", ["Посмотрите на **весы**.", "Что лежит на левой чаше?"], 0),
        ("three, the answer only inside longer numbers", "number", "4",
         ["Всего 14 яблок.", "Одно весит 4,5 кг, а другое 40 г.", "Сложите вес {red|яблока} и гири."], 0),
        ("the number", "number", "4", ["Посмотрите на весы.", "Ответ меньше 5, но больше 3: это 4."], 1),
        ("the number in groups of three", "number", "12000", ["Посмотрите.", "Вышло 12 000 рублей."], 1),
        ("the number as a word in another case", "number", "4", ["Посмотрите на весы.", "У ЧЕТЫРЁХ котов."], 1),
        ("the number as a collective word", "number", "4", ["Посмотрите.", "Их было четверо."], 1),
        ("a compound number in words", "number", "25", ["Посмотрите.", "Их двадцать пять."], 1),
        ("the time", "time", '"1:30:00"', ["Посмотрите на часы.", "Поезд придёт в 1:30."], 1),
        ("the time in words", "time", '"1:30:00"', ["Посмотрите на часы.", "Прошло полтора часа."], 1),
        ("a whole hour", "time", '"14:00:00"', ["Посмотрите на часы.", "Встреча в 2 часа дня? Нет, в 14 ч."], 1),
        ("another time", "time", '"1:30:00"', ["Посмотрите на часы.", "Поезд ушёл в 11:30."], 0),
        ("the word in another case", "text", '"река"', ["Посмотрите на карту.", "Что течёт в реке?"], 1),
        ("only the same beginning", "text", '"река"', ["Рекомендуем начать с карты.", "Что там течёт?"], 0),
        ("a word that only looks like a form", "text", '"среда"', ["Найдите день среди других.", "Считайте."], 0),
        ("a short stem alone", "text", '"оба"', ["Подумайте об этом.", "Может быть, обе?"], 1),
        ("a short stem alone is another word", "text", '"оба"', ["Подумайте об этом.", "Считайте."], 0),
        ("the right choice", "choice", '"куб"', ["Сравните фигуры.", "Самая тяжёлая — кубик? Нет, куб."], 1),
        ("the right choice in another case", "choice", '"куб"', ["Сравните фигуры.", "Взвесьте с кубом."], 1),
        ("a wrong choice may be named", "choice", '"куб"', ["Сравните фигуры.", "Шар легче всех."], 0),
        ("a letter choice as a label", "choice", '"В"', ["Сравните фигуры.", "Посмотрите на фигуру В."], 1),
        ("a letter choice that is also a word", "choice", '"В"', ["В каждом ряду одна лишняя.", "Ищите в ней."],
         0),
        ("all numbers of a group", "numbers", "[5, 7, 9]", ["Посмотрите.", "Это 5, 7 и девять."], 1),
        ("some numbers of a group", "numbers", "[5, 7, 9]", ["Посмотрите.", "Начните с 5 и 7."], 0),
        ("one hint", "number", "4", ["Посмотрите."], 1),
        ("four hints", "number", "4", ["Раз.", "Два.", "Три.", "Ещё?"], 1),
        ("an empty hint", "number", "4", ["Посмотрите.", "  "], 1),
        ("markup only", "number", "4", ["Посмотрите.", "****"], 1),
        ("no full stop", "number", "4", ["Посмотрите.", "Сравните чаши"], 1),
        ("full stop inside the markup", "number", "4", ["Посмотрите.", "Сравните **чаши.**"], 1),
        ("a character Windows-1251 lacks", "number", "4", ["Посмотрите.", "Сравните 2 × 3."], 1),
        ("too long", "number", "4", ["Посмотрите.", "Я" * 400 + "."], 1),
    ]

    def test_table(self):
        for what, kind, answer, hints, code in self.CASES:
            with self.subTest(what):
                choices = self.FIGURES if kind == "choice" else None
                got, out = run("check_hints.py", {"001": {"puzzle.toml": hinted(kind, answer, hints, choices)}})
                self.assertEqual(got, code, out)

    def test_no_hints_at_all(self):
        got, out = run("check_hints.py", {"001": {"puzzle.toml": toml()}})
        self.assertEqual(got, 1, out)
        self.assertIn("001: no hints", out)


class VerifyAnswers(unittest.TestCase):
    CASES = [
        # (what, kind, answer in puzzle.toml, verify.py, exit code)
        ("computed number agrees", "number", "42", "print('work'); print(6 * 7)", 0),
        ("group as spaced numbers", "numbers", "[5, 7, 9]", "print(*[5, 7, 9])", 0),
        ("time", "time", '"7:40:00"', "print('7:40:00')", 0),
        ("text; trailing blank lines ignored", "text", '"река"', "print('река'); print()", 0),
        ("wrong number", "number", "42", "print(41)", 1),
        ("group in another order", "numbers", "[5, 7, 9]", "print('7 5 9')", 1),
        ("right answer but the script failed", "number", "42", "print(42); raise SystemExit(1)", 1),
        ("no output", "number", "42", "pass", 1),
        ("runs past the time limit", "number", "42", "import time; time.sleep(30); print(42)", 1),
    ]

    def test_table(self):
        for what, kind, answer, script, code in self.CASES:
            with self.subTest(what):
                folders = {"001": {"puzzle.toml": toml(kind=kind, answer=answer), "verify.py": script},
                           "002": {"puzzle.toml": toml()}}
                got, out = run("verify_answers.py", folders)
                self.assertEqual(got, code, out)
                self.assertIn("1 of 2 puzzles have verify.py", out)


def coloured_svg(*fills):
    shapes = "".join(f'<rect x="{40 + 60 * i}" y="200" width="50" height="50" fill="{f}"/>\n'
                     for i, f in enumerate(fills))
    return HOUSE + shapes + "</svg>\n"


class ColourCheck(unittest.TestCase):
    RED, BROWN, BLUE = "#d83a2e", "#c98b4a", "#7fb2d9"
    CASES = [
        # (what, colours line in puzzle.toml or None, statement, fills, exit code)
        ("no colour named, none declared", None, "Сколько?", [RED, BROWN], 0),
        ("red and blue stay apart under every simulation", f'["{RED}", "{BLUE}"]', "Сколько красных?", [RED, BLUE], 0),
        ("short hex in the picture", '["#ffffff", "#4a3318"]', "Белые?", ["#fff", "#4a3318"], 0),
        ("named colours, told apart by labels", "[]", "Где синий кубик?", [RED, BLUE], 0),
        ("red and brown merge with deuteranopia", f'["{RED}", "{BROWN}"]', "Красный?", [RED, BROWN], 1),
        ("green and blue merge with tritanopia", f'["#8fbf6a", "{BLUE}"]', "Зелёный?", ["#8fbf6a", BLUE], 1),
        ("one shade, two lightnesses too close", '["#e9c15b", "#fce19a"]', "Жёлтый?", ["#e9c15b", "#fce19a"], 1),
        ("a colour named without a declaration", None, "Сколько зелёных шариков?", [RED, BLUE], 1),
        ("a declared colour the picture lacks", f'["{RED}", "#123456"]', "Красный?", [RED, BLUE], 1),
        ("a declaration that is not a list of colours", '"red"', "Красный?", [RED], 1),
    ]

    def test_table(self):
        for what, colours, statement, fills, code in self.CASES:
            with self.subTest(what):
                source = toml(statement=statement) + (f"colours = {colours}\n" if colours is not None else "")
                got, out = run("check_colours.py", {"001": {"puzzle.toml": source, "picture.svg": coloured_svg(*fills)}})
                self.assertEqual(got, code, out)


if __name__ == "__main__":
    unittest.main()
