// Pictures of the puzzle text viewer: a short text without the scroll bar, a
// long one with it, and the largest zoom with the pointer on an arrow.
#include "Shots.h"

#include "controls/FatScrollBar.h"
#include "controls/RichEditEx.h"
#include "platform/desktop/PrivateFont.h"
#include "widgets/richtext/RtfWriter.h"

#include <QTest>
#include <gtest/gtest.h>

TEST(TextViewerScreens, SavesPicturesWithAndWithoutTheBar)
{
    const QString dir = shots::outputDir();
    platform::PrivateFont font;
    font.add({shots::gameDir() + "/Fonts/comic.ttf", shots::gameDir() + "/Fonts/comicbd.ttf"});

    QWidget owner;
    owner.resize(420, 530);
    owner.setAutoFillBackground(true);
    QPalette pal = owner.palette();
    pal.setColor(QPalette::Window, QColor(253, 237, 196));
    owner.setPalette(pal);
    auto *viewer = new TRichEditEx(&owner);
    viewer->SetEditWidth(344);
    viewer->setGeometry(24, 24, 344, 459);
    owner.show();

    using richtext::RtfParagraph;
    using richtext::RtfRun;
    const auto run = [](const char *text, bool b = false, bool i = false, QColor c = {}) {
        return RtfRun{QString::fromUtf8(text), b, i, false, c};
    };
    const QVector<RtfParagraph> statement = {
        RtfParagraph{{run("Две свечи одинаковой длины зажгли одновременно. Первая сгорает за "),
                      run("4 часа", true), run(", вторая \xe2\x80\x94 за "), run("3 часа", true), run(".")}},
        RtfParagraph{{run("Через какое время первая свеча окажется "), run("вдвое длиннее", false, true),
                      run(" второй?")}},
        RtfParagraph{{run("Ответ дайте в часах и минутах.", false, false, QColor(200, 0, 0))}},
    };
    viewer->SetText(richtext::writeRtf(statement));
    QTest::qWait(50);
    ASSERT_FALSE(viewer->ScrollActive());
    ASSERT_TRUE(owner.grab().save(dir + "/text-viewer-no-bar.png"));

    QVector<RtfParagraph> longer = statement;
    for (int i = 0; i < 6; ++i)
        longer.append(RtfParagraph{
            {run("Пусть длина каждой свечи равна единице. Тогда за час первая укорачивается на четверть, "
                 "а вторая \xe2\x80\x94 на треть своей длины. "),
             run("Через t часов", true),
             run(" от первой остаётся 1 \xe2\x80\x94 t/4, от второй 1 \xe2\x80\x94 t/3, и мы ищем момент, "
                 "когда "
                 "первый остаток вдвое больше второго.")}});
    viewer->SetText(richtext::writeRtf(longer));
    viewer->ScrollTo(4);
    QTest::qWait(50);
    ASSERT_TRUE(viewer->ScrollActive());
    ASSERT_TRUE(owner.grab().save(dir + "/text-viewer-with-bar.png"));

    viewer->SetFontLevel(5);
    QTest::mouseMove(viewer->ScrollBar(), viewer->ScrollBar()->PartRect(TFatScrollBar::SecondArrow).center());
    QTest::qWait(50);
    ASSERT_TRUE(owner.grab().save(dir + "/text-viewer-level-5.png"));
}
