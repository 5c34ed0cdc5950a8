#pragma once
// Writes the formats the game reads: the binary puzzle data file and the
// list.lst catalogue. Used by the puzzle-pack builder and by tests that make
// their own catalogues.
#include "core/Problem.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

struct PuzzleDataFile {
    std::uint8_t kind = 0;
    AnswerValue answer;
    QStringList lines;    // line 0: the question; then choices or number names
    QByteArray statement; // rich text, as stored
    QByteArray solution;
    QList<QByteArray> hints; // rich text each; written as the block of core/HintBlock.h
};

// Lines longer than 254 Windows-1251 bytes are cut, since a line's size is one byte.
// Hints beyond what the hint block holds are left out (appendHintBlock).
QByteArray encodeDataFile(const PuzzleDataFile &file);

struct CatalogueEntry {
    ProblemId id = 0;
    int difficult = 0;
    QString name;
    QString imageFile; // relative to Images
    QString dataFile;  // relative to Data
};

// Windows-1251 INI text with CRLF line ends, sections in the given order.
QByteArray encodeCatalogue(const std::vector<CatalogueEntry> &entries);
