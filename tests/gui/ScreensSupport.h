#pragma once
// Fixtures of the puzzle screens' tests: a small catalogue written to a
// temporary folder (list.lst, data files, real JPEG pictures), the media
// library's screen bitmaps, a recorder for the generic error report and a
// script that answers modal windows one after another.
#include "FakeResourceLibrary.h"
#include "GuiSupport.h"

#include "core/DataFile.h"
#include "platform/desktop/GameApplication.h"
#include "screens/ScreenParts.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <deque>

namespace guitest
{

struct PuzzleSpec {
    ProblemId id = 0;
    int difficult = 0;
    QString name;
    int answer = 0;
    int statementLines = 3;
    int hints = 0; // "Hint N of ID." each
};

// The colour of a puzzle's picture: tells pictures apart after JPEG and scaling.
inline QColor puzzleColor(ProblemId id)
{
    return QColor((id * 37) % 200 + 30, (id * 91) % 200 + 30, (id * 53) % 200 + 30);
}

inline bool near(QColor a, QColor b, int tolerance = 12)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

inline QByteArray statementFor(const PuzzleSpec &p)
{
    QByteArray rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0 ";
    for (int i = 0; i < p.statementLines; ++i)
        rtf += "Statement " + QByteArray::number(p.id) + " line " + QByteArray::number(i) + "\\par ";
    return rtf + "}";
}

// Writes list.lst, Data/pN.dat and Images/pN.jpg (440 x 460) into dir.
inline void writeCatalogue(const QString &dir, const std::vector<PuzzleSpec> &puzzles)
{
    QDir().mkpath(dir + QStringLiteral("/Data"));
    QDir().mkpath(dir + QStringLiteral("/Images"));
    std::vector<CatalogueEntry> entries;
    for (const PuzzleSpec &p : puzzles) {
        const QString stem = QStringLiteral("p%1").arg(p.id);
        entries.push_back(
            {p.id, p.difficult, p.name, stem + QStringLiteral(".jpg"), stem + QStringLiteral(".dat")});
        PuzzleDataFile data;
        data.kind = AnswerInteger;
        data.answer = AnswerValue::fromInteger(p.answer);
        data.lines = {QStringLiteral("Сколько?")};
        data.statement = statementFor(p);
        data.solution = "{\\rtf1\\ansi Solution " + QByteArray::number(p.id) + "\\par}";
        for (int n = 1; n <= p.hints; ++n)
            data.hints.append("{\\rtf1\\ansi Hint " + QByteArray::number(n) + " of " +
                              QByteArray::number(p.id) + ".\\par}");
        QFile f(dir + QStringLiteral("/Data/") + stem + QStringLiteral(".dat"));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(encodeDataFile(data));
        QImage picture(440, 460, QImage::Format_RGB32);
        picture.fill(puzzleColor(p.id));
        EXPECT_TRUE(picture.save(dir + QStringLiteral("/Images/") + stem + QStringLiteral(".jpg"), "JPG"));
    }
    QFile list(dir + QStringLiteral("/list.lst"));
    EXPECT_TRUE(list.open(QIODevice::WriteOnly));
    list.write(encodeCatalogue(entries));
}

// The bitmaps both screens and the puzzle list ask the media library for.
inline void addScreenBitmaps(platform::FakeResourceLibrary &media)
{
    const std::pair<const char *, QColor> named[] = {
        {"TEXTURE", QColor(240, 230, 200)},
        {"GAMEPANEL", QColor(200, 180, 140)},
        {"ListPanel", QColor(180, 200, 140)},
        {"DIFF1", QColor(0, 200, 0)},
        {"DIFF2", QColor(200, 200, 0)},
        {"DIFF3", QColor(200, 0, 0)},
        {"COST0", QColor(0, 90, 0)},
        {"COST10", QColor(10, 10, 60)},
        {"COST20", QColor(20, 20, 80)},
        {"COST30", QColor(30, 30, 100)},
        {"COST40", QColor(40, 40, 120)},
        {"PRICE", QColor(250, 200, 0)},
        {"mDIFF1", QColor(0, 150, 0)},
        {"mDIFF2", QColor(150, 150, 0)},
        {"mDIFF3", QColor(150, 0, 0)},
        {"S1", QColor(220, 220, 220)},
        {"S2", QColor(0, 0, 220)},
    };
    for (const auto &[name, color] : named) {
        QImage image(QLatin1String(name) == QLatin1String("PRICE") ? 24 : 50,
                     QLatin1String(name) == QLatin1String("PRICE") ? 24 : 50, QImage::Format_RGB32);
        image.fill(color);
        media.addBitmap(QLatin1String(name), image);
    }
}

inline QColor centreColor(const QImage &image)
{
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

// Answers modal windows in turn: each step gets the topmost modal window that
// is not one of the ignored ones (the screen under test itself).
class ModalScript
{
  public:
    using Step = std::function<void(QWidget *)>;

    ModalScript()
    {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start();
    }
    void ignore(QWidget *w) { ignored_.push_back(w); }
    void then(Step step) { steps_.push_back(std::move(step)); }
    bool done() const { return steps_.empty(); }
    QStringList seen; // class names of the windows answered

  private:
    void poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || steps_.empty())
            return;
        if (std::find(ignored_.begin(), ignored_.end(), modal) != ignored_.end())
            return;
        Step step = std::move(steps_.front());
        steps_.pop_front();
        seen << QLatin1String(modal->metaObject()->className());
        step(modal);
    }

    QTimer timer_;
    std::deque<Step> steps_;
    std::vector<QWidget *> ignored_;
};

// Installs the screens' bitmaps, a recording error report and a temporary game folder.
class ScreenFixture : public MediaFixture
{
  protected:
    void SetUp() override
    {
        MediaFixture::SetUp();
        addScreenBitmaps(media);
        platform::GameApplication::instance()->setErrorReporter(
            [this](const QString &message) { errors << message; });
    }
    void TearDown() override
    {
        flushDeletes();
        platform::GameApplication::instance()->setErrorReporter({});
        MediaFixture::TearDown();
    }
    QString gameDir() const { return folder.path(); }

    QTemporaryDir folder;
    QStringList errors;
};

} // namespace guitest
