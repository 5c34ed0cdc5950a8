#pragma once
// Writing a puzzle data file, the inverse of TProblem::LoadData: for the
// authoring tools and for tests.
#include "core/Problem.h"

#include <QByteArray>
#include <QStringList>

struct DataFileContents {
    QByteArray statement;  // rich text, stored as it is
    std::uint8_t kind = AnswerInteger;
    AnswerValue answer;
    QStringList lines;     // line 0 the question, then the choices or the number names
    QByteArray solution;
};

// Raises std::invalid_argument for more than 255 lines, a line that is longer
// than 254 Windows-1251 bytes or has characters outside Windows-1251.
QByteArray encodeDataFile(const DataFileContents &contents);
