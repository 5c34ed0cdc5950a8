#pragma once
// Pictures for the media library: SVG rendered by Qt Svg, written as Windows
// bitmaps (what a BITMAP resource holds) or as PNG with alpha (for cursors).
#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

namespace assetgen
{

// Makes the given font files available to the SVG renderer; false if one fails.
bool addFonts(const QStringList &fontFiles, QString *error);

// Empty when the SVG uses only what the renderer draws; otherwise what is wrong.
QString checkSvgSource(const QByteArray &svg);

// Renders an SVG into an image of the given size. Opaque images start white,
// transparent ones fully transparent. Null image on a damaged SVG, on one the
// renderer warns about (an unresolved reference) or on one checkSvgSource refuses.
QImage renderSvg(const QString &svgFile, int width, int height, bool transparent, QString *error);

// A bottom-up 24-bit BITMAPFILEHEADER + BITMAPINFOHEADER image, no palette,
// rows padded to four bytes. Deterministic: no time or resolution from outside.
QByteArray encodeBmp24(const QImage &image);

} // namespace assetgen
