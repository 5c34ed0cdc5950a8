#pragma once
// Reads Windows rich-text format (RTF) into a QTextDocument: the documents our
// writer makes and those of common word processors, as far as a puzzle text needs.
#include "platform/InputLimits.h"

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace richtext
{

struct RtfLimits {
    // Bigger inputs and deeper nesting are refused rather than read: a damaged or
    // hostile data file must not take the game's memory or stack.
    static constexpr qsizetype maxInputBytes = limits::MaxTextBytes;
    static constexpr int maxGroupDepth = 256;
    // Pictures larger than this on either side are left out.
    static constexpr int maxImageSide = 4096;
};

// True when the bytes start like an RTF document ("{\rtf").
bool looksLikeRtf(const QByteArray &bytes);

// Replaces the document's content with the RTF's text, paragraphs and pictures.
// On failure the document is left empty, *error (if given) says why and the
// result is false. Character formats only carry what the RTF sets: text without
// \fs or \f keeps the document's default font.
bool readRtf(const QByteArray &rtf, QTextDocument *document, QString *error = nullptr);

} // namespace richtext
