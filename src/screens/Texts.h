#pragma once
// Texts that more than one screen shows, so that a change of wording reaches
// every place at once.
#include <QString>

namespace texts
{

// The buttons of both puzzle screens, and their hints.
inline const QString Decide = QStringLiteral("решить");
inline const QString Answer = QStringLiteral("ответить");
inline const QString Back = QStringLiteral("назад");
inline const QString ViewSolution = QStringLiteral("посмотреть ответ");
inline const QString BackHint = QStringLiteral("Вернуться в главное меню");
inline const QString DecideHint = QStringLiteral("Перейти к решению головоломки");
inline const QString ViewSolutionHint = QStringLiteral("Посмотреть ответ на головоломку");
inline const QString Hint = QStringLiteral("подсказка");
inline const QString HintHint = QStringLiteral("Показать следующую подсказку (F1)");
// The heading of a hint shown under the statement: «Подсказка 1.»
inline QString HintHeading(int number)
{
    return QStringLiteral("Подсказка %1.").arg(number);
}
inline const QString Memo = QStringLiteral("заметки");
inline const QString MemoHint = QStringLiteral("Рисовать на картинке (F2)");
// What the memo button's description says of the selected puzzle's memo.
inline const QString MemoDrawing = QStringLiteral("рисование, Escape или F2 заканчивает");
inline const QString MemoHasDrawings = QStringLiteral("есть рисунки");
inline const QString MemoEmpty = QStringLiteral("пусто");

// Hints on the parts of the puzzle screens.
inline const QString PictureHint = QStringLiteral("Картинка");
inline const QString StatementHint = QStringLiteral("Текст головоломки");
inline const QString PuzzleNameHint = QStringLiteral("Имя текущей головоломки");

// A number and the word after it as Russian declines it: one for 1, 21, 31…,
// few for 2–4, 22–24…, many for the rest (5–20, 25–30… and 11–14).
inline QString Declined(qint64 n, const char *one, const char *few, const char *many)
{
    const qint64 last = (n < 0 ? -n : n) % 100;
    const char *word = many;
    if (last % 10 == 1 && last != 11)
        word = one;
    else if (last % 10 >= 2 && last % 10 <= 4 && (last < 12 || last > 14))
        word = few;
    return QString::number(n) + QLatin1Char(' ') + QString::fromUtf8(word);
}

// A number of points as a player reads it: «1 очко», «3 очка», «20 очков».
inline QString Points(qint64 n)
{
    return Declined(n, "очко", "очка", "очков");
}

inline const QString PlayerName = QStringLiteral("Имя пользователя");
inline const QString NewGame = QStringLiteral("Новая игра");

} // namespace texts
