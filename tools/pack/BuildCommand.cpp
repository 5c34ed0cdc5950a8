// zentrika-pack build SRC OUT: turns puzzle sources into the catalogue, data
// files and pictures the game reads (each picture as a JPEG and as its SVG
// source). Same sources, same bytes.
#include "Commands.h"
#include "PuzzleSource.h"

#include "core/DataFile.h"
#include "core/VectorPicture.h"
#include "platform/InputLimits.h"
#include "widgets/richtext/RtfWriter.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>
#include <QSvgRenderer>
#include <cstdio>

namespace
{

constexpr QSize kPictureSize(440, 460);

QByteArray toRtf(const PuzzleSource &p, const char *field, const QVector<MarkupParagraph> &paragraphs)
{
    QVector<richtext::RtfParagraph> out;
    out.reserve(paragraphs.size());
    for (const MarkupParagraph &p : paragraphs) {
        richtext::RtfParagraph rp;
        for (const MarkupRun &r : p.runs)
            rp.runs.push_back({r.text, r.bold, r.italic, r.underline, r.color});
        out.push_back(rp);
    }
    QByteArray rtf = richtext::writeRtf(out);
    // The game shows a longer text as an empty page.
    if (rtf.size() > limits::MaxTextBytes)
        throw SourceError(
            QStringLiteral("%1/puzzle.toml: field '%2': %3 bytes of rich text; the game reads at most %4")
                .arg(p.folder, QLatin1String(field))
                .arg(rtf.size())
                .arg(limits::MaxTextBytes)
                .toStdString());
    return rtf;
}

// The source as the pack will carry it: refused when it reaches outside
// itself, so that no file of the author's machine lands in the pack.
QByteArray readPicture(const PuzzleSource &p)
{
    QFile file(p.picturePath);
    if (!file.open(QIODevice::ReadOnly))
        throw SourceError(
            QStringLiteral("%1: cannot read: %2").arg(p.picturePath, file.errorString()).toStdString());
    const QByteArray svg = file.read(vectorpicture::MaxBytes + 1);
    if (const QString fault = vectorpicture::fault(svg); !fault.isEmpty())
        throw SourceError(
            QStringLiteral("%1: %2 is refused; draw it here, or embed an image inline as a data: URL")
                .arg(p.picturePath, fault)
                .toStdString());
    return svg;
}

QByteArray renderPicture(const PuzzleSource &p, const QByteArray &svg)
{
    QSvgRenderer renderer(svg);
    if (!renderer.isValid())
        throw SourceError(QStringLiteral("%1: not a valid SVG picture").arg(p.picturePath).toStdString());
    QImage image(kPictureSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(kPictureSize)));
    }
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpg");
    writer.setQuality(90);
    if (!writer.write(image.convertToFormat(QImage::Format_RGB888)))
        throw SourceError(QStringLiteral("%1: cannot encode the picture: %2")
                              .arg(p.picturePath, writer.errorString())
                              .toStdString());
    return jpeg;
}

// Leaves an unchanged file alone, so that incremental builds stay quiet.
void writeIfChanged(const QString &path, const QByteArray &bytes)
{
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.size() == bytes.size() && existing.readAll() == bytes)
        return;
    existing.close();
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        throw SourceError(QStringLiteral("%1: cannot write: %2").arg(path, out.errorString()).toStdString());
}

} // namespace

int runBuild(const QStringList &args)
{
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: zentrika-pack build SRC OUT\n");
        return 2;
    }
    try {
        const QVector<PuzzleSource> sources = readPuzzleSources(args.at(0));
        const QDir out(args.at(1));
        for (const char *sub : {"Data", "Images"}) {
            if (!out.mkpath(QLatin1String(sub)))
                throw SourceError(
                    QStringLiteral("%1: cannot create").arg(out.filePath(QLatin1String(sub))).toStdString());
        }
        std::vector<CatalogueEntry> catalogue;
        for (const PuzzleSource &p : sources) {
            const QString stem = QStringLiteral("%1").arg(p.id, 3, 10, QLatin1Char('0'));
            const QByteArray svg = readPicture(p);
            PuzzleDataFile data;
            data.kind = p.kind;
            data.answer = p.answer;
            data.lines = p.lines;
            data.statement = toRtf(p, "statement", p.statement);
            data.solution = toRtf(p, "solution", p.solution);
            for (const QVector<MarkupParagraph> &hint : p.hints)
                data.hints.append(toRtf(p, "hints", hint));
            writeIfChanged(out.filePath(QStringLiteral("Data/") + stem + QStringLiteral(".dat")),
                           encodeDataFile(data));
            writeIfChanged(out.filePath(QStringLiteral("Images/") + stem + QStringLiteral(".jpg")),
                           renderPicture(p, svg));
            // The source itself, for drawing sharp on screens that scale the game up.
            writeIfChanged(out.filePath(QStringLiteral("Images/") + stem + QStringLiteral(".svg")), svg);
            catalogue.push_back(
                {p.id, p.difficulty, p.title, stem + QStringLiteral(".jpg"), stem + QStringLiteral(".dat")});
        }
        writeIfChanged(out.filePath(QStringLiteral("list.lst")), encodeCatalogue(catalogue));
        std::printf("%d puzzles built into %s\n", int(sources.size()), qPrintable(out.absolutePath()));
        return 0;
    } catch (const SourceError &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
