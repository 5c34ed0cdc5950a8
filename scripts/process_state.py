#!/usr/bin/env python3
"""Finds mutable state that lives as long as the process in C++ sources.

Usage: scripts/process_state.py --allowed FILE [--developers FILE] PATH...
       scripts/process_state.py --self-test

Reports "file: name (kind)" for
- a variable at namespace scope that is not const or constexpr,
- a static data member that is not const or constexpr,
- a static local variable that is not const or constexpr,
- a Q_GLOBAL_STATIC,
- any name that starts with "g_",
and exits 1 when one is not in the allowed list, or when the list names one
that is no longer there. Each line of the list is "PATH NAME REASON", PATH
relative to the folder above src/. With
--developers, every entry's name must also stand in that file's
"Process-wide state" section, so the two lists agree.

A pointer is mutable unless const follows its last "*". Comments, strings and
preprocessor lines are skipped (long_functions.strip_code). This is a reader's
measure, not a parser: a variable constructed with parentheses at namespace
scope reads as a function declaration and is missed.
"""
import argparse
import os
import pathlib
import re
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
from long_functions import SOURCE_SUFFIXES, TAIL, NOT_FUNCTIONS, strip_code  # noqa: E402

LEADING_NOISE = re.compile(
    r"^(?:(?:public|private|protected)(?:\s+(?:Q_)?slots)?\s*:|signals\s*:|Q_SIGNALS\s*:|Q_SLOTS\s*:"
    r"|Q_[A-Z_]+\s*(?:\([^()]*\))?|\[\[[^\]]*\]\])\s*")
SKIPPED_STARTS = re.compile(r"^(?:using|typedef|namespace|template|friend|static_assert|return|class|struct|"
                            r"union|enum|extern\s*\"\")\b")
GLOBAL_STATIC = re.compile(r"\bQ_GLOBAL_STATIC\w*\s*\(\s*[^,()]+(?:<[^>]*>)?\s*,\s*(\w+)")
G_NAME = re.compile(r"\bg_[A-Za-z0-9_]+")


def split_top(text, sep):
    """Splits at sep outside (), <>, [] and {}."""
    parts, depth, start = [], 0, 0
    for i, c in enumerate(text):
        if c in "(<[{":
            depth += 1
        elif c in ")>]}":
            depth -= 1
        elif c == sep and depth == 0:
            parts.append(text[start:i])
            start = i + 1
    parts.append(text[start:])
    return parts


def declarator_names(decl):
    """(name, mutable) for each variable a declaration without its
    initialisers declares; [] for a function or anything else."""
    decl = " ".join(decl.split())
    if not decl or SKIPPED_STARTS.match(decl):
        return []
    pointer_to_function = re.search(r"\(\s*\*\s*(\w+)\s*\)", decl)
    if "(" in decl and not pointer_to_function:
        return []  # a function, a macro or a constructor's arguments
    if pointer_to_function:
        return [(pointer_to_function.group(1), not re.search(r"\*\s*const\b", decl))]
    parts = split_top(decl, ",")
    head = parts[0]
    words = re.findall(r"[A-Za-z_]\w*|[*&]", head)
    if len(words) < 2:
        return []  # a lone name: a macro, or a statement
    type_words = head
    found = []
    for i, part in enumerate(parts):
        part = re.sub(r"\[[^\]]*\]", "", part.split("=")[0]).strip()
        name = re.findall(r"[A-Za-z_]\w*", part)
        if not name:
            continue
        whole = part if i == 0 else type_words + " " + part
        found.append((name[-1], not immutable(whole)))
    return found


def immutable(decl):
    if re.search(r"\bconstexpr\b", decl):
        return True
    if "*" in decl:
        return re.search(r"\*\s*const\b[^*]*$", decl) is not None
    return re.search(r"\bconst\b", decl) is not None


def initialiser_cut(stmt):
    """The declaration part of a statement: up to its first top-level "=" or "{"."""
    depth = 0
    for i, c in enumerate(stmt):
        if c in "(<[":
            depth += 1
        elif c in ")>]":
            depth -= 1
        elif c in "={" and depth == 0 and not re.search(r"\boperator\s*[=!<>+\-*/%^&|]*$", stmt[:i]):
            return stmt[:i]
    return stmt


def clean(stmt):
    stmt = stmt.strip()
    while True:
        m = LEADING_NOISE.match(stmt)
        if not m or not m.group(0):
            return stmt
        stmt = stmt[m.end():]


class Scanner:
    """Walks one file's braces, keeping what kind of scope each opens."""

    def __init__(self, code):
        self.code = code
        self.found = []  # (line, name, kind)
        self.stack = []  # "namespace", "class", "enum", "function", "init", "block"
        self.stmt_start = 0
        self.line_of = [0]
        for ch in code:
            self.line_of.append(self.line_of[-1] + (ch == "\n"))

    def scope(self):
        for kind in reversed(self.stack):
            if kind != "init":
                return kind
        return "namespace"

    def in_function(self):
        return "function" in self.stack

    def judge(self, end):
        """Looks at the statement that ends (or starts its initialiser) at end."""
        stmt = clean(self.code[self.stmt_start:end])
        if not stmt:
            return
        line = self.line_of[self.stmt_start + len(self.code[self.stmt_start:end]) - len(
            self.code[self.stmt_start:end].lstrip())] + 1
        if self.in_function():
            stmt = re.sub(r"^(?:case\b[^:]*|default)\s*:\s*", "", stmt)
            if re.match(r"(?:static|thread_local)\b", stmt):
                for name, mutable in declarator_names(re.sub(r"^(?:static|thread_local)\s+", "",
                                                              initialiser_cut(stmt))):
                    if mutable:
                        self.found.append((line, name, "static local"))
            return
        scope = self.scope()
        if scope == "class":
            if re.match(r"static\b", stmt):
                for name, mutable in declarator_names(re.sub(r"^static\s+", "", initialiser_cut(stmt))):
                    if mutable:
                        self.found.append((line, name, "static member"))
        elif scope == "namespace":
            stmt = re.sub(r"^(?:static|inline|extern|thread_local|constinit)\s+", "", stmt)
            for name, mutable in declarator_names(initialiser_cut(stmt)):
                if mutable:
                    self.found.append((line, name, "namespace-scope variable"))

    def open_brace(self, pos):
        head = clean(self.code[self.stmt_start:pos])
        if self.in_function():
            if re.match(r"(?:static|thread_local)\b", head):
                self.judge(pos)
                self.stack.append("init")
            else:
                self.stack.append("block")
                self.stmt_start = pos + 1
            return
        if self.stack and self.stack[-1] == "init":
            self.stack.append("init")
            return
        if re.match(r"(?:inline\s+)?namespace\b|extern\s*\"\"", head):
            self.stack.append("namespace")
        elif re.match(r"(?:template\s*<.*>\s*)?enum\b", head):
            self.stack.append("enum")
        elif re.search(r"\b(?:class|struct|union)\b", head) and "=" not in head and "(" not in head:
            self.stack.append("class")
        elif TAIL.search(head) and not NOT_FUNCTIONS.match(head) and (
                initialiser_cut(head) == head or re.search(r"\boperator\s*=", head)):
            self.stack.append("function")
        elif head and self.scope() in ("namespace", "class"):
            self.judge(pos)
            self.stack.append("init")
            return
        else:
            self.stack.append("block")
        self.stmt_start = pos + 1

    def close_brace(self, pos):
        kind = self.stack.pop() if self.stack else "block"
        if kind != "init":
            self.stmt_start = pos + 1

    def run(self):
        for pos, ch in enumerate(self.code):
            if ch == "{":
                self.open_brace(pos)
            elif ch == "}":
                self.close_brace(pos)
            elif ch == ";":
                if not (self.stack and self.stack[-1] == "init"):
                    if self.code[self.stmt_start:pos].strip() and not self._judged_init(pos):
                        self.judge(pos)
                    self.stmt_start = pos + 1
        for m in GLOBAL_STATIC.finditer(self.code):
            self.found.append((self.line_of[m.start()] + 1, m.group(1), "Q_GLOBAL_STATIC"))
        for m in G_NAME.finditer(self.code):
            self.found.append((self.line_of[m.start()] + 1, m.group(0), "g_ name"))
        return self.found

    def _judged_init(self, pos):
        # The statement was judged as its initialiser began ("int x{1};", "... = [] {...}();").
        return "}" in self.code[self.stmt_start:pos] and "{" in self.code[self.stmt_start:pos]


def scan_text(text):
    """[(line, name, kind)] of one file's text, one per name (its first)."""
    seen, out = set(), []
    for line, name, kind in sorted(Scanner(strip_code(text)).run()):
        if name not in seen:
            seen.add(name)
            out.append((line, name, kind))
    return out


def read_allowed(path):
    """{(path, name): reason}, or raises ValueError."""
    allowed = {}
    for number, raw in enumerate(pathlib.Path(path).read_text(encoding="utf-8").splitlines(), 1):
        text, _, comment = raw.partition("#")
        fields = text.split(None, 2)
        if not fields:
            continue
        if len(fields) < 3:
            raise ValueError(f"{path}:{number}: want PATH NAME REASON")
        allowed[(fields[0], fields[1])] = fields[2].strip()
    return allowed


def developers_section(path):
    text = pathlib.Path(path).read_text(encoding="utf-8")
    m = re.search(r"^## Process-wide state\n(.*?)(?=^## |\Z)", text, re.S | re.M)
    return m.group(1) if m else ""


def check(root, paths, allowed, developers=None):
    """The lines to print; the check fails when there is any."""
    problems, present = [], set()
    for p in paths:
        files = sorted(f for f in p.rglob("*") if f.suffix in SOURCE_SUFFIXES) if p.is_dir() else [p]
        for f in files:
            rel = pathlib.Path(os.path.relpath(os.path.abspath(f), root)).as_posix()
            for line, name, kind in scan_text(f.read_text(encoding="utf-8", errors="replace")):
                present.add((rel, name))
                if (rel, name) not in allowed:
                    problems.append(f"{rel}:{line}: {name} ({kind}) is not in the allowed list")
    for key in sorted(allowed):
        if key not in present:
            problems.append(f"{key[0]}: {key[1]} is allowed but no longer there: drop it from the list")
    if developers is not None:
        section = developers_section(developers)
        for (rel, name) in sorted(allowed):
            if f"`{name}`" not in section:
                problems.append(f"{rel}: {name} is allowed but not in the Process-wide state section of "
                                f"{developers}")
    return problems


SELF_TEST = [
    # (snippet, names found)
    ("namespace { int g_count = 0; }", {"g_count"}),
    ("namespace { int counter = 0; }", {"counter"}),
    ("QString a, b;", {"a", "b"}),
    ("static QHash<QString, double> parts;", {"parts"}),
    ("const char *name = \"x\";", {"name"}),
    ("const char *const name = \"x\";", set()),
    ("constexpr int kMax = 3; const QString kText = QStringLiteral(\"a\");", set()),
    ("static const std::array<int, 2> kTable{1, 2};", set()),
    ("std::array<int, 2> table{1, 2};", {"table"}),
    ("void (*handler)(int) = nullptr;", {"handler"}),
    ("void f(int x); int g(); using T = int; struct S; enum class E { A, B };", set()),
    ("Foo &foo() { static Foo instance; return instance; }", {"instance"}),
    ("int f() { static const int k = 3; static constexpr int m = 1; return k + m; }", set()),
    ("void f() { static auto cache = [] { return 1; }(); int local = 2; }", {"cache"}),
    ("void f() { if (x) { static bool done = false; } }", {"done"}),
    ("class C { public: static int count; static inline const QString kName = QStringLiteral(\"n\"); "
     "int member = 0; static int make(); };", {"count"}),
    ("class C { Q_OBJECT public: static inline int serial = 0; };", {"serial"}),
    ("struct S { int a; }; S s{1};", {"s"}),
    ("Q_GLOBAL_STATIC(QMutex, lock)", {"lock"}),
    ("void f() { g_thing->go(); }", {"g_thing"}),
    ("// int commented = 0;\n/* static int hidden; */ const char *const k = \"int x = 0;\";", set()),
    ("namespace a::b { extern int shared; }", {"shared"}),
    ("auto handler = [](int x) { return x + 1; };", {"handler"}),
    ("C &C::operator=(C &&) noexcept = default; bool operator==(const C &) const = default;", set()),
    ("TEST(Suite, Case) { static_assert(true); auto x = static_cast<int>(1.0); }", set()),
]


def self_test():
    failures = 0
    for snippet, want in SELF_TEST:
        got = {name for _, name, _ in scan_text(snippet)}
        if got != want:
            failures += 1
            print(f"self-test: {snippet!r}: found {sorted(got)}, want {sorted(want)}")
    print(f"self-test: {len(SELF_TEST) - failures} of {len(SELF_TEST)} snippets read as they should")
    return 1 if failures else 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--allowed")
    parser.add_argument("--developers")
    parser.add_argument("--self-test", action="store_true")
    parser.add_argument("paths", nargs="*")
    args = parser.parse_args()
    if args.self_test:
        return self_test()
    if not args.allowed or not args.paths:
        parser.error("--allowed FILE and a PATH are needed")
    allowed_path = pathlib.Path(os.path.abspath(args.allowed))
    root = allowed_path.parent.parent  # scripts/ is beside src/
    try:
        allowed = read_allowed(allowed_path)
    except ValueError as e:
        print(e)
        return 1
    problems = check(root, [pathlib.Path(p) for p in args.paths], allowed, args.developers)
    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
