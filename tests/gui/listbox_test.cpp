// The puzzle list as a view of its model: rows and height snapping, both
// looks, the rows the player chooses with clicks and keys, arrows with the
// repeat timer, wheel and double click.
#include "FakeResourceLibrary.h"
#include "controls/FlatListBoxEx.h"
#include "core/Errors.h"
#include "core/ProblemListModel.h"
#include "core/User.h"
#include "platform/ResourceLibrary.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QSignalSpy>
#include <QStyleHints>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <gtest/gtest.h>
#include <map>
#include <memory>

namespace
{

const QColor kCream(253, 237, 196);
const QColor kOlive(128, 128, 0);
const QColor kGray(128, 128, 128);
const QColor kFormColour(255, 251, 240);

// A data file as the game reads it: magic, statement, kind, answer, lines, solution.
QByteArray dataFile(const QByteArray &statement, const QByteArray &solution = "solution")
{
    QByteArray out;
    auto int32 = [&out](qint32 v) {
        for (int i = 0; i < 4; ++i)
            out.append(char((quint32(v) >> (8 * i)) & 0xff));
    };
    out.append(char(77));
    int32(qint32(statement.size()));
    out.append(statement);
    out.append(char(AnswerInteger));
    const AnswerValue answer = AnswerValue::fromInteger(42);
    out.append(reinterpret_cast<const char *>(answer.bytes.data()), AnswerValue::Size);
    out.append(char(1));
    const QByteArray question = "Q?";
    out.append(char(question.size() + 1));
    out.append(char(question.size()));
    out.append(question);
    int32(qint32(solution.size()));
    out.append(solution);
    return out;
}

QImage filled(QColor colour, int size = 16)
{
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

class ListBoxTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        QDir(dir.path()).mkpath("Data");
        QDir(dir.path()).mkpath("Images");
        media.addBitmap("mDIFF1", filled(Qt::green));
        media.addBitmap("mDIFF2", filled(Qt::yellow));
        media.addBitmap("mDIFF3", filled(Qt::red));
        media.addBitmap("S1", filled(Qt::lightGray));
        media.addBitmap("S2", filled(Qt::blue));
        form.resize(800, 600);
        QPalette pal = form.palette();
        pal.setColor(QPalette::Window, kFormColour);
        pal.setColor(QPalette::WindowText, Qt::black);
        form.setPalette(pal);
        savedWheelLines = QGuiApplication::styleHints()->wheelScrollLines();
        QGuiApplication::styleHints()->setWheelScrollLines(3);
    }
    void TearDown() override { QGuiApplication::styleHints()->setWheelScrollLines(savedWheelLines); }

    // A catalogue record with its data file and a small JPEG picture on disk.
    TProblem record(int id, const QString &name, int difficult = 0, bool withPicture = true)
    {
        const QString data = dir.filePath(QStringLiteral("Data/%1.dat").arg(id));
        const QString image = dir.filePath(QStringLiteral("Images/%1.jpg").arg(id));
        writeData(id, "statement " + QByteArray::number(id));
        if (withPicture)
            filled(QColor::fromHsv((id * 37) % 360, 200, 220), 8).save(image, "JPEG");
        return TProblem(ProblemId(id), std::uint8_t(difficult), name, image, data);
    }
    void writeData(int id, const QByteArray &statement)
    {
        QFile f(dir.filePath(QStringLiteral("Data/%1.dat").arg(id)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(dataFile(statement));
    }

    // Set up as the game screen sets up its list, over a model of its own
    // that shows the level's progress; a chosen row is selected in the model
    // as the screens do, and a puzzle that cannot be read is counted.
    std::unique_ptr<TFlatListBoxEx> gameList(int width = 450)
    {
        auto list = std::make_unique<TFlatListBoxEx>(&form);
        auto &owned = models_.emplace_back(std::make_unique<TProblemListModel>());
        owned->SetLevelEntries(&level);
        modelOf_[list.get()] = owned.get();
        list->SetModel(owned.get());
        QObject::connect(list.get(), &TFlatListBoxEx::rowChosen, list.get(),
                         [this, raw = list.get()](int position) {
                             try {
                                 modelOf_[raw]->Select(position);
                             } catch (const ELoadError &) {
                                 ++loadFailures;
                             }
                             raw->Refresh();
                         });
        list->setObjectName("ProblemsList");
        list->BeginLoad();
        list->setGeometry(5, 80, width, 460);
        list->SetItemHeight(22);
        list->SetScrollBars(true);
        list->SetColor(kCream);
        list->SetColorArrow(kOlive);
        list->SetColorBorder(kGray);
        list->SetColorItemsSelect(kCream);
        list->SetGameMode(true);
        QFont font("Comic Sans MS");
        font.setPixelSize(17);
        list->setFont(font);
        list->Loaded(&media);
        return list;
    }
    std::unique_ptr<TFlatListBoxEx> collectionList()
    {
        auto list = gameList(345);
        list->SetGameMode(false);
        list->SetColorArrow(Qt::black);
        return list;
    }
    TProblemListModel &model(const TFlatListBoxEx &list) { return *modelOf_.at(&list); }
    // A puzzle with its level entry, while the level has room.
    void add(TFlatListBoxEx &list, const TProblem &problem, const LevelEntry &entry)
    {
        if (level.Count() < level.Capacity() && !level.FindEntry(entry.Id)) {
            level.Add(entry.Id);
            *level.FindEntry(entry.Id) = entry;
        }
        model(list).Add(problem);
    }
    void fill(TFlatListBoxEx &list, int n)
    {
        for (int i = 0; i < n; ++i)
            add(list, record(i + 1, QStringLiteral("Задача %1").arg(i + 1), i % 3),
                LevelEntry{ProblemId(i + 1), 0, 0, std::uint16_t(i % 4)});
    }
    // Selected as the rules select: in the model, then the list refreshed.
    void select(TFlatListBoxEx &list, int position)
    {
        model(list).Select(position);
        list.Refresh();
    }
    static QImage shot(const TFlatListBoxEx &list)
    {
        QImage image(list.size(), QImage::Format_RGB32);
        image.fill(Qt::magenta);
        QPainter p(&image);
        list.DrawList(p);
        return image;
    }
    static QPoint rowCentre(const TFlatListBoxEx &list, int row)
    {
        return list.Rows().at(std::size_t(row)).center();
    }
    static QPoint topStrip(const TFlatListBoxEx &list) { return QPoint(list.width() / 2, 5); }
    static QPoint bottomStrip(const TFlatListBoxEx &list)
    {
        return QPoint(list.width() / 2, list.height() - 5);
    }
    static void wheel(TFlatListBoxEx &list, int delta)
    {
        const QPointF at(list.width() / 2.0, list.height() / 2.0);
        QWheelEvent event(at, list.mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&list, &event);
    }
    // The first press arrives as a press, the second as a double click.
    static void doubleClick(TFlatListBoxEx &list, QPoint at)
    {
        QTest::mousePress(&list, Qt::LeftButton, {}, at);
        QTest::mouseRelease(&list, Qt::LeftButton, {}, at);
        QTest::mouseDClick(&list, Qt::LeftButton, {}, at);
        QTest::mouseRelease(&list, Qt::LeftButton, {}, at);
    }

    QTemporaryDir dir;
    platform::FakeResourceLibrary media;
    TProblemsList level;
    std::vector<std::unique_ptr<TProblemListModel>> models_;
    std::map<const TFlatListBoxEx *, TProblemListModel *> modelOf_;
    int loadFailures = 0;
    // Declared last: the lists go before their models.
    QWidget form;
    int savedWheelLines = 3;
};

// ---------------------------------------------------------------------------
// Creation, properties and layout

TEST_F(ListBoxTest, CreationValues)
{
    TFlatListBoxEx list;
    EXPECT_EQ(list.size(), QSize(137, 99));
    EXPECT_EQ(list.ItemHeight(), 17);
    EXPECT_FALSE(list.ScrollBars());
    EXPECT_FALSE(list.GameMode());
    EXPECT_FALSE(list.UseAdvColors());
    EXPECT_EQ(list.AdvColorBorder(), 40);
    EXPECT_TRUE(list.ParentColor());
    EXPECT_EQ(list.ColorBorder(), QColor(160, 150, 131));
    EXPECT_EQ(list.ColorItemsSelect(), QColor(247, 222, 156));
    EXPECT_EQ(list.TopIndex(), 0);
    EXPECT_EQ(list.VisibleRows(), 5); // (99 - 4) div 19
    EXPECT_EQ(list.Rows().front(), QRect(3, 3, 131, 17));
    EXPECT_EQ(list.Rows().back().top(), 3 + 4 * 19);
    EXPECT_EQ(list.RepeatTimer()->interval(), 600);
    EXPECT_FALSE(list.RepeatTimer()->isActive());
}

TEST_F(ListBoxTest, HeightSnapsToWholeRows)
{
    form.show(); // a hidden widget hears of its size only when shown
    auto list = gameList();
    list->show();
    EXPECT_EQ(list->geometry(), QRect(5, 80, 450, 456));
    EXPECT_EQ(list->VisibleRows(), 18);
    ASSERT_EQ(list->Rows().size(), 18u);
    EXPECT_EQ(list->Rows().front(), QRect(3, 13, 444, 22));
    EXPECT_EQ(list->Rows().back(), QRect(3, 13 + 17 * 24, 444, 22));

    // A later resize snaps too, and so does setting the geometry last without loading.
    list->resize(450, 300);
    EXPECT_EQ(list->height(), 11 * 24 + 24);
    EXPECT_EQ(list->VisibleRows(), 11);

    TFlatListBoxEx plain(&form);
    plain.show();
    plain.SetItemHeight(22);
    plain.SetScrollBars(true);
    plain.setGeometry(5, 80, 345, 460);
    EXPECT_EQ(plain.height(), 456);
    EXPECT_EQ(plain.VisibleRows(), 18);

    // ItemHeight keeps the row count and resizes; below 1 it becomes 1.
    plain.SetItemHeight(10);
    EXPECT_EQ(plain.VisibleRows(), 18);
    EXPECT_EQ(plain.height(), 18 * 12 + 24);
    plain.SetItemHeight(0);
    EXPECT_EQ(plain.ItemHeight(), 1);
    EXPECT_EQ(plain.height(), 18 * 3 + 24);

    // The strips take 20 pixels of their own.
    plain.SetItemHeight(22);
    plain.SetScrollBars(false);
    EXPECT_EQ(plain.height(), 18 * 24 + 4);
    EXPECT_EQ(plain.VisibleRows(), 18);
    EXPECT_EQ(plain.Rows().front().top(), 3);
    plain.SetScrollBars(true);
    EXPECT_EQ(plain.height(), 456);

    // Too small for a row: no rows, never a negative count.
    plain.resize(345, 5);
    EXPECT_EQ(plain.VisibleRows(), 0);
    EXPECT_TRUE(plain.Rows().empty());
    EXPECT_EQ(plain.height(), 24);
    form.hide();
}

TEST_F(ListBoxTest, MissingPictureFailsTheLoadAndLeavesTheListAsItWas)
{
    platform::FakeResourceLibrary partial;
    partial.addBitmap("mDIFF1", filled(Qt::green));
    partial.addBitmap("mDIFF2", filled(Qt::green));
    partial.addBitmap("mDIFF3", filled(Qt::green));
    partial.addBitmap("S1", filled(Qt::green));
    TFlatListBoxEx list(&form);
    try {
        list.Loaded(&partial);
        FAIL() << "no error";
    } catch (const platform::EResourceError &e) {
        EXPECT_STREQ(e.what(), "Resource S2 not found");
    }
    try {
        list.Loaded(nullptr);
        FAIL() << "no error";
    } catch (const platform::EResourceError &e) {
        EXPECT_STREQ(e.what(), "Resource mDIFF1 not found");
    }
    EXPECT_NO_THROW(list.Loaded(&media));
}

// ---------------------------------------------------------------------------
// Filling and selection

TEST_F(ListBoxTest, ItemsBeyond256CanBeSelectedButAreNeverHighlighted)
{
    auto list = collectionList();
    for (int i = 0; i < 301; ++i)
        model(*list).Add(TProblem(ProblemId(i), 0, QStringLiteral("N%1").arg(i), "", ""));
    // No files behind these records: the load fails after the selection moved.
    EXPECT_THROW(select(*list, 255), ELoadError);
    EXPECT_EQ(list->HighlightedIndex(), 255);
    EXPECT_THROW(select(*list, 300), ELoadError);
    EXPECT_EQ(model(*list).SelectedIndex(), 300);
    EXPECT_EQ(list->HighlightedIndex(), -1);

    // Scrolled to it, the row shows no highlight fill.
    list->SetTopIndex(300);
    const QImage image = shot(*list);
    const QRect row = list->Rows().front();
    EXPECT_EQ(QColor(image.pixel(row.left() + 1, row.top() + 1)), QColor(Qt::white));
}

TEST_F(ListBoxTest, AClearedModelKeepsTheOffset)
{
    auto list = gameList();
    fill(*list, 30);
    select(*list, 3);
    list->SetTopIndex(5);
    model(*list).Clear();
    EXPECT_EQ(list->Count(), 0);
    EXPECT_EQ(list->HighlightedIndex(), -1);
    EXPECT_EQ(list->TopIndex(), 5);

    // Refilled and drawn: the new names, never the freed ones (the sanitizer
    // build checks this).
    fill(*list, 4);
    list->SetTopIndex(0);
    select(*list, 0);
    EXPECT_EQ(list->Item(3), QStringLiteral("Задача 4"));
    EXPECT_FALSE(shot(*list).isNull());
}

// ---------------------------------------------------------------------------
// Mouse

TEST_F(ListBoxTest, ClickOnARowSelectsAndTakesTheFocus)
{
    auto list = gameList();
    fill(*list, 30);
    form.show();
    list->SetTopIndex(4);
    QSignalSpy changed(list.get(), &TFlatListBoxEx::rowChosen);
    QTest::mouseClick(list.get(), Qt::LeftButton, {}, rowCentre(*list, 2));
    EXPECT_EQ(model(*list).Selected(), model(*list).At(6));
    EXPECT_EQ(list->HighlightedIndex(), 6);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(form.focusWidget(), list.get());
    EXPECT_EQ(list->TopIndex(), 4);

    // Other buttons never select, and the gap between rows is no row.
    QTest::mouseClick(list.get(), Qt::RightButton, {}, rowCentre(*list, 5));
    const QRect row = list->Rows().at(0);
    QTest::mouseClick(list.get(), Qt::LeftButton, {}, QPoint(row.center().x(), row.bottom() + 2));
    EXPECT_EQ(model(*list).Selected(), model(*list).At(6));
    EXPECT_EQ(changed.count(), 1);
    form.hide();
}

TEST_F(ListBoxTest, KeysMoveTheSelectionAsAClickDoesAndKeepItInView)
{
    auto list = gameList();
    fill(*list, 40);
    form.show();
    const int rows = list->VisibleRows();
    ASSERT_GT(rows, 3);
    ASSERT_LT(rows, 40);
    list->setFocus();
    select(*list, 0);
    struct Step {
        Qt::Key key;
        int selected;
    };
    const Step steps[] = {
        {Qt::Key_Down, 1},
        {Qt::Key_Up, 0},
        {Qt::Key_Up, 0}, // at the top already: nothing read again
        {Qt::Key_End, 39},
        {Qt::Key_Down, 39},
        {Qt::Key_PageUp, 39 - (rows - 1)},
        {Qt::Key_Home, 0},
        {Qt::Key_PageDown, rows - 1},
        {Qt::Key_PageDown, 2 * (rows - 1)},
    };
    QSignalSpy changed(list.get(), &TFlatListBoxEx::rowChosen);
    int events = 0;
    int previous = 0;
    for (const Step &step : steps) {
        SCOPED_TRACE(QTest::toString(QKeySequence(step.key)));
        QTest::keyClick(list.get(), step.key);
        EXPECT_EQ(model(*list).Selected(), model(*list).At(step.selected));
        EXPECT_EQ(list->HighlightedIndex(), step.selected);
        EXPECT_TRUE(model(*list).Selected()->Loaded);
        if (step.selected != previous)
            ++events;
        EXPECT_EQ(changed.count(), events);
        // The selected row is one of the rows on view.
        EXPECT_LE(list->TopIndex(), step.selected);
        EXPECT_LT(step.selected, list->TopIndex() + rows);
        previous = step.selected;
    }
    EXPECT_EQ(form.focusWidget(), list.get());
    form.hide();
}

TEST_F(ListBoxTest, ClickOrKeyOnAPuzzleThatFailsToLoadStillChoosesIt)
{
    auto list = collectionList();
    model(*list).Add(record(1, "Есть картинка"));
    model(*list).Add(record(2, "Нет картинки", 0, false));
    model(*list).Add(record(3, "Ещё одна"));
    form.show();
    select(*list, 0);
    QSignalSpy changed(list.get(), &TFlatListBoxEx::rowChosen);
    QTest::mouseClick(list.get(), Qt::LeftButton, {}, rowCentre(*list, 1));
    EXPECT_EQ(loadFailures, 1);
    EXPECT_EQ(model(*list).Selected(), model(*list).At(1));
    EXPECT_EQ(list->HighlightedIndex(), 1);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(form.focusWidget(), list.get());

    select(*list, 2);
    QTest::keyClick(list.get(), Qt::Key_Up);
    EXPECT_EQ(loadFailures, 2);
    EXPECT_EQ(model(*list).Selected(), model(*list).At(1));
    EXPECT_EQ(changed.count(), 2);
    form.hide();
}

TEST_F(ListBoxTest, ClickOnAnEmptyRowRaisesTheEventOnly)
{
    auto list = gameList();
    fill(*list, 3);
    select(*list, 1);
    QSignalSpy changed(list.get(), &TFlatListBoxEx::rowChosen);
    QTest::mouseClick(list.get(), Qt::LeftButton, {}, rowCentre(*list, 10));
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(model(*list).Selected(), model(*list).At(1));
    EXPECT_EQ(list->HighlightedIndex(), 1);
    EXPECT_TRUE(model(*list).Selected()->Loaded);

    // An empty list: rows select nothing and raise nothing.
    model(*list).Clear();
    QTest::mouseClick(list.get(), Qt::LeftButton, {}, rowCentre(*list, 0));
    EXPECT_EQ(changed.count(), 1);
}

TEST_F(ListBoxTest, HoldingTheDownArrowStopsAtTheLastPage)
{
    auto list = gameList();
    fill(*list, 30);
    QTimer *timer = list->RepeatTimer();
    for (int top = 0; top <= 12; ++top) {
        list->SetTopIndex(top);
        EXPECT_EQ(list->DownArrowActive(), top <= 11) << "TopIndex " << top;
    }
    list->SetTopIndex(0);
    EXPECT_FALSE(list->UpArrowActive());

    // The press moves one row at once and arms the timer for 600 ms.
    QTest::mousePress(list.get(), Qt::LeftButton, {}, bottomStrip(*list));
    EXPECT_EQ(list->TopIndex(), 1);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 600);
    EXPECT_TRUE(list->ScrollingDown());

    // Each tick moves one more row, then every 100 ms.
    list->RepeatTick();
    EXPECT_EQ(list->TopIndex(), 2);
    EXPECT_EQ(timer->interval(), 100);
    int ticks = 0;
    while (timer->isActive() && ticks < 100) {
        list->RepeatTick();
        ++ticks;
    }
    EXPECT_EQ(list->TopIndex(), 12);
    EXPECT_FALSE(timer->isActive());
    EXPECT_FALSE(list->DownArrowActive());
    EXPECT_TRUE(list->UpArrowActive());

    // The release puts the first delay back.
    QTest::mouseRelease(list.get(), Qt::LeftButton, {}, bottomStrip(*list));
    EXPECT_EQ(timer->interval(), 600);

    // Another press at the last page moves nothing but still arms the timer.
    QTest::mousePress(list.get(), Qt::RightButton, {}, bottomStrip(*list));
    EXPECT_EQ(list->TopIndex(), 12);
    EXPECT_TRUE(timer->isActive());
    QTest::mouseRelease(list.get(), Qt::RightButton, {}, bottomStrip(*list));
    EXPECT_FALSE(timer->isActive());
}

TEST_F(ListBoxTest, HoldingTheUpArrowStopsAtTheTop)
{
    auto list = gameList();
    fill(*list, 30);
    list->SetTopIndex(3);
    QTimer *timer = list->RepeatTimer();
    QTest::mousePress(list.get(), Qt::LeftButton, {}, topStrip(*list));
    EXPECT_EQ(list->TopIndex(), 2);
    EXPECT_FALSE(list->ScrollingDown());
    list->RepeatTick();
    list->RepeatTick();
    EXPECT_EQ(list->TopIndex(), 0);
    EXPECT_TRUE(timer->isActive());
    list->RepeatTick();
    EXPECT_EQ(list->TopIndex(), 0);
    EXPECT_FALSE(timer->isActive());
    QTest::mouseRelease(list.get(), Qt::LeftButton, {}, topStrip(*list));

    // Without strips the same press does nothing.
    list->SetScrollBars(false);
    list->SetTopIndex(3);
    QTest::mousePress(list.get(), Qt::LeftButton, {}, QPoint(list->width() / 2, 1));
    EXPECT_EQ(list->TopIndex(), 3);
    EXPECT_FALSE(timer->isActive());
    QTest::mouseRelease(list.get(), Qt::LeftButton, {}, QPoint(list->width() / 2, 1));
}

TEST_F(ListBoxTest, EachListsTimerDrivesOnlyThatList)
{
    auto first = gameList();
    auto second = gameList();
    fill(*first, 30);
    fill(*second, 30);
    QTest::mousePress(second.get(), Qt::LeftButton, {}, bottomStrip(*second));
    ASSERT_TRUE(second->RepeatTimer()->isActive());
    EXPECT_FALSE(first->RepeatTimer()->isActive());
    // The real timer fires on its own; only what it scrolled is checked.
    EXPECT_TRUE(QTest::qWaitFor([&] { return second->TopIndex() >= 2; }, 5000));
    EXPECT_EQ(first->TopIndex(), 0);
    QTest::mouseRelease(second.get(), Qt::LeftButton, {}, bottomStrip(*second));

    // Destroying one list leaves the other's repeat running; hiding stops it.
    QTest::mousePress(first.get(), Qt::LeftButton, {}, bottomStrip(*first));
    QTimer *timer = first->RepeatTimer();
    second.reset();
    EXPECT_TRUE(timer->isActive());
    form.show();
    first->hide();
    EXPECT_FALSE(timer->isActive());
    form.hide();
}

TEST_F(ListBoxTest, WheelScrollsByWholeNotchesOnly)
{
    auto list = gameList();
    fill(*list, 30);
    list->SetTopIndex(10);
    wheel(*list, -120);
    EXPECT_EQ(list->TopIndex(), 12); // the last page, not 13
    wheel(*list, -120);
    EXPECT_EQ(list->TopIndex(), 12);
    wheel(*list, 120);
    EXPECT_EQ(list->TopIndex(), 9);
    wheel(*list, -240);
    wheel(*list, 240);
    wheel(*list, -60);
    wheel(*list, 1);
    EXPECT_EQ(list->TopIndex(), 9);
    list->SetTopIndex(1);
    wheel(*list, 120);
    EXPECT_EQ(list->TopIndex(), 0);
    wheel(*list, -120);
    EXPECT_EQ(list->TopIndex(), 3);

    // The lines per notch are the desktop's setting.
    QGuiApplication::styleHints()->setWheelScrollLines(5);
    list->SetTopIndex(0);
    wheel(*list, -120);
    EXPECT_EQ(list->TopIndex(), 5);

    // A list shorter than a page never scrolls down.
    auto shortList = gameList();
    fill(*shortList, 10);
    wheel(*shortList, -120);
    EXPECT_EQ(shortList->TopIndex(), 0);
}

TEST_F(ListBoxTest, DoubleClickOutsideTheStripsOnly)
{
    auto list = gameList();
    fill(*list, 30);
    QSignalSpy doubled(list.get(), &TFlatListBoxEx::doubleClicked);
    QSignalSpy changed(list.get(), &TFlatListBoxEx::rowChosen);

    doubleClick(*list, rowCentre(*list, 2));
    EXPECT_EQ(doubled.count(), 1);
    EXPECT_EQ(changed.count(), 1); // the first click selected the row
    EXPECT_EQ(list->HighlightedIndex(), 2);

    // On a strip the first click scrolls one row; the pair raises nothing.
    doubleClick(*list, bottomStrip(*list));
    EXPECT_EQ(list->TopIndex(), 1);
    doubleClick(*list, topStrip(*list));
    EXPECT_EQ(list->TopIndex(), 0);
    EXPECT_EQ(doubled.count(), 1);

    // The dead zones are there without strips too; between rows counts.
    list->SetScrollBars(false);
    doubleClick(*list, QPoint(list->width() / 2, 10));
    doubleClick(*list, QPoint(list->width() / 2, list->height() - 11));
    EXPECT_EQ(doubled.count(), 1);
    doubleClick(*list, QPoint(list->width() / 2, 11));
    EXPECT_EQ(doubled.count(), 2);
}

// ---------------------------------------------------------------------------
// Painting

TEST_F(ListBoxTest, EmptyListDrawsFrameAndInactiveArrows)
{
    auto list = gameList();
    const QImage image = shot(*list);
    const int cx = list->width() / 2;
    const int h = list->height();
    EXPECT_EQ(QColor(image.pixel(0, 100)), kGray);                // outer frame
    EXPECT_EQ(QColor(image.pixel(1, 100)), QColor(Qt::white));    // background
    EXPECT_EQ(QColor(image.pixel(20, 5)), kCream);                // top strip
    EXPECT_EQ(QColor(image.pixel(20, 10)), kGray);                // its lower frame
    EXPECT_EQ(QColor(image.pixel(cx, 4)), kGray);                 // inactive up arrow tip
    EXPECT_EQ(QColor(image.pixel(cx + 3, 7)), QColor(Qt::white)); // its white shadow
    EXPECT_EQ(QColor(image.pixel(cx, h - 5)), kGray);             // inactive down arrow tip
    EXPECT_EQ(QColor(image.pixel(cx - 2, h - 7)), kGray);
    EXPECT_EQ(QColor(image.pixel(cx + 1, h - 4)), QColor(Qt::white));
    for (const QRect &row : list->Rows())
        EXPECT_EQ(QColor(image.pixel(row.center())), QColor(Qt::white));
}

TEST_F(ListBoxTest, GameLookDrawsMarksCountBoxAndClippedNames)
{
    auto list = gameList();
    const LevelEntry solved{1, 1, 1, 0};
    const LevelEntry open{2, 0, 0, 7};
    add(*list, record(1, "Решённая", 2), solved);
    add(*list, record(2, QString(60, QChar(u'Ж')), 1), open);
    select(*list, 0);
    const QImage image = shot(*list);
    const int w = list->width();
    const QRect row0 = list->Rows().at(0);
    const QRect row1 = list->Rows().at(1);

    // Active down arrow in olive only when there is more below: not here.
    EXPECT_EQ(QColor(image.pixel(w / 2, list->height() - 5)), kGray);
    // Solved square at x 4: picture 2 for solved, picture 1 otherwise, framed grey.
    EXPECT_EQ(QColor(image.pixel(4 + 11, row0.top() + 11)), QColor(Qt::blue));
    EXPECT_EQ(QColor(image.pixel(4 + 11, row1.top() + 11)), QColor(Qt::lightGray));
    EXPECT_EQ(QColor(image.pixel(4, row0.top() + 11)), kGray);
    // The highlight starts right of the solved square.
    EXPECT_EQ(QColor(image.pixel(row0.left() + 22 + 4 + 1, row0.top() + 1)), kCream);
    EXPECT_EQ(QColor(image.pixel(row0.left() + 24, row0.top() + 1)), QColor(Qt::white));
    // Difficulty square at the inner right edge, framed in the text colour when highlighted.
    const int dRight = w - 3 - 3; // row's inner edge
    EXPECT_EQ(QColor(image.pixel(dRight - 11, row0.top() + 11)), QColor(Qt::red));
    EXPECT_EQ(QColor(image.pixel(dRight - 1, row0.top() + 11)), QColor(Qt::black));
    EXPECT_EQ(QColor(image.pixel(dRight - 11, row1.top())), kGray);
    // Count box: the form's colour, framed, with a number in it.
    const QRect box(dRight - 22 - 26, row0.top(), 22, 22);
    EXPECT_EQ(QColor(image.pixel(box.left() + 2, box.top() + 2)), kFormColour);
    EXPECT_EQ(QColor(image.pixel(box.left(), box.top() + 5)), QColor(Qt::black));
    int dark = 0;
    for (int y = box.top() + 1; y < box.bottom(); ++y)
        for (int x = box.left() + 1; x < box.right(); ++x)
            dark += qGray(image.pixel(x, y)) < 100;
    EXPECT_GT(dark, 3);

    // The long name runs over both boxes and stops at the inner edge.
    auto inkIn = [&](int x0, int x1) {
        int n = 0;
        for (int y = row1.top() + 1; y < row1.bottom(); ++y)
            for (int x = x0; x < x1; ++x)
                n += qGray(image.pixel(x, y)) < 60;
        return n;
    };
    EXPECT_GT(inkIn(dRight - 20, dRight - 2), 0);
    EXPECT_EQ(inkIn(dRight, w - 1), 0);
    // Painting leaves the row rectangles alone.
    EXPECT_EQ(list->Rows().at(1), row1);
}

TEST_F(ListBoxTest, CollectionLookHasNoMarksAndDisabledLookNoPictures)
{
    auto list = collectionList();
    fill(*list, 30);
    select(*list, 0);
    QImage image = shot(*list);
    const QRect row0 = list->Rows().at(0);
    EXPECT_EQ(QColor(image.pixel(row0.left() + 1, row0.top() + 1)), kCream); // full-width highlight
    EXPECT_EQ(QColor(image.pixel(4, row0.top() + 11)), kCream);              // no solved mark
    EXPECT_EQ(QColor(image.pixel(list->width() / 2, list->height() - 5)), QColor(Qt::black)); // active arrow
    const int dRight = list->width() - 6;
    EXPECT_EQ(QColor(image.pixel(dRight - 11, row0.top() + 11)), QColor(Qt::green));

    list->setEnabled(false);
    image = shot(*list);
    EXPECT_NE(QColor(image.pixel(dRight - 11, row0.top() + 11)), QColor(Qt::green));
    EXPECT_EQ(QColor(image.pixel(list->width() / 2, list->height() - 5)), kGray); // arrows inactive
    EXPECT_EQ(QColor(image.pixel(row0.left() + 1, row0.top() + 1)), kCream);      // the highlight stays
    bool anyBlack = false;
    for (int y = row0.top(); y < row0.bottom(); ++y)
        for (int x = row0.left(); x < row0.right(); ++x)
            anyBlack |= QColor(image.pixel(x, y)) == QColor(Qt::black);
    EXPECT_FALSE(anyBlack); // the name is embossed, not in the text colour
}

TEST_F(ListBoxTest, AdvancedColoursFollowTheParent)
{
    auto list = collectionList();
    list->SetUseAdvColors(true);
    EXPECT_TRUE(list->ParentColor());
    EXPECT_EQ(list->Color(), kFormColour);
    EXPECT_EQ(list->ColorBorder(), TFlatListBoxEx::DeriveBorderColor(kFormColour, 40));
    list->SetAdvColorBorder(101);
    EXPECT_EQ(list->AdvColorBorder(), 40);
    list->SetAdvColorBorder(100);
    EXPECT_EQ(list->ColorBorder(), QColor(0, 0, 0));

    QPalette pal = form.palette();
    pal.setColor(QPalette::Window, QColor(200, 100, 50));
    form.setPalette(pal);
    EXPECT_EQ(list->Color(), QColor(200, 100, 50));
    list->SetAdvColorBorder(50);
    EXPECT_EQ(list->ColorBorder(), QColor(100, 50, 25));

    // Switched off: the colour stays as it was shown, the parent no longer counts.
    list->SetUseAdvColors(false);
    EXPECT_FALSE(list->ParentColor());
    pal.setColor(QPalette::Window, Qt::white);
    form.setPalette(pal);
    EXPECT_EQ(list->Color(), QColor(200, 100, 50));
}

} // namespace
