#!/usr/bin/python3
"""The length checks (long_files.py, long_functions.py), run on made-up sources."""
import pathlib
import subprocess
import tempfile
import unittest

SCRIPTS = pathlib.Path(__file__).resolve().parent.parent
PYTHON = "/usr/bin/python3"


def run(script, files, *args):
    """Writes {relative path: text} under a temporary root and runs the script
    there with args ("{root}" in them is the root); gives (exit code, output)."""
    with tempfile.TemporaryDirectory() as root:
        for name, text in files.items():
            path = pathlib.Path(root) / name
            path.parent.mkdir(parents=True, exist_ok=True)
            path.write_text(text, encoding="utf-8")
        result = subprocess.run([PYTHON, str(SCRIPTS / script), *(a.format(root=root) for a in args)],
                                capture_output=True, text=True)
        return result.returncode, result.stdout


def lines(n):
    return "int x;\n" * n


class LongFiles(unittest.TestCase):
    def test_limit_and_allow_list(self):
        allow = "# comment\nsrc/big.cpp  being split\n"
        cases = [
            # files, allow-list, exit code, what the output holds
            ({"src/a.cpp": lines(500)}, None, 0, ""),
            ({"src/a.cpp": lines(501)}, None, 1, "src/a.cpp: 501 lines"),
            ({"src/deep/b.h": lines(600), "src/c.txt": lines(900)}, None, 1, "src/deep/b.h: 600 lines"),
            ({"src/big.cpp": lines(700)}, allow, 0, ""),
            ({"src/big.cpp": lines(700), "src/other.cpp": lines(501)}, allow, 1, "src/other.cpp: 501"),
            ({"src/big.cpp": lines(10)}, allow, 0, "note: src/big.cpp is allowed (being split)"),
            ({"src/big.cpp": lines(700)}, "src/big.cpp\n", 2, "src/big.cpp has no reason"),
        ]
        for files, allow_list, code, says in cases:
            with self.subTest(files=list(files), allow=allow_list):
                if allow_list is not None:
                    files = {**files, "allow.txt": allow_list}
                args = ["--allow", "{root}/allow.txt"] if allow_list is not None else []
                got, out = run("long_files.py", files, *args, "{root}", "src")
                self.assertEqual(got, code, out)
                self.assertIn(says, out)
                if code == 0 and "note" not in says:
                    self.assertEqual(out, "")

    def test_longest_first(self):
        _, out = run("long_files.py", {"src/a.cpp": lines(501), "src/b.cpp": lines(900)}, "{root}", "src")
        self.assertEqual(out.splitlines(), ["src/b.cpp: 900 lines", "src/a.cpp: 501 lines"])


def function(name, body_lines, filler="    x();\n"):
    return f"void {name}()\n{{\n" + filler * body_lines + "}\n"


class LongFunctions(unittest.TestCase):
    def test_limit(self):
        cases = [
            # source, exit code, what the output holds
            (function("fits", 77), 0, ""),
            (function("tooLong", 78), 1, "tooLong: 81 lines"),
            # Braces in comments and strings are not blocks.
            (function("quoted", 77, '    s("}"); // {\n'), 0, ""),
            # A lambda counts towards the function around it.
            ("void outer()\n{\n    auto f = [] {\n" + "        x();\n" * 76 + "    };\n}\n", 1, "outer: 81 lines"),
            # Two short functions are not one long one.
            (function("a", 50) + function("b", 50), 0, ""),
        ]
        for source, code, says in cases:
            with self.subTest(says=says or source[:20]):
                got, out = run("long_functions.py", {"f.cpp": source}, "{root}/f.cpp")
                self.assertEqual(got, code, out)
                self.assertIn(says, out)


if __name__ == "__main__":
    unittest.main()
