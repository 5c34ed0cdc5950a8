// Inputs at and over their size limits, and files that are no regular file
// (a folder, a FIFO): each is refused at once, with nothing read for it, and
// what is at the limit still loads.
#include "TestFiles.h"
#include "core/Catalogue.h"
#include "core/DataFile.h"
#include "core/Errors.h"
#include "core/Problem.h"
#include "platform/BoundedFile.h"
#include "platform/IniFile.h"
#include "platform/InputLimits.h"
#include "platform/PeResourceLibrary.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace
{

enum class Kind { Regular, Folder, Fifo, Missing };

// A file of the given kind; a regular one of `size` bytes is sparse, so a
// file over a limit of megabytes costs nothing to make.
QString make(const QTemporaryDir &dir, const QString &name, Kind kind, qint64 size = 0)
{
    const QString path = dir.filePath(name);
    QDir().mkpath(QFileInfo(path).path());
    switch (kind) {
    case Kind::Regular: {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.resize(size);
        break;
    }
    case Kind::Folder:
        QDir().mkpath(path);
        break;
    case Kind::Fifo:
        ::mkfifo(QFile::encodeName(path).constData(), 0600);
        break;
    case Kind::Missing:
        break;
    }
    return path;
}

} // namespace

TEST(BoundedFile, RefusesWhatIsNoRegularFileOrOverTheLimit)
{
    using Status = platform::BoundedRead::Status;
    QTemporaryDir dir;
    const struct {
        Kind kind;
        qint64 size;
        Status status;
    } cases[] = {
        {Kind::Regular, 1000, Status::Ok}, {Kind::Regular, 1001, Status::TooLarge},
        {Kind::Regular, 0, Status::Ok},    {Kind::Folder, 0, Status::NotAFile},
        {Kind::Fifo, 0, Status::NotAFile}, {Kind::Missing, 0, Status::Missing},
    };
    int n = 0;
    for (const auto &c : cases) {
        const QString path = make(dir, QStringLiteral("f%1").arg(n++), c.kind, c.size);
        const platform::BoundedRead r = platform::readBoundedFile(path, 1000);
        EXPECT_EQ(r.status, c.status) << path.toStdString();
        EXPECT_EQ(r.bytes.size(), r.ok() ? c.size : 0);
        EXPECT_EQ(r.detail.isEmpty(), r.ok());
    }
}

// The data file of a puzzle: a folder or a FIFO in its place, a file over the
// limit and texts over what the viewer reads are load errors; at the limit it loads.
TEST(InputLimits, DataFiles)
{
    QTemporaryDir dir;
    const QString image = dir.filePath(QStringLiteral("Images/p.jpg"));
    testfiles::write(image, testfiles::jpeg(4, 4));
    const auto load = [&](const QString &data) -> std::string {
        TProblem p(2, 0, QString(), image, data);
        try {
            p.LoadData();
        } catch (const ELoadError &e) {
            EXPECT_FALSE(p.Loaded);
            return e.what();
        }
        return "(loaded)";
    };
    EXPECT_NE(load(make(dir, QStringLiteral("Data/dir.dat"), Kind::Folder)).find("Can not open"),
              std::string::npos);
    EXPECT_NE(load(make(dir, QStringLiteral("Data/fifo.dat"), Kind::Fifo)).find("Can not open"),
              std::string::npos);
    const QString huge =
        make(dir, QStringLiteral("Data/huge.dat"), Kind::Regular, limits::MaxDataFileBytes + 1);
    EXPECT_NE(load(huge).find("is larger than"), std::string::npos);

    for (const qsizetype size : {limits::MaxTextBytes, limits::MaxTextBytes + 1}) {
        PuzzleDataFile f;
        f.lines = {QStringLiteral("?")};
        f.statement = QByteArray(size, 's');
        f.solution = QByteArray(size, 'o');
        const QString path = dir.filePath(QStringLiteral("Data/%1.dat").arg(size));
        testfiles::write(path, encodeDataFile(f));
        EXPECT_EQ(load(path) == "(loaded)", size == limits::MaxTextBytes) << size;
    }
}

// list.lst: a FIFO, a file over the limit and more sections than ids are
// refused; a pack with every id loads.
TEST(InputLimits, Catalogues)
{
    for (const Kind kind : {Kind::Fifo, Kind::Folder, Kind::Regular}) {
        QTemporaryDir dir;
        make(dir, QStringLiteral("list.lst"), kind, limits::MaxCatalogueBytes + 1);
        TCatalogue catalogue(dir.path());
        EXPECT_THROW(catalogue.LoadCatalogue(), EInternalError);
        EXPECT_EQ(catalogue.Count(), 0);
    }
    for (const int sections : {limits::MaxCatalogueSections, limits::MaxCatalogueSections + 1}) {
        QByteArray text;
        for (int i = 0; i < sections; ++i)
            text += "[" + QByteArray::number(i) + "]\nDifficult=0\nName=a\nImageFN=a\nDataFN=a\n";
        ASSERT_LE(text.size(), limits::MaxCatalogueBytes);
        TCatalogue catalogue(QStringLiteral("/game"));
        const platform::IniFile ini = platform::IniFile::fromBytes(text);
        if (sections <= limits::MaxCatalogueSections) {
            catalogue.LoadFromIni(ini);
            EXPECT_EQ(catalogue.Count(), sections);
        } else {
            EXPECT_THROW(catalogue.LoadFromIni(ini), EInternalError);
        }
    }
}

// A Media.dll that is a FIFO leaves the library not loaded at once.
TEST(InputLimits, MediaLibraryThatIsNoFile)
{
    QTemporaryDir dir;
    for (const Kind kind : {Kind::Fifo, Kind::Folder}) {
        const QString path =
            make(dir, kind == Kind::Fifo ? QStringLiteral("fifo.dll") : QStringLiteral("dir.dll"), kind);
        const platform::PeResourceLibrary media = platform::PeResourceLibrary::fromFile(path);
        EXPECT_FALSE(media.isLoaded());
        EXPECT_TRUE(media.errorString().contains(QStringLiteral("not a regular file")))
            << media.errorString().toStdString();
    }
}
