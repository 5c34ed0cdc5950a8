#pragma once
// The light markup of puzzle sources: paragraphs split by blank lines,
// "- " list items, **bold**, *italic*, __underline__, {colour|text}.
#include <QColor>
#include <QString>
#include <QVector>
#include <stdexcept>

struct MarkupRun {
    QString text;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    QColor color; // invalid: the default text colour
};

struct MarkupParagraph {
    QVector<MarkupRun> runs;
};

class MarkupError : public std::runtime_error
{
  public:
    using std::runtime_error::runtime_error;
};

// Raises MarkupError naming what is unbalanced or unknown.
QVector<MarkupParagraph> parseMarkup(const QString &source);

// The text without markup, paragraphs separated by blank lines.
QString markupPlainText(const QVector<MarkupParagraph> &paragraphs);
