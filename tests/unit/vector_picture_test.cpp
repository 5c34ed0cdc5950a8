// The sharp form of puzzle pictures as the game reads it from a pack: what is
// refused as unsafe, and that a pack without it loads as before.
#include "TestFiles.h"
#include "core/DataFile.h"
#include "core/Problem.h"
#include "core/VectorPicture.h"

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

QByteArray svg(const QByteArray &body, const QByteArray &head = {})
{
    return head +
           "<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink' "
           "width='440' height='460' viewBox='0 0 440 460'>" +
           body + "</svg>";
}

QByteArray pngData(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return "data:image/png;base64," + bytes.toBase64();
}

// <use> elements that each draw the group before them ten times: 10^depth elements.
QByteArray useBomb(int depth)
{
    QByteArray body = "<defs><rect id='g0' width='1' height='1'/>";
    for (int level = 1; level <= depth; ++level) {
        body += "<g id='g" + QByteArray::number(level) + "'>";
        for (int i = 0; i < 10; ++i)
            body += "<use xlink:href='#g" + QByteArray::number(level - 1) + "'/>";
        body += "</g>";
    }
    return svg(body + "</defs><use xlink:href='#g" + QByteArray::number(depth) + "'/>");
}

TEST(VectorPicture, RefusesWhatReachesOutsideOrCostsWithoutBound)
{
    struct Case {
        const char *what;
        QByteArray document;
        const char *fault; // part of the reason; empty when safe
    };
    QByteArray deep;
    for (int i = 0; i < vectorpicture::MaxDepth + 1; ++i)
        deep += "<g>";
    for (int i = 0; i < vectorpicture::MaxDepth + 1; ++i)
        deep += "</g>";
    const Case cases[] = {
        {"shapes, text, a gradient and a local <use>",
         svg("<defs><linearGradient id='l'><stop offset='0' stop-color='#fff'/></linearGradient>"
             "<circle id='c' r='5'/></defs><rect width='10' height='10' fill='url(#l)' style='stroke:url( #l "
             ")'/>"
             "<use xlink:href='#c' x='20'/><text x='5' y='40'>url(not a reference)</text>"),
         ""},
        {"an inline PNG", svg("<image width='10' height='10' xlink:href='" + pngData(4, 4) + "'/>"), ""},
        {"a local file", svg("<image width='10' height='10' xlink:href='/home/author/private.png'/>"),
         "external"},
        {"a file URL", svg("<image width='10' height='10' xlink:href='file:///etc/passwd'/>"), "external"},
        {"a relative file through plain href", svg("<image width='10' height='10' href='secret.png'/>"),
         "external"},
        {"an address", svg("<image width='10' height='10' xlink:href='https://example.org/a.png'/>"),
         "external"},
        {"a <use> of another file", svg("<use xlink:href='other.svg#x'/>"), "external"},
        {"a fill from another file", svg("<rect width='9' height='9' fill='url(other.svg#p)'/>"), "external"},
        {"CSS that imports", svg("<style>@import 'x.css';</style>"), "@import"},
        {"CSS that names a file", svg("<style>rect { fill: url(/tmp/p.svg#q) }</style>"), "external"},
        {"an embedded SVG", svg("<image xlink:href='data:image/svg+xml;base64,PHN2Zy8+'/>"),
         "embedded image"},
        {"an embedded bitmap too large to decode",
         svg("<image xlink:href='" + pngData(vectorpicture::MaxEmbeddedSide + 1, 1) + "'/>"),
         "embedded image"},
        {"entities", svg("<text>&x;</text>", "<!DOCTYPE svg [<!ENTITY x SYSTEM 'file:///etc/passwd'>]>"),
         "document type"},
        {"a <use> of its own group", svg("<g id='a'><use xlink:href='#a'/></g>"), "refers to itself"},
        {"two <use> that refer to each other",
         svg("<defs><g id='a'><use xlink:href='#b'/></g><g id='b'><use xlink:href='#a'/></g></defs>"),
         "refers to itself"},
        {"a billion elements by <use>", useBomb(9), "elements to draw"},
        {"nesting past the limit", svg(deep), "nested deeper"},
        {"larger than the limit", svg(QByteArray(int(vectorpicture::MaxBytes), ' ')), "larger than"},
        {"not SVG", "<html><body/></html>", "not an SVG"},
        {"not XML", svg("<rect>"), "well-formed"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const QString fault = vectorpicture::fault(c.document);
        if (*c.fault == '\0')
            EXPECT_TRUE(fault.isEmpty()) << fault.toStdString();
        else
            EXPECT_TRUE(fault.contains(QLatin1String(c.fault))) << "fault: '" << fault.toStdString() << "'";
    }
}

TEST(VectorPicture, SourceStandsBesideThePictureUnderTheSameName)
{
    EXPECT_EQ(vectorpicture::pathFor(QStringLiteral("/g/Images/007.jpg")),
              QStringLiteral("/g/Images/007.svg"));
    EXPECT_EQ(vectorpicture::pathFor(QStringLiteral("/g/Images\\a.b\\pic")),
              QStringLiteral("/g/Images\\a.b\\pic.svg"));
}

// The record reads the source beside its JPEG when there is a safe one, and
// keeps the JPEG alone otherwise, so older packs and hostile ones load as before.
TEST(VectorPicture, LoadDataTakesOnlyASafeSource)
{
    const QByteArray safe = svg("<rect width='440' height='460' fill='#7fb2d9'/>");
    const struct {
        const char *what;
        QByteArray source; // empty: no file
        bool taken;
    } cases[] = {
        {"a pack without sources", {}, false},
        {"a safe source", safe, true},
        {"a source that names a private file",
         svg("<image xlink:href='/etc/hostname' width='9' height='9'/>"), false},
        {"a source past the size limit", svg(QByteArray(int(vectorpicture::MaxBytes), ' ')), false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        PuzzleDataFile data;
        data.lines = {QStringLiteral("?")};
        testfiles::write(dir.filePath("Data/1.dat"), encodeDataFile(data));
        testfiles::write(dir.filePath("Images/1.jpg"), testfiles::jpeg(8, 6));
        if (!c.source.isEmpty())
            testfiles::write(dir.filePath("Images/1.SVG"), c.source);
        TProblem p(1, 0, QStringLiteral("П"), dir.filePath("Images/1.jpg"), dir.filePath("Data/1.dat"));
        p.LoadData();
        EXPECT_TRUE(p.Loaded);
        EXPECT_EQ(p.Picture.size(), QSize(8, 6));
        EXPECT_EQ(p.PictureSvg, c.taken ? c.source : QByteArray());
        p.UnloadData();
        EXPECT_TRUE(p.PictureSvg.isEmpty());
    }
}

} // namespace
