#include "bitmap.h"

#include <QFile>
#include <QFontDatabase>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>

namespace assetgen
{

namespace
{

void putU16(QByteArray &out, quint16 v)
{
    out.append(char(v & 0xff));
    out.append(char(v >> 8));
}

void putU32(QByteArray &out, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        out.append(char((v >> (8 * i)) & 0xff));
}

} // namespace

bool addFonts(const QStringList &fontFiles, QString *error)
{
    for (const QString &file : fontFiles) {
        if (QFontDatabase::addApplicationFont(file) < 0) {
            *error = file + QStringLiteral(": cannot load font");
            return false;
        }
    }
    return true;
}

namespace
{

QStringList *svgWarnings = nullptr;
QtMessageHandler previousHandler = nullptr;

void collectSvgWarnings(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (svgWarnings && context.category && QByteArray(context.category).startsWith("qt.svg")) {
        svgWarnings->append(message);
        return;
    }
    if (previousHandler)
        previousHandler(type, context, message);
}

} // namespace

QString checkSvgSource(const QByteArray &svg)
{
    // Features the renderer drops without a word, leaving a picture that looks
    // right in a browser and wrong in the game.
    static const char *const unsupported[] = {
        "<style",         "<filter", "<mask", "<clipPath",  "<marker", "<pattern",
        "<foreignObject", "filter=", "mask=", "clip-path=", "marker-"};
    for (const char *u : unsupported) {
        if (svg.contains(u))
            return QStringLiteral("uses %1, which the renderer ignores").arg(QLatin1String(u));
    }
    // The renderer takes a whole family list as one name and falls back silently.
    static const QRegularExpression familyList(QStringLiteral("font-family=\"[^\"]*,"));
    if (familyList.match(QString::fromUtf8(svg)).hasMatch())
        return QStringLiteral("font-family lists several families; name one");
    return {};
}

QImage renderSvg(const QString &svgFile, int width, int height, bool transparent, QString *error)
{
    if (width <= 0 || height <= 0 || width > 8192 || height > 8192) {
        *error = QStringLiteral("bad size %1x%2").arg(width).arg(height);
        return {};
    }
    QFile file(svgFile);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = svgFile + QStringLiteral(": cannot read");
        return {};
    }
    const QByteArray source = file.readAll();
    if (const QString problem = checkSvgSource(source); !problem.isEmpty()) {
        *error = svgFile + QStringLiteral(": ") + problem;
        return {};
    }
    // A family the renderer does not have would be replaced by some other face.
    static const QRegularExpression family(QStringLiteral("font-family=\"([^\"]+)\""));
    const QStringList installed = QFontDatabase::families();
    for (auto it = family.globalMatch(QString::fromUtf8(source)); it.hasNext();) {
        const QString name = it.next().captured(1).trimmed();
        if (!installed.contains(name, Qt::CaseInsensitive)) {
            *error = svgFile + QStringLiteral(": font family \"%1\" is not available").arg(name);
            return {};
        }
    }
    QStringList warnings;
    svgWarnings = &warnings;
    previousHandler = qInstallMessageHandler(collectSvgWarnings);
    QSvgRenderer renderer(source);
    qInstallMessageHandler(previousHandler);
    svgWarnings = nullptr;
    if (!warnings.isEmpty()) {
        *error = svgFile + QStringLiteral(": ") + warnings.join(QStringLiteral("; "));
        return {};
    }
    if (!renderer.isValid()) {
        *error = svgFile + QStringLiteral(": not a valid SVG file");
        return {};
    }
    QImage image(width, height, transparent ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    image.fill(transparent ? Qt::transparent : Qt::white);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform |
                           QPainter::TextAntialiasing);
    renderer.render(&painter, QRectF(0, 0, width, height));
    painter.end();
    return image;
}

QByteArray encodeBmp24(const QImage &source)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB888);
    const int w = image.width();
    const int h = image.height();
    const int stride = (w * 3 + 3) & ~3;
    const quint32 pixelBytes = quint32(stride) * quint32(h);
    const quint32 offset = 14 + 40;

    QByteArray out;
    out.reserve(int(offset + pixelBytes));
    // BITMAPFILEHEADER
    out.append("BM", 2);
    putU32(out, offset + pixelBytes);
    putU32(out, 0);
    putU32(out, offset);
    // BITMAPINFOHEADER
    putU32(out, 40);
    putU32(out, quint32(w));
    putU32(out, quint32(h)); // positive: bottom-up rows
    putU16(out, 1);          // planes
    putU16(out, 24);         // bits per pixel
    putU32(out, 0);          // BI_RGB
    putU32(out, pixelBytes);
    putU32(out, 2835); // 72 dpi
    putU32(out, 2835);
    putU32(out, 0);
    putU32(out, 0);

    QByteArray row(stride, '\0');
    for (int y = h - 1; y >= 0; --y) {
        const uchar *src = image.constScanLine(y);
        for (int x = 0; x < w; ++x) {
            row[3 * x] = char(src[3 * x + 2]); // blue
            row[3 * x + 1] = char(src[3 * x + 1]);
            row[3 * x + 2] = char(src[3 * x]); // red
        }
        out.append(row);
    }
    return out;
}

} // namespace assetgen
