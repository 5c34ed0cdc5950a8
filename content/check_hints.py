#!/usr/bin/python3
"""Check every puzzle's graded hints: how many, their shape, and that none gives the answer away.

Usage: check_hints.py [PUZZLES_DIR]

Each puzzle.toml holds `hints`, two or three non-empty strings in the statement's markup,
each at most MAX_LENGTH characters without markup and ending with "." or "?" (the last
character, outside any markup). No hint may hold the answer in any form a reader would
recognise; matching ignores letter case and treats "ё" as "е":

- a number: as a standalone number (not a part of a longer one such as 14 or 4,5), or as a
  Russian number word in any case, collective forms included (4: четыре, четырёх, четверо);
- a time: H:MM:SS or H:MM (also with a leading zero or a dot, and the afternoon hour less
  twelve), "H ч MM мин", a whole hour as "H часов" or in words, полтора часа for 1:30;
- a text: its stem followed by any usual ending (река: реке, рекой, рек);
- a choice: the right choice's text, its words taken as for a text; a number in it that no
  other choice holds is forbidden by itself too. A one-letter choice that is also a Russian
  word (а, в, и, к, о, с, у, я) counts only as a capital letter that is not the first word
  of a sentence;
- several numbers: all of them in one hint.
"""
import re
import sys

import puzzle_checks

MAX_LENGTH = 400  # zentrika-pack refuses a longer hint
LETTER = "а-яёa-z"
NOT_LETTER_BEFORE = f"(?<![{LETTER}])"
NOT_LETTER_AFTER = f"(?![{LETTER}])"
SHORT_WORDS = set("авикосуя")
ENDINGS = ["", "а", "я", "о", "е", "и", "ы", "у", "ю", "ь", "й", "ой", "ей", "ом", "ем", "ам", "ям", "ами",
           "ями", "ах", "ях", "ов", "ев", "ью", "ию", "ия", "ие", "ии", "ий", "ый", "ая", "ое", "ые", "ого",
           "его", "ому", "ему", "ым", "им", "ых", "их", "ую", "юю", "ою", "ею"]
# Words an ending rule would take for a form of another word.
NOT_FORMS = {"среди"}

UNIT_WORDS = {
    0: "ноль ноля нолю нолем ноле нуль нуля нулю нулем нуле",
    1: "один одного одному одним одном одна одной одну одною одно одни одних одними",
    2: "два две двух двум двумя двое двоих двоим двоими",
    3: "три трех трем тремя трое троих троим троими",
    4: "четыре четырех четырем четырьмя четверо четверых четверым четверыми",
    5: "пять пяти пятью пятеро пятерых пятерым пятерыми",
    6: "шесть шести шестью шестеро шестерых шестерым шестерыми",
    7: "семь семи семью семеро семерых семерым семерыми",
    8: "восемь восьми восемью восьмью восьмеро восьмерых восьмерым восьмерыми",
    9: "девять девяти девятью девятеро девятерых девятерым девятерыми",
    10: "десять десяти десятью десятеро десятерых десятерым десятерыми",
    40: "сорок сорока",
    90: "девяносто девяноста",
    100: "сто ста",
    1000: "тысяча тысячи тысяче тысячу тысячей тысячею тысяч тысячам тысячами тысячах",
}
for n, stem in {11: "одиннадцат", 12: "двенадцат", 13: "тринадцат", 14: "четырнадцат", 15: "пятнадцат",
                16: "шестнадцат", 17: "семнадцат", 18: "восемнадцат", 19: "девятнадцат", 20: "двадцат",
                30: "тридцат"}.items():
    UNIT_WORDS[n] = f"{stem}ь {stem}и {stem}ью"
for n, (nom, obl, ins) in {50: ("пять", "пяти", "пятью"), 60: ("шесть", "шести", "шестью"),
                           70: ("семь", "семи", "семью"), 80: ("восемь", "восьми", "восемью")}.items():
    UNIT_WORDS[n] = f"{nom}десят {obl}десяти {ins}десятью"
UNIT_WORDS[80] += " восьмьюдесятью"
for n, (nom, gen, dat, ins) in {2: ("двести", "двух", "двум", "двумя"), 3: ("триста", "трех", "трем", "тремя"),
                                4: ("четыреста", "четырех", "четырем", "четырьмя")}.items():
    UNIT_WORDS[100 * n] = f"{nom} {gen}сот {dat}стам {ins}стами {gen}стах"
for n, (nom, obl, ins) in {5: ("пять", "пяти", "пятью"), 6: ("шесть", "шести", "шестью"),
                           7: ("семь", "семи", "семью"), 8: ("восемь", "восьми", "восемью"),
                           9: ("девять", "девяти", "девятью")}.items():
    UNIT_WORDS[100 * n] = f"{nom}сот {obl}сот {obl}стам {ins}стами {obl}стах"
UNIT_WORDS[800] += " восьмьюстами"


def norm(text):
    return text.lower().replace("ё", "е")


def plain(markup):
    """The text a player reads: markup signs dropped, escapes resolved."""
    out, i = [], 0
    while i < len(markup):
        c = markup[i]
        if c == "\\" and i + 1 < len(markup):
            out.append(markup[i + 1])
            i += 2
            continue
        if c == "{":
            bar = markup.find("|", i)
            if bar > i and markup[i + 1:bar].isalpha():
                i = bar + 1
                continue
        if c in "*}" or markup.startswith("__", i):
            i += 2 if c == "_" else 1
            continue
        out.append(c)
        i += 1
    return "".join(out)


def number_words(n):
    """A pattern for n in Russian words, or None beyond a thousand."""
    def any_of(k):
        return "(?:" + "|".join(UNIT_WORDS[k].split()) + ")"
    if n in UNIT_WORDS:
        return NOT_LETTER_BEFORE + any_of(n) + NOT_LETTER_AFTER
    if n > 1000:
        return None
    parts = []
    if n >= 100:
        parts.append(n // 100 * 100)
    rest = n % 100
    if rest in UNIT_WORDS:
        parts.append(rest)
    elif rest:
        parts += [rest // 10 * 10, rest % 10]
    return NOT_LETTER_BEFORE + r"\s+".join(any_of(k) for k in parts if k) + NOT_LETTER_AFTER


def digits(n):
    """n as a standalone number: not inside a longer one, also written in groups of three."""
    text = str(n)
    grouped = re.sub(r"(?<=\d)(?=(\d{3})+$)", " ", text)
    forms = {re.escape(text), re.escape(grouped).replace(r"\ ", r"[ \u00a0]")}
    return r"(?<![\d])(?<!\d[.,])(?:" + "|".join(sorted(forms)) + r")(?![\d])(?![.,]\d)"


def number_patterns(n):
    return [p for p in (digits(n), number_words(n)) if p]


def stem(word):
    w = norm(word)
    for ending in sorted(ENDINGS, key=len, reverse=True):
        if ending and w.endswith(ending) and len(w) - len(ending) >= 2:
            return w[:-len(ending)]
    return w


def word_forms(word):
    base = stem(word)
    # A stem of two letters alone is usually another word (оба: об).
    endings = "|".join(sorted({e for e in ENDINGS if e or len(base) > 2}, key=len, reverse=True))
    return NOT_LETTER_BEFORE + re.escape(base) + f"(?:{endings})" + NOT_LETTER_AFTER


def letter_found(letter, text):
    """A one-letter answer. Prepositions and conjunctions count only as a capital label."""
    low = norm(letter)
    if low not in SHORT_WORDS:
        return re.search(NOT_LETTER_BEFORE + re.escape(low) + NOT_LETTER_AFTER, norm(text)) is not None
    capital = low.upper()
    for m in re.finditer(f"(?<![{LETTER}{LETTER.upper()}Ё]){capital}(?![{LETTER}{LETTER.upper()}Ё])", text):
        before, after = text[:m.start()].rstrip(" «\"("), text[m.end():]
        starts_sentence = not before or before[-1] in ".?!…:"
        if starts_sentence and re.match(r" [а-яё]", after):
            continue
        return True
    return False


def time_patterns(value):
    h, m, s = (int(x) for x in value.split(":"))
    hours = {h, h - 12} if h > 12 else {h}
    found = []
    for hh in hours:
        found.append(rf"(?<![\d:.])0?{hh}:{m:02d}:{s:02d}(?!\d)")
        found.append(rf"(?<![\d:.,])0?{hh}[:.]{m:02d}(?![\d])(?![.,]\d)")
        found.append(rf"(?<![\d])0?{hh}\s*(?:ч\.?|час[а-я]*)\s*{m}\s*(?:м|мин)")
        if m == 0 and s == 0:
            found.append(rf"(?<![\d.,])0?{hh}\s*(?:ч{NOT_LETTER_AFTER}|час)")
            found.append(number_words(hh).removesuffix(NOT_LETTER_AFTER) + r"\s+час")
    if (h, m, s) == (12, 0, 0):
        found.append(NOT_LETTER_BEFORE + "полд(?:ень|ня|ню|нем)")
    if (h, m, s) == (0, 0, 0):
        found.append(NOT_LETTER_BEFORE + "полноч")
    if (h, m, s) == (1, 30, 0):
        found.append(NOT_LETTER_BEFORE + "полу?тор")
    return found


def phrase_pattern(choice):
    """A choice of several words: each word in its forms, numbers standalone."""
    parts = []
    for token in choice.split():
        token = token.rstrip(".")
        if token.isdigit():
            parts.append(digits(int(token)))
        elif token.isalpha() and len(token) >= 3:
            parts.append(word_forms(token))
        else:
            parts.append(NOT_LETTER_BEFORE + re.escape(norm(token)) + NOT_LETTER_AFTER + r"\.?")
    return r"\s+".join(parts)


def leaks(puzzle, text):
    """What of the answer the text gives away, or None."""
    kind, answer = puzzle.get("kind"), puzzle.get("answer")
    low = norm(text)

    def any_match(patterns):
        return any(re.search(p, low) for p in patterns)

    if kind == "number":
        return f"the answer {answer}" if any_match(number_patterns(answer)) else None
    if kind == "time":
        return f"the time {answer}" if any_match(time_patterns(answer)) else None
    if kind == "numbers":
        if all(any_match(number_patterns(n)) for n in set(answer)):
            return f"all the numbers {answer}"
        return None
    if kind in ("text", "choice"):
        if len(answer) == 1:
            return f"the answer «{answer}»" if letter_found(answer, text) else None
        words = answer.split()
        if len(words) == 1 and answer.isalpha():
            hits = [m.group(0) for m in re.finditer(word_forms(answer), low)]
            return f"the answer «{answer}»" if set(hits) - NOT_FORMS else None
        if re.search(phrase_pattern(answer), low):
            return f"the answer «{answer}»"
        others = " ".join(c for c in puzzle.get("choices", []) if c != answer)
        for n in re.findall(r"\d+", answer):
            if not re.search(digits(int(n)), others) and any_match(number_patterns(int(n))):
                return f"the number {n} of the answer «{answer}»"
    return None


def hint_problems(puzzle):
    hints = puzzle.get("hints")
    if hints is None:
        return ["no hints"]
    if not isinstance(hints, list) or not all(isinstance(h, str) for h in hints):
        return ["hints must be a list of strings"]
    found = []
    if not 2 <= len(hints) <= 3:
        found.append(f"{len(hints)} hints; two or three are needed")
    for number, hint in enumerate(hints, 1):
        text = plain(hint).strip()
        if not text:
            found.append(f"hint {number} is empty")
            continue
        if hint.rstrip()[-1] not in ".?":
            found.append(f"hint {number} does not end with a full stop or a question mark: …{hint[-30:]}")
        if len(text) > MAX_LENGTH:
            found.append(f"hint {number} has {len(text)} characters; at most {MAX_LENGTH}")
        try:
            hint.encode("cp1251")
        except UnicodeEncodeError as e:
            found.append(f"hint {number} holds «{hint[e.start]}», which Windows-1251 cannot write")
        leak = leaks(puzzle, text)
        if leak:
            found.append(f"hint {number} gives away {leak}: {text}")
    return found


def problems(root):
    found = []
    for folder, puzzle in puzzle_checks.each_puzzle(root, found):
        found += [f"{folder.name}: {p}" for p in hint_problems(puzzle)]
    return len(puzzle_checks.puzzle_folders(root)), found


def main(argv):
    return puzzle_checks.run(argv, problems, "problems with hints")


if __name__ == "__main__":
    sys.exit(main(sys.argv))
