// The resource library reader against DLLs built here from a small .rc with
// the MinGW binutils, and against what Debian's pefile reads from the same file.
#include "platform/Dib.h"
#include "platform/PeResourceLibrary.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

using platform::EResourceError;
using platform::PeResourceLibrary;

namespace
{

void put16(QByteArray &b, int v)
{
    b.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF));
}
void put32(QByteArray &b, qint64 v)
{
    put16(b, int(v & 0xFFFF));
    put16(b, int((v >> 16) & 0xFFFF));
}

// A BMP file as a paint program writes it. pixel(x, y) gives the stored value
// of the pixel at (x, y), y counted from the top.
QByteArray bmpFile(int w, int h, int bpp, bool topDown, const QList<QRgb> &palette, int clrUsed,
                   int compression, const QList<quint32> &masks,
                   const std::function<quint32(int, int)> &pixel)
{
    QByteArray info;
    put32(info, 40);
    put32(info, w);
    put32(info, topDown ? -h : h);
    put16(info, 1);
    put16(info, bpp);
    put32(info, compression);
    put32(info, 0);
    put32(info, 2835);
    put32(info, 2835);
    put32(info, clrUsed);
    put32(info, 0);
    for (quint32 m : masks)
        put32(info, m);
    for (QRgb c : palette) {
        info.append(char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c))).append('\0');
    }
    QByteArray bits;
    const int stride = ((w * bpp + 31) / 32) * 4;
    for (int row = 0; row < h; ++row) {
        const int y = topDown ? row : h - 1 - row;
        QByteArray line(stride, '\0');
        for (int x = 0; x < w; ++x) {
            const quint32 v = pixel(x, y);
            switch (bpp) {
            case 1:
                line[x / 8] = char(line[x / 8] | (v << (7 - x % 8)));
                break;
            case 4:
                line[x / 2] = char(line[x / 2] | (x % 2 ? v : v << 4));
                break;
            case 8:
                line[x] = char(v);
                break;
            case 16:
                line[2 * x] = char(v);
                line[2 * x + 1] = char(v >> 8);
                break;
            case 24:
                for (int i = 0; i < 3; ++i)
                    line[3 * x + i] = char(v >> (8 * i));
                break;
            case 32:
                for (int i = 0; i < 4; ++i)
                    line[4 * x + i] = char(v >> (8 * i));
                break;
            }
        }
        bits += line;
    }
    QByteArray file("BM");
    put32(file, 14 + info.size() + bits.size());
    put32(file, 0);
    put32(file, 14 + info.size());
    return file + info + bits;
}

struct Sample {
    const char *rcName; // as written in the .rc
    const char *file;
    QByteArray bmp;
    QImage expected;
};

QImage expectedImage(int w, int h, const std::function<QRgb(int, int)> &colour)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, colour(x, y));
    return img;
}

std::vector<Sample> samples()
{
    std::vector<Sample> s;
    const QList<QRgb> two = {qRgb(10, 20, 30), qRgb(250, 240, 230)};
    auto mono = [](int x, int y) { return quint32((x + y) % 2); };
    s.push_back({"Mono", "mono.bmp", bmpFile(9, 5, 1, false, two, 0, 0, {}, mono),
                 expectedImage(9, 5, [&](int x, int y) { return two[int(mono(x, y))]; })});

    QList<QRgb> sixteen;
    for (int i = 0; i < 16; ++i)
        sixteen << qRgb(i * 16, 255 - i * 16, i * 7);
    auto nib = [](int x, int y) { return quint32((x * 3 + y * 5) % 16); };
    s.push_back({"Four", "four.bmp", bmpFile(7, 3, 4, false, sixteen, 0, 0, {}, nib),
                 expectedImage(7, 3, [&](int x, int y) { return sixteen[int(nib(x, y))]; })});

    // A short colour table (three colours used) moves the pixels forward.
    const QList<QRgb> three = {qRgb(253, 237, 196), qRgb(252, 225, 154), qRgb(0, 0, 128)};
    auto idx = [](int x, int y) { return quint32((x + 2 * y) % 3); };
    s.push_back({"101", "eight.bmp", bmpFile(5, 4, 8, false, three, 3, 0, {}, idx),
                 expectedImage(5, 4, [&](int x, int y) { return three[int(idx(x, y))]; })});

    auto rgb = [](int x, int y) { return quint32(qRgb(x * 40, y * 60, 200 - x * 10 - y)) & 0xFFFFFF; };
    s.push_back({"StartScreen", "rgb.bmp", bmpFile(3, 3, 24, false, {}, 0, 0, {}, rgb),
                 expectedImage(3, 3, [&](int x, int y) { return 0xFF000000u | rgb(x, y); })});
    s.push_back({"TopDown", "topdown.bmp", bmpFile(3, 2, 24, true, {}, 0, 0, {}, rgb),
                 expectedImage(3, 2, [&](int x, int y) { return 0xFF000000u | rgb(x, y); })});
    // Alpha bytes of 32-bit rows are not transparency in a bitmap resource.
    s.push_back(
        {"Deep", "deep.bmp",
         bmpFile(2, 2, 32, false, {}, 0, 0, {}, [&](int x, int y) { return rgb(x, y) | 0x11000000u; }),
         expectedImage(2, 2, [&](int x, int y) { return 0xFF000000u | rgb(x, y); })});
    auto r565 = [](int x, int y) { return quint32((x * 8) << 11 | (y * 20) << 5 | 31); };
    s.push_back({"Bits565", "b565.bmp", bmpFile(4, 2, 16, false, {}, 0, 3, {0xF800, 0x07E0, 0x001F}, r565),
                 expectedImage(4, 2, [&](int x, int y) {
                     return qRgb((x * 8 * 255 + 15) / 31, (y * 20 * 255 + 31) / 63, 255);
                 })});
    return s;
}

// A test DLL built once for the whole suite.
class PeReader : public ::testing::Test
{
  protected:
    static void SetUpTestSuite()
    {
        dir_ = new QTemporaryDir;
        const QString windres = QStandardPaths::findExecutable(QStringLiteral("x86_64-w64-mingw32-windres"));
        const QString ld = QStandardPaths::findExecutable(QStringLiteral("x86_64-w64-mingw32-ld"));
        if (windres.isEmpty() || ld.isEmpty())
            return;
        QByteArray rc = "#pragma code_page(65001)\n";
        for (const Sample &s : samples()) {
            QFile f(dir_->filePath(QString::fromLatin1(s.file)));
            f.open(QIODevice::WriteOnly);
            f.write(s.bmp);
            rc += QByteArray(s.rcName) + " BITMAP \"" + s.file + "\"\n";
        }
        QFile wav(dir_->filePath(QStringLiteral("click.wav")));
        wav.open(QIODevice::WriteOnly);
        wav.write(waveBytes());
        wav.close();
        rc += "CLICK WAVE \"click.wav\"\n"
              "Error WAVE \"click.wav\"\n"
              "LANGUAGE 0x19, 1\n"
              "CLICK WAVE \"mono.bmp\"\n"
              "LANGUAGE 0x09, 1\n"
              "STRINGTABLE\nBEGIN\n"
              "  1 \"Сова\"\n  2 \"Ёжик\"\n  5 \"Кот в сапогах\"\n  15 \"last of block one\"\n"
              "  16 \"first of block two\"\n  40 \"x\"\nEND\n";
        QFile rcFile(dir_->filePath(QStringLiteral("test.rc")));
        rcFile.open(QIODevice::WriteOnly);
        rcFile.write(rc);
        rcFile.close();
        QProcess p;
        p.setWorkingDirectory(dir_->path());
        p.start(windres, {QStringLiteral("--preprocessor=cpp"), QStringLiteral("-i"),
                          QStringLiteral("test.rc"), QStringLiteral("-o"), QStringLiteral("test.o")});
        p.waitForFinished();
        if (p.exitCode() != 0) {
            buildError_ = QString::fromLocal8Bit(p.readAllStandardError());
            return;
        }
        p.start(ld, {QStringLiteral("--dll"), QStringLiteral("-e"), QStringLiteral("0"),
                     QStringLiteral("--no-insert-timestamp"), QStringLiteral("-o"),
                     QStringLiteral("test.dll"), QStringLiteral("test.o")});
        p.waitForFinished();
        if (p.exitCode() != 0) {
            buildError_ = QString::fromLocal8Bit(p.readAllStandardError());
            return;
        }
        dll_ = dir_->filePath(QStringLiteral("test.dll"));
    }
    static void TearDownTestSuite()
    {
        delete dir_;
        dir_ = nullptr;
    }
    void SetUp() override
    {
        if (dll_.isEmpty()) {
            ASSERT_TRUE(buildError_.isEmpty()) << buildError_.toStdString();
            GTEST_SKIP() << "MinGW binutils are not installed";
        }
    }
    static QByteArray waveBytes()
    {
        QByteArray pcm;
        for (int i = 0; i < 64; ++i)
            put16(pcm, i * 100);
        QByteArray w("RIFF");
        put32(w, 36 + pcm.size());
        w += "WAVEfmt ";
        put32(w, 16);
        put16(w, 1);
        put16(w, 1);
        put32(w, 22050);
        put32(w, 44100);
        put16(w, 2);
        put16(w, 16);
        w += "data";
        put32(w, pcm.size());
        return w + pcm;
    }
    static QByteArray dllBytes()
    {
        QFile f(dll_);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }

    static QTemporaryDir *dir_;
    static QString dll_;
    static QString buildError_;
};
QTemporaryDir *PeReader::dir_ = nullptr;
QString PeReader::dll_;
QString PeReader::buildError_;

// What pefile lists for a file, one line a resource and one a string; empty
// with *skip set where pefile is not available.
QStringList pefileListing(const QString &path, QString *skip)
{
    if (!QFile::exists(QStringLiteral("/usr/bin/python3"))) {
        *skip = QStringLiteral("no /usr/bin/python3");
        return {};
    }
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"),
            {QStringLiteral(ZENTRIKA_SOURCE_DIR "/tests/data/pe_resources_dump.py"), path});
    p.waitForFinished(60000);
    if (p.exitCode() != 0 && p.readAllStandardError().contains("No module named 'pefile'")) {
        *skip = QStringLiteral("python3-pefile is not installed");
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// The same listing from our reader.
QStringList ourListing(const PeResourceLibrary &lib)
{
    QStringList ours;
    QList<int> stringBlocks;
    for (const auto &e : lib.entries()) {
        ours << QStringLiteral("RES %1 %2 %3 %4 %5")
                    .arg(e.type, e.name)
                    .arg(e.language)
                    .arg(e.size)
                    .arg(QString::fromLatin1(
                        QCryptographicHash::hash(lib.data(e), QCryptographicHash::Sha1).toHex()));
        if (e.type == QLatin1String("#6"))
            stringBlocks << e.name.mid(1).toInt();
    }
    std::sort(stringBlocks.begin(), stringBlocks.end());
    for (int block : stringBlocks) {
        for (int id = (block - 1) * 16; id < block * 16; ++id) {
            const QString text = lib.loadString(id);
            if (!text.isEmpty())
                ours << QStringLiteral("STR %1 %2").arg(id).arg(QString::fromLatin1(text.toUtf8().toHex()));
        }
    }
    return ours;
}

TEST_F(PeReader, ListsWhatPefileLists)
{
    QString skip;
    const QStringList theirs = pefileListing(dll_, &skip);
    if (!skip.isEmpty())
        GTEST_SKIP() << skip.toStdString();
    const PeResourceLibrary lib = PeResourceLibrary::fromFile(dll_);
    ASSERT_TRUE(lib.isLoaded()) << lib.errorString().toStdString();
    const QStringList ours = ourListing(lib);
    EXPECT_EQ(ours.join(QLatin1Char('\n')).toStdString(), theirs.join(QLatin1Char('\n')).toStdString());
    EXPECT_GE(ours.size(), 15);
}

// The game's own Media.dll, as the build makes it: read alike by pefile and by
// us, and holding everything the screens ask of it.
TEST(GameMediaLibrary, HoldsEverythingTheGameAsksFor)
{
    const QString path = QStringLiteral(ZENTRIKA_GAME_DIR "/Media.dll");
    if (!QFile::exists(path))
        GTEST_SKIP() << "the game folder has no Media.dll yet";
    const PeResourceLibrary lib = PeResourceLibrary::fromFile(path);
    ASSERT_TRUE(lib.isLoaded()) << lib.errorString().toStdString();

    QString skip;
    const QStringList theirs = pefileListing(path, &skip);
    if (skip.isEmpty()) {
        EXPECT_EQ(ourListing(lib).join(QLatin1Char('\n')).toStdString(),
                  theirs.join(QLatin1Char('\n')).toStdString());
    }

    for (const char *wave : {"CLICK", "ERROR", "LEVELUP", "TRUEANSWER", "FALSEANSWER"})
        EXPECT_TRUE(lib.findResource(QStringLiteral("WAVE"), QString::fromLatin1(wave)).startsWith("RIFF"))
            << wave;
    QStringList bitmaps = {
        QStringLiteral("StartScreen"), QStringLiteral("GAMEPANEL"),    QStringLiteral("TEXTURE"),
        QStringLiteral("texture"),     QStringLiteral("ListPanel"),    QStringLiteral("PRICE"),
        QStringLiteral("S1"),          QStringLiteral("S2"),           QStringLiteral("QUESTION"),
        QStringLiteral("TRUEANSWERB"), QStringLiteral("FALSEANSWERB"), QStringLiteral("LEVELUP")};
    for (int i = 1; i <= 3; ++i)
        bitmaps << QStringLiteral("DIFF%1").arg(i) << QStringLiteral("mDIFF%1").arg(i);
    for (int cost : {10, 20, 30, 40})
        bitmaps << QStringLiteral("COST%1").arg(cost);
    for (const QString &name : bitmaps)
        EXPECT_FALSE(lib.loadBitmap(name).isNull()) << name.toStdString();
    EXPECT_EQ(lib.loadBitmap(QStringLiteral("StartScreen")).size(), QSize(800, 600));
    for (int logo = 1; logo <= 5; ++logo) {
        EXPECT_EQ(lib.loadBitmap(logo).size(), QSize(50, 50)) << logo;
        EXPECT_FALSE(lib.loadString(logo).isEmpty()) << logo;
    }
}

TEST_F(PeReader, DecodesEveryBitmapDepthAsStored)
{
    const PeResourceLibrary lib = PeResourceLibrary::fromFile(dll_);
    ASSERT_TRUE(lib.isLoaded());
    for (const Sample &s : samples()) {
        SCOPED_TRACE(s.rcName);
        const QImage got = QByteArray(s.rcName) == "101" ? lib.loadBitmap(101)
                                                         : lib.loadBitmap(QString::fromLatin1(s.rcName));
        EXPECT_EQ(got.format(), QImage::Format_RGB32);
        EXPECT_EQ(got, s.expected);
        // Qt's own BMP reader agrees on the file the resource came from.
        if (QByteArray(s.rcName) != "Bits565") {
            EXPECT_EQ(QImage::fromData(s.bmp, "BMP").convertToFormat(QImage::Format_RGB32), s.expected);
        }
    }
}

TEST_F(PeReader, MatchesNamesWithoutRegardToCase)
{
    const PeResourceLibrary lib = PeResourceLibrary::fromFile(dll_);
    EXPECT_FALSE(lib.loadBitmap(QStringLiteral("startscreen")).isNull());
    EXPECT_EQ(lib.loadBitmap(QStringLiteral("sTaRtScReEn")), lib.loadBitmap(QStringLiteral("StartScreen")));
    EXPECT_EQ(lib.loadBitmap(QStringLiteral("#101")), lib.loadBitmap(101));
    EXPECT_EQ(lib.findResource(QStringLiteral("wave"), QStringLiteral("click")), waveBytes());
    EXPECT_EQ(lib.findResource(QStringLiteral("WAVE"), QStringLiteral("ERROR")), waveBytes());
    // The first language listed wins over the Russian copy.
    EXPECT_EQ(lib.findResource(QStringLiteral("Wave"), QStringLiteral("Click")), waveBytes());
    EXPECT_FALSE(lib.findResource(2, 101).isEmpty());
    EXPECT_TRUE(lib.findResource(QStringLiteral("WAVE"), QStringLiteral("LEVELUP")).isEmpty());
    EXPECT_TRUE(lib.findResource(QStringLiteral("#2"), QStringLiteral("#999")).isEmpty());
}

TEST_F(PeReader, StringsComeFromTheirBlocks)
{
    const PeResourceLibrary lib = PeResourceLibrary::fromFile(dll_);
    EXPECT_EQ(lib.loadString(1), QStringLiteral("Сова"));
    EXPECT_EQ(lib.loadString(2), QStringLiteral("Ёжик"));
    EXPECT_EQ(lib.loadString(5), QStringLiteral("Кот в сапогах"));
    EXPECT_EQ(lib.loadString(15), QStringLiteral("last of block one"));
    EXPECT_EQ(lib.loadString(16), QStringLiteral("first of block two"));
    EXPECT_EQ(lib.loadString(40), QStringLiteral("x"));
    for (int missing : {0, 3, 14, 17, 39, 41, 1000, 65535, -1, 70000})
        EXPECT_TRUE(lib.loadString(missing).isEmpty()) << missing;
}

TEST_F(PeReader, MissingThingsAreErrorsNotCrashes)
{
    const PeResourceLibrary lib = PeResourceLibrary::fromFile(dll_);
    EXPECT_THROW(lib.loadBitmap(QStringLiteral("GAMEPANEL")), EResourceError);
    EXPECT_THROW(lib.loadBitmap(6), EResourceError);

    const PeResourceLibrary none = PeResourceLibrary::fromFile(dir_->filePath(QStringLiteral("absent.dll")));
    EXPECT_FALSE(none.isLoaded());
    EXPECT_FALSE(none.errorString().isEmpty());
    EXPECT_TRUE(none.findResource(QStringLiteral("WAVE"), QStringLiteral("CLICK")).isEmpty());
    EXPECT_TRUE(none.loadString(1).isEmpty());
    try {
        none.loadBitmap(QStringLiteral("StartScreen"));
        ADD_FAILURE() << "no error";
    } catch (const EResourceError &e) {
        EXPECT_NE(std::string(e.what()).find("StartScreen"), std::string::npos) << e.what();
    }

    const PeResourceLibrary notPe = PeResourceLibrary::fromFile(dir_->filePath(QStringLiteral("test.rc")));
    EXPECT_FALSE(notPe.isLoaded());
}

// Every cut and many single-byte changes of a real DLL are either read or
// refused; nothing reads outside the file (the asan preset makes that visible).
TEST_F(PeReader, DamagedFilesAreRefusedOrReadSafely)
{
    const QByteArray good = dllBytes();
    auto exercise = [](const QByteArray &bytes) {
        try {
            PeResourceLibrary lib(bytes);
            for (const auto &e : lib.entries())
                (void)lib.data(e);
            for (const char *name : {"StartScreen", "Mono", "Four", "TopDown", "Deep", "Bits565"}) {
                try {
                    (void)lib.loadBitmap(QString::fromLatin1(name));
                } catch (const EResourceError &) {
                }
            }
            for (int id = 0; id < 48; ++id)
                (void)lib.loadString(id);
            return true;
        } catch (const EResourceError &) {
            return false;
        }
    };
    int refused = 0;
    for (qsizetype cut = 0; cut < good.size(); cut += 13)
        refused += exercise(good.left(cut)) ? 0 : 1;
    EXPECT_GT(refused, 0);
    for (qsizetype at = 0; at < good.size(); at += 3) {
        for (char v : {char(0xFF), char(0x80), char(0x00)}) {
            QByteArray bad = good;
            bad[at] = v;
            exercise(bad);
        }
    }
}

TEST_F(PeReader, SelfReferencingDirectoryIsRefused)
{
    QByteArray bytes = dllBytes();
    const PeResourceLibrary lib(bytes);
    ASSERT_FALSE(lib.entries().empty());
    // Point the first type's subdirectory back at the root: the walk must
    // notice the nesting is wrong instead of going round.
    const qint64 pe = qFromLittleEndian<quint32>(bytes.constData() + 0x3C);
    const qint64 optional = pe + 24;
    const quint32 resourceRva = qFromLittleEndian<quint32>(bytes.constData() + optional + 112 + 16);
    const qint64 sections = optional + qFromLittleEndian<quint16>(bytes.constData() + pe + 20);
    qint64 root = -1;
    for (int i = 0; i < qFromLittleEndian<quint16>(bytes.constData() + pe + 6); ++i) {
        const char *s = bytes.constData() + sections + 40 * i;
        const quint32 va = qFromLittleEndian<quint32>(s + 12);
        if (resourceRva >= va && resourceRva < va + qFromLittleEndian<quint32>(s + 16))
            root = qFromLittleEndian<quint32>(s + 20) + (resourceRva - va);
    }
    ASSERT_GT(root, 0);
    qToLittleEndian<quint32>(0x80000000u, bytes.data() + root + 16 + 4);
    EXPECT_THROW(PeResourceLibrary{bytes}, EResourceError);
}

} // namespace

// Cases that need no DLL: the bitmap decoder on its own.
namespace
{

QByteArray packed(const QByteArray &bmp)
{
    return bmp.mid(14);
}

TEST(DibDecoder, RefusesDamagedHeaders)
{
    const QByteArray good =
        packed(bmpFile(4, 4, 8, false, {qRgb(1, 2, 3)}, 1, 0, {}, [](int, int) { return 0u; }));
    EXPECT_NO_THROW(platform::decodeDib(good));
    EXPECT_THROW(platform::decodeDib(good.left(good.size() - 1)), platform::EDibError); // a row short
    QByteArray bad = good;
    qToLittleEndian<quint32>(257, bad.data() + 32); // more colours than 8 bits can index
    EXPECT_THROW(platform::decodeDib(bad), platform::EDibError);
    bad = good;
    qToLittleEndian<qint32>(100000, bad.data() + 4); // wider than any screen, no data behind it
    EXPECT_THROW(platform::decodeDib(bad), platform::EDibError);
    bad = good;
    qToLittleEndian<quint16>(7, bad.data() + 14);
    EXPECT_THROW(platform::decodeDib(bad), platform::EDibError);
    bad = good;
    qToLittleEndian<qint32>(0, bad.data() + 8);
    EXPECT_THROW(platform::decodeDib(bad), platform::EDibError);
    EXPECT_THROW(platform::decodeDib(QByteArray()), platform::EDibError);

    // A 1-bit image whose header says 256 colours: the table is stepped over,
    // only its first two entries index pixels.
    QList<QRgb> many;
    for (int i = 0; i < 256; ++i)
        many << qRgb(i, 0, 0);
    const QImage wide = platform::decodeDib(
        packed(bmpFile(3, 1, 1, false, many, 256, 0, {}, [](int x, int) { return quint32(x == 1); })));
    EXPECT_EQ(wide.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(wide.pixel(1, 0), qRgb(1, 0, 0));
}

TEST(DibDecoder, RunLengthEncodedRows)
{
    QList<QRgb> pal;
    for (int i = 0; i < 16; ++i)
        pal << qRgb(i * 10, i * 10, i * 10);
    // RLE8, 6 x 3, bottom-up: row 0 (bottom) = run of 4 x index 2, then 5 and 6;
    // row 1 skipped by a delta; row 2 = literal 1,2,3 (padded), rest background.
    QByteArray bmp = bmpFile(6, 3, 8, false, pal, 16, 1, {}, [](int, int) { return 0u; });
    const qsizetype header = 14 + 40 + 16 * 4;
    QByteArray rle = bmp.left(header);
    rle += QByteArray::fromHex("0402"
                               "0105"
                               "0106"
                               "0000"
                               "00020001"
                               "000301020300"
                               "0001");
    const QImage img = platform::decodeDib(packed(rle));
    ASSERT_EQ(img.size(), QSize(6, 3));
    EXPECT_EQ(img.pixel(0, 2), pal[2]);
    EXPECT_EQ(img.pixel(3, 2), pal[2]);
    EXPECT_EQ(img.pixel(4, 2), pal[5]);
    EXPECT_EQ(img.pixel(5, 2), pal[6]);
    EXPECT_EQ(img.pixel(0, 1), pal[0]);
    EXPECT_EQ(img.pixel(0, 0), pal[1]);
    EXPECT_EQ(img.pixel(2, 0), pal[3]);
    // Qt's reader agrees on every pixel the data sets (it leaves skipped ones undefined).
    const QImage qt = QImage::fromData(rle, "BMP").convertToFormat(QImage::Format_RGB32);
    for (const QPoint at :
         {QPoint(0, 2), QPoint(3, 2), QPoint(4, 2), QPoint(5, 2), QPoint(0, 0), QPoint(1, 0), QPoint(2, 0)})
        EXPECT_EQ(img.pixel(at), qt.pixel(at)) << at.x() << "," << at.y();
}

TEST(DibDecoder, IconImagesUseTheirMask)
{
    // 2 x 2 icon at 24 bits: colour rows, then the AND mask (1 = transparent).
    QByteArray dib;
    put32(dib, 40);
    put32(dib, 2);
    put32(dib, 4); // twice the height
    put16(dib, 1);
    put16(dib, 24);
    for (int i = 0; i < 6; ++i)
        put32(dib, 0);
    dib += QByteArray::fromHex("0000ff00ff000000"
                               "ff0000ffffff0000"); // bottom row red, green; top row blue, white
    dib += QByteArray::fromHex("80000000"
                               "40000000"); // bottom-left and top-right transparent
    const QImage img = platform::decodeIconDib(dib);
    ASSERT_EQ(img.size(), QSize(2, 2));
    EXPECT_EQ(qAlpha(img.pixel(0, 1)), 0);
    EXPECT_EQ(img.pixel(1, 1), qRgb(0, 255, 0));
    EXPECT_EQ(img.pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(qAlpha(img.pixel(1, 0)), 0);
    EXPECT_THROW(platform::decodeIconDib(dib.left(dib.size() - 2)), platform::EDibError);
}

} // namespace
