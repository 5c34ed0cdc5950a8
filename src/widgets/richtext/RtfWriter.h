#pragma once
// Writes the puzzle texts as Windows-1251 RTF: the subset our puzzle sources use
// (paragraphs, bold, italic, underline, colour). The output is deterministic, so
// generated data files only change when their sources do.
#include <QByteArray>
#include <QColor>
#include <QString>
#include <QVector>

class QTextDocument;

namespace richtext
{

struct RtfRun {
    QString text; // '\n' or U+2028 break the line inside the paragraph, '\t' is a tab
    bool bold = false;
    bool italic = false;
    bool underline = false;
    QColor color; // invalid: the default text colour
};

struct RtfParagraph {
    QVector<RtfRun> runs;
};

struct RtfStyle {
    QString fontName = QStringLiteral("Comic Sans MS");
    int fontSizeHalfPoints = 20; // \fs20: 10 points, the viewer's middle step
};

QByteArray writeRtf(const QVector<RtfParagraph> &paragraphs, const RtfStyle &style = {});

// Bold, italic, underline and text colour of each fragment; images and other
// formatting are left out.
QByteArray writeRtf(const QTextDocument &document, const RtfStyle &style = {});

} // namespace richtext
