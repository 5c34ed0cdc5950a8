// Pictures of the dialogs for docs/screens, with the game's own face and
// Media.dll from the game folder.
#include "GuiSupport.h"
#include "Shots.h"

#include "core/Problem.h"
#include "platform/PeResourceLibrary.h"
#include "platform/desktop/PrivateFont.h"
#include "screens/ReplyForm.h"
#include "screens/SolutionForm.h"
#include "widgets/richtext/RtfWriter.h"

using namespace guitest;

namespace
{

class Screenshots : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        dir = shots::outputDir();
        const QString game = shots::gameDir();
        font.add({game + QStringLiteral("/Fonts/comic.ttf"), game + QStringLiteral("/Fonts/comicbd.ttf")});
        media = platform::PeResourceLibrary::fromFile(game + QStringLiteral("/Media.dll"));
        ASSERT_TRUE(media.isLoaded()) << media.errorString().toStdString();
    }

    void save(QWidget *w, const QString &name)
    {
        QCoreApplication::processEvents();
        QTest::qWait(50);
        ASSERT_TRUE(w->grab().save(dir + QLatin1Char('/') + name));
    }

    QString dir;
    platform::PrivateFont font;
    platform::PeResourceLibrary media;
};

class Puzzle : public TProblem
{
  public:
    Puzzle(std::uint8_t kind, QStringList lines) : TProblem(1, 0, QString(), QString(), QString())
    {
        AnswerKind = kind;
        Lines = std::move(lines);
    }
    bool CheckAnswer(const AnswerValue &) const override { return true; }
};

TEST_F(Screenshots, MessageBox)
{
    TMessageBoxForm box(&media);
    auto shot = [&](const QString &name) {
        whenModal([&, name](QWidget *w) {
            save(w, name);
            QTest::keyClick(w, Qt::Key_Escape);
        });
    };
    shot(QStringLiteral("message-notice.png"));
    box.ShowNotice(QStringLiteral("Ответ должен быть целым числом."));
    shot(QStringLiteral("message-question.png"));
    box.Ask(QStringLiteral("Хотите посмотреть ответ за 30 очков?"));
    shot(QStringLiteral("message-right.png"));
    box.ShowTrueAnswer();
    shot(QStringLiteral("message-wrong.png"));
    box.ShowFalseAnswer();
}

TEST_F(Screenshots, AnswerDialog)
{
    struct Case {
        std::uint8_t kind;
        QStringList lines;
        QString name;
        std::function<void(TReplyForm *)> fill;
    };
    const QList<Case> cases{
        {AnswerInteger,
         {QStringLiteral("Сколько всего спичек понадобится для квадрата 3 на 3?")},
         QStringLiteral("answer-number.png"),
         [](TReplyForm *f) { typeText(f->Edit, QStringLiteral("24")); }},
        {AnswerText,
         {QStringLiteral("Какое слово здесь лишнее?")},
         QStringLiteral("answer-text.png"),
         [](TReplyForm *f) { typeText(f->Edit, QStringLiteral("Ворона")); }},
        {AnswerTime,
         {QStringLiteral("Во сколько встретятся поезда?")},
         QStringLiteral("answer-time.png"),
         [](TReplyForm *f) { typeText(f->TimeEdit, QStringLiteral("1:30")); }},
        {AnswerChoice,
         {QStringLiteral("Кто из братьев сказал правду?"), QStringLiteral("Первый"), QStringLiteral("Второй"),
          QStringLiteral("Третий")},
         QStringLiteral("answer-choice.png"),
         [](TReplyForm *f) { QTest::keyClick(f->List, Qt::Key_Down); }},
        {AnswerNumbers,
         {QStringLiteral("Сколько в корзине яблок, груш и слив?"), QStringLiteral("Яблок"),
          QStringLiteral("Груш"), QStringLiteral("Слив")},
         QStringLiteral("answer-numbers.png"),
         [](TReplyForm *f) {
             f->List->setFocus();
             QTest::keyClick(f->List, Qt::Key_Down);
             typeText(f->Edit, QStringLiteral("12"));
         }},
    };
    for (const Case &c : cases) {
        Puzzle p(c.kind, c.lines);
        QPointer<TReplyForm> form = new TReplyForm(nullptr, p);
        form->ShowModalAsync();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
        c.fill(form);
        save(form, c.name);
        QTest::keyClick(form, Qt::Key_Escape);
        flushDeletes();
    }
}

TEST_F(Screenshots, AnswerViewer)
{
    QVector<richtext::RtfParagraph> text;
    const QStringList paragraphs{
        QStringLiteral("Разложим монеты на три кучки по четыре и положим на весы первые две."),
        QStringLiteral(
            "Если весы в равновесии, фальшивая монета в третьей кучке; иначе она в более лёгкой из "
            "двух. Так за одно взвешивание остаются четыре подозрительные монеты."),
        QStringLiteral("Из этих четырёх положим по одной на каждую чашу. Равновесие укажет на одну из двух "
                       "оставшихся, а третье взвешивание найдёт её."),
        QStringLiteral("Ответ: трёх взвешиваний достаточно."),
    };
    for (int i = 0; i < paragraphs.size(); ++i) {
        richtext::RtfParagraph p;
        richtext::RtfRun run;
        run.text = paragraphs[i];
        run.bold = i == paragraphs.size() - 1;
        p.runs.append(run);
        text.append(p);
    }
    QPointer<TSolutionForm> viewer = new TSolutionForm(nullptr, richtext::writeRtf(text));
    viewer->ShowModalAsync();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(viewer));
    save(viewer, QStringLiteral("viewer-step3.png"));
    viewer->SetZoom(5);
    save(viewer, QStringLiteral("viewer-step5.png"));
    QTest::keyClick(viewer, Qt::Key_Escape);
    flushDeletes();
}

} // namespace
