// Pictures of the puzzle list in both looks (the game's level with its
// progress, the collection), with the game's own Media.dll pictures and face.
#include "FakeResourceLibrary.h"
#include "Shots.h"

#include "controls/FlatListBoxEx.h"
#include "core/DataFile.h"
#include "core/ProblemListModel.h"
#include "core/User.h"
#include "platform/PeResourceLibrary.h"
#include "platform/ResourceLibrary.h"
#include "platform/desktop/PrivateFont.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

const char *const kNames[] = {"Кувшины и вода",
                              "Часы на башне",
                              "Сколько лет капитану?",
                              "Мост через реку",
                              "Три брата",
                              "Тайна старого сундука с очень длинным названием",
                              "Спички",
                              "Шахматная доска",
                              "Весы и монеты",
                              "Лабиринт",
                              "Поезд в полночь",
                              "Загадка сфинкса",
                              "Часовщик",
                              "Пять замков",
                              "Фальшивая монета",
                              "Ладья и конь",
                              "Рыбаки",
                              "Дорога домой",
                              "Сорок разбойников",
                              "Зеркала"};

// A catalogue record with a readable data file and a small picture.
TProblem record(const QTemporaryDir &dir, int id, const QString &name, int difficult)
{
    const QString data = dir.filePath(QStringLiteral("%1.dat").arg(id));
    const QString image = dir.filePath(QStringLiteral("%1.jpg").arg(id));
    PuzzleDataFile file;
    file.kind = AnswerInteger;
    file.answer = AnswerValue::fromInteger(42);
    file.lines = {QStringLiteral("Q?")};
    file.statement = "statement";
    file.solution = "solution";
    QFile out(data);
    EXPECT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(encodeDataFile(file));
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(QColor::fromHsv((id * 37) % 360, 200, 220));
    picture.save(image, "JPEG");
    return TProblem(ProblemId(id), std::uint8_t(difficult), name, image, data);
}

// Set up as the puzzle screens set up their list.
void style(TFlatListBoxEx &list, bool game, platform::IResourceLibrary &media)
{
    const QColor cream(253, 237, 196);
    list.BeginLoad();
    list.setGeometry(5, 80, game ? 450 : 345, 460);
    list.SetItemHeight(22);
    list.SetScrollBars(true);
    list.SetColor(cream);
    list.SetColorArrow(game ? QColor(128, 128, 0) : QColor(Qt::black));
    list.SetColorBorder(QColor(128, 128, 128));
    list.SetColorItemsSelect(cream);
    list.SetGameMode(game);
    QFont font(QStringLiteral("Comic Sans MS"));
    font.setPixelSize(17);
    list.setFont(font);
    list.Loaded(&media);
}

} // namespace

TEST(ListBoxScreens, BothLooks)
{
    const QDir game(shots::gameDir());
    platform::PeResourceLibrary real = platform::PeResourceLibrary::fromFile(game.filePath("Media.dll"));
    ASSERT_TRUE(real.isLoaded()) << real.errorString().toStdString();
    platform::FakeResourceLibrary media;
    for (const char *name : {"mDIFF1", "mDIFF2", "mDIFF3", "S1", "S2"})
        media.addBitmap(QLatin1String(name), real.loadBitmap(QLatin1String(name)));
    platform::PrivateFont face;
    face.add({game.filePath("Fonts/comic.ttf")});
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());

    QWidget form;
    form.resize(800, 600);
    QPalette pal = form.palette();
    pal.setColor(QPalette::Window, QColor(255, 251, 240));
    pal.setColor(QPalette::WindowText, Qt::black);
    form.setPalette(pal);
    form.show();
    for (bool gameLook : {true, false}) {
        TProblemsList level;
        TProblemListModel model;
        model.SetLevelEntries(&level);
        TFlatListBoxEx list(&form);
        list.SetModel(&model);
        style(list, gameLook, media);
        list.show();
        int i = 0;
        for (const char *name : kNames) {
            const LevelEntry entry{ProblemId(i + 1), std::uint8_t(i % 3 == 0), 0,
                                   std::uint16_t(i % 4 == 1 ? i % 7 : 0)};
            level.Add(entry.Id);
            *level.FindEntry(entry.Id) = entry;
            model.Add(record(dir, i + 1, QString::fromUtf8(name), i % 3));
            ++i;
        }
        model.Select(2);
        list.Refresh();
        QApplication::processEvents();
        const QString name = gameLook ? "listbox-game.png" : "listbox-collection.png";
        ASSERT_TRUE(list.grab().save(QDir(shots::outputDir()).filePath(name)));
    }
}
