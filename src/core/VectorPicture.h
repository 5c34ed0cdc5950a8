#pragma once
// The sharp form of a puzzle picture: the SVG source beside the JPEG
// (Images/007.svg next to Images/007.jpg), drawn at the shown size when the
// display scales the game up. It comes from the puzzle pack, so it is read as
// hostile: bounded in size and work, and never allowed to reach outside its
// own bytes.
#include <QByteArray>
#include <QString>

namespace vectorpicture
{

inline constexpr qint64 MaxBytes = 2 * 1024 * 1024;
// Elements counted as drawn, with every <use> expanded: bounds the drawing time.
inline constexpr int MaxElements = 50000;
inline constexpr int MaxDepth = 64;
// An embedded bitmap larger than this on a side is refused before it is decoded.
inline constexpr int MaxEmbeddedSide = 4096;

// The sharp form's path for a picture path: the same name with ".svg".
QString pathFor(const QString &imagePath);

// Why the picture may not be drawn, in English for the tools' reports;
// empty when it is safe. Refused: a document type (entities), a reference
// outside the document (href or url() to a file or an address; only "#id"
// and inline PNG or JPEG "data:" images are taken), CSS @import, <use>
// cycles, and anything past the limits above.
QString fault(const QByteArray &svg);

// The file's bytes when it exists and is safe; empty otherwise.
QByteArray readSafe(const QString &path);

} // namespace vectorpicture
