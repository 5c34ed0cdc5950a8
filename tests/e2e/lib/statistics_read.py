# Reads the statistics screen of a running game through the accessibility
# interface and compares its figures with `zentrika-profile stats --json`
# (the file given as the argument) of a short game: two right answers, one
# wrong, one solution bought, all on one day.
import json, os, sys
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pyatspi
from atspi_client import wait_for, app, find

f = json.load(open(sys.argv[1]))
game = wait_for("the game on the bus", app)
wait_for("the statistics screen", lambda: find(game, role=pyatspi.ROLE_CHART))
texts = []
def walk(acc):
    if acc is None:
        return
    if acc.getRole() == pyatspi.ROLE_CHART:
        texts.append(acc.name + " | " + acc.description)
    elif acc.getRole() in (pyatspi.ROLE_STATIC, pyatspi.ROLE_LABEL):
        texts.append(acc.name)
    for child in acc:
        walk(child)
walk(game)
said = "\n".join(texts)
right, wrong = f["right_answers"], f["wrong_answers"]
grades = f["solved_by_difficulty"]
expected = [
    "Оля — уровень %d, %d очков" % (f["level"], f["scores"]),
    "Верных ответов: %d %% (%d из %d)" % (round(100 * f["right_rate"]), right, right + wrong),
    "Ошибок на решённую: %s" % ("%.2f" % f["wrong_per_solved"]).replace(".", ","),
    "Куплено решений: %d за %d очков" % (f["solutions_bought"], f["points_on_solutions"]),
    "Куплено подсказок: %d" % f["hints_bought"],
    "Дней в игре: %d" % f["days_played"],
    "Решено по сложности: лёгкие — %d, средние — %d, сложные — %d" % tuple(grades),
    "— %d" % f["days"][-1]["points"],
]
missing = [e for e in expected if e not in said]
if (right, wrong, f["solutions_bought"], f["days_played"]) != (2, 1, 1, 1):
    sys.exit("zentrika-profile stats: not the short game imported: %s" % f)
if missing:
    sys.exit("not read through the accessibility interface: %s\n--- read:\n%s" % (missing, said))
print("read:", said.replace("\n", " / "))
