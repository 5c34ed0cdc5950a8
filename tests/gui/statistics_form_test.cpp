// The statistics screen over a store of the test's own: what it shows and
// what a screen reader reads for a written log, a profile from before the
// log, a damaged log table; and its button in the player selection.
#include "GuiSupport.h"

#include "controls/Accessibility.h"
#include "core/AnswerLog.h"
#include "core/User.h"
#include "platform/Registry.h"
#include "screens/StatisticsForm.h"
#include "screens/Texts.h"
#include "screens/UserSelectDialog.h"

#include <QAccessible>
#include <QPointer>
#include <sqlite3.h>

using namespace guitest;

namespace
{

// Tuesday 8 December 2026, noon UTC: "today" for every case.
constexpr qint64 kNow = 1796731200;
constexpr qint64 kDay = 86400;

AnswerRecord rec(AnswerEvent e, qint64 daysAgo, qint64 before, qint64 after, int grade = -1, int kind = -1,
                 qint64 seconds = 0, int level = 1)
{
    AnswerRecord r;
    r.Time = kNow - daysAgo * kDay;
    r.Event = int(e);
    r.Puzzle = grade >= 0 ? 100 : 0;
    r.Difficult = grade;
    r.AnswerKind = kind;
    r.ScoresBefore = before;
    r.ScoresAfter = after;
    r.Seconds = seconds;
    r.Level = level;
    return r;
}

QString described(QWidget *w)
{
    QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w);
    return a ? a->text(QAccessible::Name) + QStringLiteral(" | ") + a->text(QAccessible::Description)
             : QString();
}

struct ScreenCase {
    const char *name;
    std::vector<AnswerRecord> log;
    const char *damage; // SQL run on the store before the player is saved; null for none
    int ld, lu;         // the profile's own counters of easy puzzles
    // Expected texts, each found in what the screen reader gets.
    std::vector<const char *> said;
};

class StatisticsScreen : public MediaFixture, public ::testing::WithParamInterface<ScreenCase>
{
  protected:
    void SetUp() override
    {
        MediaFixture::SetUp();
        controls::installAccessibility();
        registry = &playerStore.get();
        context.messages = &box;
    }
    std::unique_ptr<TUser> store(const QString &name, const ScreenCase &c)
    {
        if (c.damage)
            sqlite3_exec(registry->connection(), c.damage, nullptr, nullptr, nullptr);
        auto u = TUser::CreateNew(name, 1);
        u->LD = std::uint16_t(c.ld);
        u->LU = std::uint16_t(c.lu);
        u->Scores = c.log.empty() ? 30 : c.log.back().ScoresAfter;
        u->Level = std::uint8_t(c.log.empty() ? 1 : c.log.back().Level);
        u->PendingLog = c.log;
        u->SaveToRegistry(*registry);
        return TUser::CreateFromRegistry(TUser::PlayerPath(name), *registry);
    }

    platform::Registry *registry = nullptr;
    RecordingMessageBox box{&media};
};

TEST_P(StatisticsScreen, ShowsAndSaysTheFiguresOfTheLog)
{
    const ScreenCase &c = GetParam();
    auto player = store(QStringLiteral("Вася"), c);
    QPointer<TStatisticsForm> form = new TStatisticsForm(context, *player, nullptr, kNow);
    form->ShowModalAsync();
    QStringList said;
    for (QWidget *w :
         std::initializer_list<QWidget *>{form->Header, form->PointsChart, form->Rate, form->WrongPerSolved,
                                          form->Hints, form->Solutions, form->DaysPlayed, form->Medians,
                                          form->DifficultyChart, form->KindChart, form->Calendar, form->Note})
        said << described(w);
    const QString all = said.join(QLatin1Char('\n'));
    for (const char *text : c.said)
        EXPECT_TRUE(all.contains(QString::fromUtf8(text))) << text << " not in:\n" << all.toStdString();
    // The figures are those of the log as stored, and the profile outlives the screen.
    EXPECT_EQ(form->figures().records, qint64(c.damage ? 0 : c.log.size()));
    QTest::keyClick(form, Qt::Key_Escape);
    flushDeletes();
    EXPECT_TRUE(form.isNull()) << "Escape closes the screen";
    EXPECT_TRUE(registry->keyExists(TUser::PlayerPath(QStringLiteral("Вася"))));
}

const std::vector<AnswerRecord> kTwoDays = {
    rec(AnswerEvent::Right, 6, 30, 40, 0, 0, 20),     rec(AnswerEvent::Wrong, 6, 40, 36, 0, 0, 30),
    rec(AnswerEvent::Level, 6, 36, 36, -1, -1, 0, 2), rec(AnswerEvent::Hint, 5, 36, 31, 1, 1, 0, 2),
    rec(AnswerEvent::Right, 5, 31, 51, 1, 1, 65, 2),  rec(AnswerEvent::Solution, 5, 51, 31, 2, 3, 0, 2)};

INSTANTIATE_TEST_SUITE_P(
    Logs, StatisticsScreen,
    ::testing::Values(ScreenCase{"TwoDays",
                                 kTwoDays,
                                 nullptr,
                                 1,
                                 1,
                                 {"Вася — уровень 2, 31 очко",
                                  "Очки по дням | Очки по дням: 2 дек — 36 (уровень 2), 3 дек — 31",
                                  "Верных ответов: 67 % (2 из 3)", "Ошибок на решённую: 0,50",
                                  "Куплено подсказок: 1 за 5 очков", "Куплено решений: 1 за 20 очков",
                                  "Дней в игре: 2", "лёгкие — 20 с, средние — 1 мин 5 с, сложные — —",
                                  "Решено по сложности: лёгкие — 1, средние — 1, сложные — 0",
                                  "Решено по виду ответа: число — 1, текст — 1, время — 0, выбор из списка — "
                                  "0, несколько чисел — 0",
                                  "Последние 12 недель: 2 дек — решено: 1, 3 дек — решено: 1"}},
                      ScreenCase{"NoLogYet",
                                 {},
                                 nullptr,
                                 3,
                                 1,
                                 {"Вася — уровень 1, 30 очков", "Верных ответов: 75 % (3 из 4)",
                                  "Ошибок на решённую: 0,33",
                                  "Решено по сложности: лёгкие — 3, средние — 0, сложные — 0",
                                  "История ответов начинается сейчас"}},
                      ScreenCase{"DamagedTable",
                                 kTwoDays,
                                 "CREATE TABLE answer_log (x)",
                                 2,
                                 0,
                                 {"Часть истории не прочитана", "История ответов начинается сейчас",
                                  "Верных ответов: 100 % (2 из 2)"}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(StatisticsTexts, WordsAfterNumbersAreDeclined)
{
    const std::vector<std::pair<int, const char *>> cases = {
        {0, "0 головоломок"},   {1, "1 головоломка"},     {2, "2 головоломки"},    {4, "4 головоломки"},
        {5, "5 головоломок"},   {11, "11 головоломок"},   {12, "12 головоломок"},  {21, "21 головоломка"},
        {22, "22 головоломки"}, {111, "111 головоломок"}, {101, "101 головоломка"}};
    for (const auto &[n, text] : cases)
        EXPECT_EQ(TStatisticsForm::solvedWord(n), QString::fromUtf8(text)) << n;
    EXPECT_EQ(TStatisticsForm::durationText(59.4), QStringLiteral("59 с"));
    EXPECT_EQ(TStatisticsForm::durationText(3725), QStringLiteral("1 ч 2 мин"));
}

class StatisticsFromSelection : public StatisticsScreen
{
};

TEST_F(StatisticsFromSelection, OpensForTheChosenStoredPlayerOnly)
{
    store(QStringLiteral("Петя"), {"", kTwoDays, nullptr, 0, 0, {}});
    TUserSelectDialog dialog(context);
    dialog.ShowModalAsync();
    EXPECT_FALSE(dialog.StatisticsButton->isEnabled()) << "a new player has no statistics";
    dialog.LoadGameRB->click();
    EXPECT_FALSE(dialog.StatisticsButton->isEnabled()) << "nobody chosen yet";
    dialog.UserSelectComboBox->setCurrentIndex(dialog.UserSelectComboBox->findText(QStringLiteral("Петя")));
    ASSERT_TRUE(dialog.StatisticsButton->isEnabled());

    QString header;
    auto *timer = new QTimer(&dialog);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [&] {
        for (QWidget *w : QApplication::allWidgets()) {
            auto *form = qobject_cast<TStatisticsForm *>(w);
            if (form && form->isVisible()) {
                timer->stop();
                header = form->Header->caption();
                form->BackButton->click();
                return;
            }
        }
    });
    timer->start();
    dialog.StatisticsButton->click();
    EXPECT_TRUE(header.startsWith(QStringLiteral("Петя — уровень 2"))) << header.toStdString();
    EXPECT_TRUE(dialog.isVisible()) << "the selection goes on after the screen";
}

} // namespace
