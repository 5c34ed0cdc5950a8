#!/usr/bin/env python3
"""Lists C++ functions longer than a limit (80 lines unless --max says otherwise).

Usage: scripts/long_functions.py [--max N] PATH...   (files or folders)

Prints "file:line: name: N lines" for each, longest first, and exits 1 when
there is any. A function is a brace block that follows a parameter list ")"
(with any qualifiers, a trailing return type or a constructor's initialisers)
and is not inside another function; lambdas and local blocks count towards the
function around them. Its length runs from the first line of its declaration to
its closing brace. Comments, strings, characters and preprocessor lines are
skipped, so braces in them are not counted. This is a reader's measure, not a
parser: code that hides braces in macros can fool it.
"""
import argparse
import pathlib
import re
import sys

SOURCE_SUFFIXES = {".cpp", ".h", ".hpp", ".cc", ".c"}
# What may stand between a parameter list and the body.
TAIL = re.compile(
    r"\)\s*(?:const|override|final|noexcept(?:\([^()]*\))?|mutable|volatile|&&?|\s)*"
    r"(?:->\s*[\w:<>,\s*&]+)?\s*$"
)
NOT_FUNCTIONS = re.compile(r"^(?:if|for|while|switch|catch|return|else|do)\b")


def strip_code(text):
    """Blanks out comments, string and character literals and preprocessor
    lines, keeping every newline so that line numbers stay right."""
    out = []
    i, n = 0, len(text)
    at_line_start = True
    while i < n:
        c = text[i]
        if at_line_start and c == "#":
            # A preprocessor line, with its continuations.
            while i < n and not (text[i] == "\n" and text[i - 1] != "\\"):
                i += 1
            continue
        if c == "\n":
            out.append(c)
            at_line_start = True
            i += 1
            continue
        if not c.isspace():
            at_line_start = False
        if text.startswith("//", i):
            while i < n and text[i] != "\n":
                i += 1
            continue
        if text.startswith("/*", i):
            end = text.find("*/", i + 2)
            end = n if end < 0 else end + 2
            out.append("\n" * text.count("\n", i, end))
            i = end
            continue
        raw = re.match(r'R"([^()\\ ]{0,16})\(', text[i:i + 20])
        if raw:
            end = text.find(")" + raw.group(1) + '"', i)
            end = n if end < 0 else end + len(raw.group(1)) + 2
            out.append('""' + "\n" * text.count("\n", i, end))
            i = end
            continue
        if c in "\"'":
            # A digit separator (1'000) is not a character literal.
            if c == "'" and i > 0 and text[i - 1].isalnum() and i + 1 < n and text[i + 1].isalnum():
                i += 1
                continue
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            out.append(c + c)
            i = j + 1
            continue
        out.append(c)
        i += 1
    return "".join(out)


def functions(path):
    """Yields (first line, name, length in lines) for each function of a file."""
    code = strip_code(path.read_text(encoding="utf-8", errors="replace"))
    stack = []  # per open brace: (is a function, its first line, its name)
    header_start = 0  # offset where the text before the next brace begins
    line_of = [0]
    for ch in code:
        line_of.append(line_of[-1] + (ch == "\n"))
    for pos, ch in enumerate(code):
        if ch == "{":
            head = code[header_start:pos]
            inside_function = any(f for f, _, _ in stack)
            stripped = head.strip()
            is_function = (not inside_function and TAIL.search(head) is not None
                           and not NOT_FUNCTIONS.match(stripped))
            if is_function:
                name = re.split(r"\(", stripped, maxsplit=1)[0].split()[-1] if "(" in stripped else "?"
                if name.startswith("TEST"):  # TEST_F(Suite, Case) says more with its arguments
                    name = " ".join(stripped[:stripped.find(")") + 1].split())
                skip = len(head) - len(head.lstrip())
                first = line_of[header_start + skip] + 1
                stack.append((True, first, name))
            else:
                stack.append((False, 0, ""))
            header_start = pos + 1
        elif ch == "}":
            if stack:
                is_function, first, name = stack.pop()
                if is_function:
                    yield first, name, line_of[pos] + 1 - first + 1
            header_start = pos + 1
        elif ch == ";":
            header_start = pos + 1
        elif ch == ":" and not stack_in_function(stack):
            # "public:" and the like end a declaration; "::" and initialisers do not.
            before = code[header_start:pos].strip()
            if before in ("public", "private", "protected", "signals", "slots") or \
                    re.fullmatch(r"(?:public|private|protected)\s+(?:Q_)?slots", before):
                header_start = pos + 1


def stack_in_function(stack):
    return any(f for f, _, _ in stack)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--max", type=int, default=80)
    parser.add_argument("paths", nargs="+")
    args = parser.parse_args()
    found = []
    for p in map(pathlib.Path, args.paths):
        files = sorted(f for f in p.rglob("*") if f.suffix in SOURCE_SUFFIXES) if p.is_dir() else [p]
        for f in files:
            for first, name, length in functions(f):
                if length > args.max:
                    found.append((length, f"{f}:{first}: {name}: {length} lines"))
    for _, text in sorted(found, key=lambda x: -x[0]):
        print(text)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
