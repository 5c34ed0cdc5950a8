// The media the build writes into the game folder: the pictures and sounds that
// go into Media.dll, the fonts and the cursors. Media.dll itself is listed with
// Debian's PE tools in tests/e2e/media_resources.sh.
#include "platform/PeResourceLibrary.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QImage>
#include <QProcess>
#include <QRawFont>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtEndian>
#include <cmath>

namespace
{

const QString kGameDir = QStringLiteral(ZENTRIKA_GAME_DIR);
// The intermediate files (Media.rc, the bitmaps and sounds it names) sit in the
// build's assets folder beside the game folder.
const QString kMediaDir = QStringLiteral(ZENTRIKA_GAME_DIR "/../assets/media");
const QString kAssetgen = QStringLiteral(ZENTRIKA_TOOLS_DIR "/zentrika-assetgen");

QByteArray readAll(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

quint16 u16(const QByteArray &d, int at)
{
    return qFromLittleEndian<quint16>(d.constData() + at);
}
quint32 u32(const QByteArray &d, int at)
{
    return qFromLittleEndian<quint32>(d.constData() + at);
}

// "NAME TYPE "file"" lines of the generated resource script.
QMap<QString, QString> rcEntries(const QString &type)
{
    QMap<QString, QString> result;
    const QString text = QString::fromUtf8(readAll(kMediaDir + QStringLiteral("/Media.rc")));
    static const QRegularExpression line(QStringLiteral("^(\\S+) (\\S+) \"([^\"]+)\"$"),
                                         QRegularExpression::MultilineOption);
    for (auto it = line.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(2) == type)
            result.insert(m.captured(1), m.captured(3));
    }
    return result;
}

QStringList rcStrings()
{
    const QString text = QString::fromUtf8(readAll(kMediaDir + QStringLiteral("/Media.rc")));
    QStringList result;
    static const QRegularExpression line(QStringLiteral("^\\s+(\\d+) \"([^\"]*)\"$"),
                                         QRegularExpression::MultilineOption);
    for (auto it = line.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        EXPECT_EQ(m.captured(1).toInt(), result.size() + 1) << "strings are numbered 1, 2, 3, ...";
        result << m.captured(2);
    }
    return result;
}

struct Wave {
    int rate = 0, channels = 0, bits = 0;
    std::vector<qint16> samples;
};

Wave parseWave(const QByteArray &d)
{
    Wave w;
    if (d.size() < 44 || !d.startsWith("RIFF") || d.mid(8, 4) != "WAVE")
        return w;
    int at = 12;
    while (at + 8 <= d.size()) {
        const QByteArray id = d.mid(at, 4);
        const quint32 size = u32(d, at + 4);
        if (size > quint32(d.size() - at - 8))
            return Wave{};
        if (id == "fmt " && size >= 16) {
            if (u16(d, at + 8) != 1)
                return Wave{};
            w.channels = u16(d, at + 10);
            w.rate = int(u32(d, at + 12));
            w.bits = u16(d, at + 22);
        } else if (id == "data") {
            for (quint32 i = 0; i + 1 < size; i += 2)
                w.samples.push_back(qint16(u16(d, at + 8 + int(i))));
        }
        at += 8 + int(size) + int(size & 1);
    }
    return w;
}

} // namespace

TEST(MediaPictures, EveryNamedBitmapIsA24BitPictureOfItsSize)
{
    const QMap<QString, QString> bitmaps = rcEntries(QStringLiteral("BITMAP"));
    ASSERT_FALSE(bitmaps.isEmpty()) << "no Media.rc in " << kMediaDir.toStdString()
                                    << "; build zentrika_assets";
    // Where the screens put them: full screen, top bars, 50 x 50 picture boxes,
    // list squares (stretched, so any square serves), the button's coin.
    const QMap<QString, QSize> sizes = {{"StartScreen", {800, 600}},
                                        {"GAMEPANEL", {800, 75}},
                                        {"ListPanel", {800, 75}},
                                        {"DIFF1", {50, 50}},
                                        {"DIFF2", {50, 50}},
                                        {"DIFF3", {50, 50}},
                                        {"COST0", {50, 50}},
                                        {"COST10", {50, 50}},
                                        {"COST20", {50, 50}},
                                        {"COST30", {50, 50}},
                                        {"COST40", {50, 50}},
                                        {"QUESTION", {50, 50}},
                                        {"TRUEANSWERB", {50, 50}},
                                        {"FALSEANSWERB", {50, 50}},
                                        {"LEVELUP", {50, 50}},
                                        {"1", {50, 50}},
                                        {"2", {50, 50}},
                                        {"3", {50, 50}},
                                        {"4", {50, 50}},
                                        {"5", {50, 50}},
                                        {"mDIFF1", {22, 22}},
                                        {"mDIFF2", {22, 22}},
                                        {"mDIFF3", {22, 22}},
                                        {"S1", {22, 22}},
                                        {"S2", {22, 22}},
                                        {"TEXTURE", {}},
                                        {"PRICE", {}}};
    for (auto it = sizes.begin(); it != sizes.end(); ++it) {
        SCOPED_TRACE(it.key().toStdString());
        ASSERT_TRUE(bitmaps.contains(it.key()));
        const QByteArray file = readAll(kMediaDir + QLatin1Char('/') + bitmaps.value(it.key()));
        ASSERT_GE(file.size(), 54);
        EXPECT_TRUE(file.startsWith("BM"));
        EXPECT_EQ(u32(file, 2), quint32(file.size())) << "file size field";
        EXPECT_EQ(u32(file, 14), 40u) << "BITMAPINFOHEADER";
        EXPECT_EQ(u16(file, 28), 24) << "24 bits per pixel";
        EXPECT_EQ(u32(file, 30), 0u) << "uncompressed";
        const QImage image = QImage::fromData(file, "BMP");
        ASSERT_FALSE(image.isNull());
        if (it.value().isValid()) {
            EXPECT_EQ(image.size(), it.value());
        }
        // A picture whose drawing failed comes out as a plain white field.
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                colours.insert(image.pixel(x, y));
        EXPECT_GT(colours.size(), 12) << "picture looks empty";
    }
}

TEST(MediaPictures, MessagePicturesStandOnTheBoxColour)
{
    // The message box and the status panel are cream (253, 237, 196); a transparent
    // picture box keys on the bottom-left pixel, so the corners must be that cream.
    const QMap<QString, QString> bitmaps = rcEntries(QStringLiteral("BITMAP"));
    for (const char *name : {"QUESTION", "TRUEANSWERB", "FALSEANSWERB", "LEVELUP", "DIFF1", "DIFF2", "DIFF3",
                             "COST0", "COST10", "COST20", "COST30", "COST40", "PRICE"}) {
        SCOPED_TRACE(name);
        const QImage image(kMediaDir + QLatin1Char('/') + bitmaps.value(QString::fromLatin1(name)));
        ASSERT_FALSE(image.isNull());
        for (QPoint p : {QPoint(0, 0), QPoint(image.width() - 1, 0), QPoint(0, image.height() - 1),
                         QPoint(image.width() - 1, image.height() - 1)})
            EXPECT_EQ(image.pixel(p), qRgb(253, 237, 196)) << p.x() << "," << p.y();
    }
}

TEST(MediaPictures, TextureTilesWithoutSeams)
{
    const QImage t(kMediaDir + QLatin1Char('/') +
                   rcEntries(QStringLiteral("BITMAP")).value(QStringLiteral("TEXTURE")));
    ASSERT_FALSE(t.isNull());
    // Opposite edges meet when tiled: they must be as alike as neighbouring rows inside.
    auto diff = [&](int x1, int y1, int x2, int y2) {
        return std::abs(qRed(t.pixel(x1, y1)) - qRed(t.pixel(x2, y2))) +
               std::abs(qGreen(t.pixel(x1, y1)) - qGreen(t.pixel(x2, y2))) +
               std::abs(qBlue(t.pixel(x1, y1)) - qBlue(t.pixel(x2, y2)));
    };
    const int w = t.width(), h = t.height();
    for (int i = 0; i < h; ++i)
        EXPECT_LE(diff(0, i, w - 1, i), 12) << "row " << i;
    for (int i = 0; i < w; ++i)
        EXPECT_LE(diff(i, 0, i, h - 1), 12) << "column " << i;
}

TEST(MediaSounds, FiveShortCleanPcmWaves)
{
    const QMap<QString, QString> waves = rcEntries(QStringLiteral("WAVE"));
    const QMap<QString, double> longest = {
        {"CLICK", 0.060}, {"ERROR", 1.5}, {"LEVELUP", 1.5}, {"TRUEANSWER", 1.5}, {"FALSEANSWER", 1.5}};
    ASSERT_EQ(waves.keys(), longest.keys());
    QSet<QByteArray> distinct;
    for (auto it = longest.begin(); it != longest.end(); ++it) {
        SCOPED_TRACE(it.key().toStdString());
        const QByteArray file = readAll(kMediaDir + QLatin1Char('/') + waves.value(it.key()));
        distinct.insert(file);
        const Wave w = parseWave(file);
        ASSERT_EQ(w.channels, 1);
        ASSERT_EQ(w.bits, 16);
        ASSERT_GT(w.rate, 8000);
        ASSERT_FALSE(w.samples.empty());
        const double seconds = double(w.samples.size()) / w.rate;
        EXPECT_LE(seconds, it.value());
        int peak = 0;
        for (qint16 s : w.samples)
            peak = std::max(peak, std::abs(int(s)));
        EXPECT_GT(peak, 8000) << "too quiet";
        EXPECT_LT(peak, 32000) << "clipped";
        // No pop where the sound starts and where the next one cuts it off.
        EXPECT_LT(std::abs(int(w.samples.front())), 600);
        EXPECT_LT(std::abs(int(w.samples.back())), 600);
    }
    EXPECT_EQ(distinct.size(), 5);
}

TEST(MediaTools, OutputsAreByteIdenticalFromRunToRun)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    auto run = [&](const QStringList &args) {
        QProcess p;
        p.start(kAssetgen, args);
        EXPECT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    };
    const QString svg = QStringLiteral(ZENTRIKA_SOURCE_DIR "/assets/bitmaps/COST20.svg");
    for (const char *n : {"a", "b"}) {
        run({QStringLiteral("wave"), QStringLiteral("LEVELUP"),
             tmp.filePath(QStringLiteral("l%1.wav").arg(n))});
        run({QStringLiteral("render"), svg, tmp.filePath(QStringLiteral("c%1.bmp").arg(n)),
             QStringLiteral("50"), QStringLiteral("50"), kGameDir + QStringLiteral("/Fonts/comic.ttf"),
             kGameDir + QStringLiteral("/Fonts/comicbd.ttf")});
    }
    EXPECT_EQ(readAll(tmp.filePath("la.wav")), readAll(tmp.filePath("lb.wav")));
    EXPECT_EQ(readAll(tmp.filePath("ca.bmp")), readAll(tmp.filePath("cb.bmp")));
    EXPECT_EQ(readAll(tmp.filePath("la.wav")), readAll(kMediaDir + QStringLiteral("/levelup.wav")));
    EXPECT_EQ(readAll(tmp.filePath("ca.bmp")), readAll(kMediaDir + QStringLiteral("/COST20.bmp")));
}

TEST(MediaTools, RefusesWhatItCannotMakeFaithfully)
{
    QTemporaryDir tmp;
    auto exitCode = [&](const QStringList &args) {
        QProcess p;
        p.start(kAssetgen, args);
        p.waitForFinished(60000);
        return p.exitCode();
    };
    auto svg = [&](const char *name, const QByteArray &body) {
        const QString path = tmp.filePath(QString::fromLatin1(name));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"10\" height=\"10\">" + body + "</svg>");
        return path;
    };
    const QString out = tmp.filePath(QStringLiteral("x.bmp"));
    EXPECT_NE(exitCode({"wave", "BANG", tmp.filePath("x.wav")}), 0);
    const QString good = svg("good.svg", "<rect width=\"10\" height=\"10\" fill=\"#fdedc4\"/>");
    EXPECT_EQ(exitCode({"render", good, out, "10", "10"}), 0);
    QFile::remove(out);
    EXPECT_NE(exitCode({"render", good, out, "0", "22"}), 0);
    EXPECT_NE(exitCode({"render", tmp.filePath("missing.svg"), out, "22", "22"}), 0);
    // Things the renderer would drop silently, leaving a wrong picture in the game.
    EXPECT_NE(
        exitCode({"render", svg("style.svg", "<style>rect{fill:red}</style><rect width=\"5\" height=\"5\"/>"),
                  out, "10", "10"}),
        0);
    EXPECT_NE(exitCode({"render", svg("ref.svg", "<rect width=\"5\" height=\"5\" fill=\"url(#none)\"/>"), out,
                        "10", "10"}),
              0);
    EXPECT_NE(
        exitCode({"render", svg("fonts.svg", "<text font-family=\"Comic Relief, DejaVu Sans\">1</text>"), out,
                  "10", "10"}),
        0);
    const QString lettering = svg("face.svg", "<text font-family=\"Comic Relief\">1</text>");
    EXPECT_NE(exitCode({"render", lettering, out, "10", "10"}), 0) << "the face was not handed to the tool";
    EXPECT_EQ(exitCode({"render", lettering, out, "10", "10",
                        QStringLiteral(ZENTRIKA_GAME_DIR "/Fonts/comic.ttf")}),
              0);
    QFile::remove(out);
    EXPECT_NE(exitCode({"render", svg("clip.svg", "<clipPath id=\"c\"/><rect width=\"5\" height=\"5\"/>"),
                        out, "10", "10"}),
              0);
    EXPECT_FALSE(QFile::exists(tmp.filePath("x.wav")));
    EXPECT_FALSE(QFile::exists(out));
}

TEST(MediaPictures, EverySourcePictureIsBuilt)
{
    // A picture drawn but not listed in the build would never reach the game.
    const QMap<QString, QString> bitmaps = rcEntries(QStringLiteral("BITMAP"));
    QSet<QString> built;
    for (const QString &file : bitmaps)
        built.insert(QFileInfo(file).completeBaseName());
    built.insert(QStringLiteral("About")); // embedded in the program, not in Media.dll
    const QDir dir(QStringLiteral(ZENTRIKA_SOURCE_DIR "/assets/bitmaps"));
    const QStringList sources = dir.entryList({QStringLiteral("*.svg")}, QDir::Files);
    EXPECT_FALSE(sources.isEmpty());
    for (const QString &svg : sources)
        EXPECT_TRUE(built.contains(QFileInfo(svg).completeBaseName())) << svg.toStdString();
}

TEST(MediaFonts, ComicReliefRegularAndBoldCoverRussian)
{
    struct Face {
        const char *file;
        bool bold;
    };
    for (Face face : {Face{"comic.ttf", false}, Face{"comicbd.ttf", true}}) {
        SCOPED_TRACE(face.file);
        const QString path = kGameDir + QStringLiteral("/Fonts/") + QLatin1String(face.file);
        const QRawFont raw(path, 13);
        ASSERT_TRUE(raw.isValid());
        EXPECT_EQ(raw.familyName(), QStringLiteral("Comic Relief"));
        EXPECT_EQ(raw.weight() >= QFont::Bold, face.bold);
        const QString needed =
            QStringLiteral("АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдеёжзийклмнопрстуфхцчшщъыьэюя"
                           "ABCXYZabcxyz0123456789 .,:;!?%+-<>()\"'«»—…№");
        for (QChar c : needed)
            EXPECT_TRUE(raw.supportsCharacter(c)) << "U+" << std::hex << int(c.unicode());
    }
    EXPECT_TRUE(QFile::exists(kGameDir + QStringLiteral("/Fonts/OFL.txt")))
        << "the licence travels with the fonts";
}

TEST(MediaStrings, FiveLogoNamesFitTheirLabel)
{
    const QStringList names = rcStrings();
    ASSERT_EQ(names.size(), 5);
    // The selection dialog shows the name in an 81-pixel label, 13-pixel Comic Sans MS.
    const int id = QFontDatabase::addApplicationFont(kGameDir + QStringLiteral("/Fonts/comic.ttf"));
    ASSERT_GE(id, 0);
    QFont font(QFontDatabase::applicationFontFamilies(id).value(0));
    font.setPixelSize(13);
    const QFontMetrics metrics(font);
    for (const QString &n : names) {
        EXPECT_FALSE(n.trimmed().isEmpty());
        EXPECT_LE(metrics.horizontalAdvance(n), 81) << n.toStdString();
        EXPECT_LE(n.size(), 255);
    }
    QFontDatabase::removeApplicationFont(id);
}

TEST(MediaCursors, ArrowAndHandCarryTheirHotSpots)
{
    struct Cursor {
        const char *file;
        int x, y;
    };
    for (Cursor c : {Cursor{"cursor.cur", 2, 1}, Cursor{"hand.cur", 11, 1}}) {
        SCOPED_TRACE(c.file);
        const QString path = kGameDir + QLatin1Char('/') + QLatin1String(c.file);
        const QByteArray d = readAll(path);
        ASSERT_GE(d.size(), 22);
        EXPECT_EQ(u16(d, 0), 0);
        EXPECT_EQ(u16(d, 2), 2) << "type 2: cursor";
        ASSERT_EQ(u16(d, 4), 1) << "one picture";
        EXPECT_EQ(quint8(d[6]), 32);
        EXPECT_EQ(quint8(d[7]), 32);
        EXPECT_EQ(u16(d, 10), c.x) << "hot spot x";
        EXPECT_EQ(u16(d, 12), c.y) << "hot spot y";
        EXPECT_LE(u32(d, 18) + u32(d, 14), quint32(d.size())) << "picture lies inside the file";
        // The hot spot sits on the drawn tip, not on empty space beside it.
        const QImage image(path, "CUR");
        ASSERT_FALSE(image.isNull());
        int alpha = 0;
        for (int dy = 0; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                alpha = std::max(alpha, qAlpha(image.pixel(std::clamp(c.x + dx, 0, 31), c.y + dy)));
        EXPECT_GT(alpha, 128);
        EXPECT_EQ(qAlpha(image.pixel(31, 0)), 0) << "the picture has a transparent background";
    }
}

TEST(MediaLibrary, TheGameReadsBackEveryResourceAsBuilt)
{
    // Our own PE reader over the built library: what windres and ld made of the
    // pictures, sounds and names must come back exactly as they went in.
    const platform::PeResourceLibrary media =
        platform::PeResourceLibrary::fromFile(kGameDir + QStringLiteral("/Media.dll"));
    ASSERT_TRUE(media.isLoaded()) << media.errorString().toStdString();
    const QMap<QString, QString> bitmaps = rcEntries(QStringLiteral("BITMAP"));
    ASSERT_FALSE(bitmaps.isEmpty());
    for (auto it = bitmaps.begin(); it != bitmaps.end(); ++it) {
        SCOPED_TRACE(it.key().toStdString());
        const QImage built(kMediaDir + QLatin1Char('/') + it.value(), "BMP");
        bool isNumber = false;
        const int id = it.key().toInt(&isNumber);
        const QImage read = isNumber ? media.loadBitmap(id) : media.loadBitmap(it.key().toLower());
        ASSERT_EQ(read.size(), built.size());
        EXPECT_EQ(read.convertToFormat(QImage::Format_RGB32), built.convertToFormat(QImage::Format_RGB32));
    }
    const QStringList names = rcStrings();
    for (int i = 0; i < names.size(); ++i)
        EXPECT_EQ(media.loadString(i + 1), names[i]);
    const QMap<QString, QString> waves = rcEntries(QStringLiteral("WAVE"));
    for (auto it = waves.begin(); it != waves.end(); ++it)
        EXPECT_EQ(media.findResource(QStringLiteral("wave"), it.key()),
                  readAll(kMediaDir + QLatin1Char('/') + it.value()))
            << it.key().toStdString();
}
