#pragma once
// One puzzle's sources: content/puzzles/<id>/puzzle.toml and picture.svg.
#include "Markup.h"

#include "core/Problem.h"

#include <QString>
#include <QStringList>
#include <stdexcept>

// A source that cannot be used; the message names the file and the field.
class SourceError : public std::runtime_error
{
  public:
    using std::runtime_error::runtime_error;
};

struct PuzzleSource {
    QString folder;
    ProblemId id = 0;
    QString title;
    int difficulty = 0;
    std::uint8_t kind = 0;
    AnswerValue answer;
    QString answerText; // as written, for reports
    QString question;
    QStringList lines; // question, then choices or number names
    QVector<MarkupParagraph> statement;
    QVector<MarkupParagraph> solution;
    QVector<QVector<MarkupParagraph>> hints; // 0 to MaxHints, easiest first
    QString picturePath;
};

// Reads and validates one puzzle folder. Raises SourceError.
PuzzleSource readPuzzleSource(const QString &folder);

// Every puzzle folder below dir, in id order. Raises SourceError, also for
// two folders with one id.
QVector<PuzzleSource> readPuzzleSources(const QString &dir);
