#include "screens/StatisticsForm.h"

#include "core/AnswerLog.h"
#include "core/Catalogue.h"
#include "core/User.h"
#include "platform/Sounds.h"
#include "platform/UserStore.h"
#include "screens/GameContext.h"
#include "screens/ScreenParts.h"
#include "screens/Texts.h"

#include <QDateTime>
#include <QKeyEvent>
#include <QSet>
#include <array>
#include <cmath>

namespace
{

constexpr zw::ColorValue clScreen = zw::rgbValue(255, 251, 240);

// The grades and the answer kinds as the collection's filter names them.
QString gradeName(std::size_t i)
{
    static constexpr std::array<const char *, 3> names = {"лёгкие", "средние", "сложные"};
    return QString::fromUtf8(names[i]);
}

QString kindName(std::size_t i)
{
    static constexpr std::array<const char *, answerstats::AnswerKinds> names = {
        "число", "текст", "время", "выбор из списка", "несколько чисел"};
    return QString::fromUtf8(names[i]);
}

QString percent(double share)
{
    return QString::number(std::lround(share * 100)) + QStringLiteral(" %");
}

QString decimal(double v)
{
    return QString::number(v, 'f', 2).replace(QLatin1Char('.'), QLatin1Char(','));
}

TLabel *makeLine(QWidget *parent, const char *name, int top, int size = 12)
{
    auto *l = new TLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setFont(zw::gameFont(size));
    l->setAutoSize(false);
    l->setWordWrap(true);
    l->setGeometry(538, top, 246, QFontMetrics(l->font()).height());
    return l;
}

// The ids of the pack's puzzles, so that records of puzzles not in it are
// told apart; an unreadable catalogue leaves every id known.
std::function<bool(qint64)> packIds(const QString &dataFolder)
{
    if (dataFolder.isEmpty())
        return {};
    try {
        TCatalogue catalogue(dataFolder);
        catalogue.LoadCatalogue();
        QSet<qint64> ids;
        for (const auto &p : catalogue.Items())
            ids.insert(qint64(p->Id));
        return [ids = std::move(ids)](qint64 id) { return ids.contains(id); };
    } catch (const std::exception &) {
        return {};
    }
}

} // namespace

QString TStatisticsForm::solvedWord(int n)
{
    return texts::Declined(n, "головоломка", "головоломки", "головоломок");
}

QString TStatisticsForm::durationText(double seconds)
{
    const qint64 s = std::llround(seconds);
    if (s < 60)
        return QString::number(s) + QStringLiteral(" с");
    if (s < 3600)
        return QStringLiteral("%1 мин %2 с").arg(s / 60).arg(s % 60);
    return QStringLiteral("%1 ч %2 мин").arg(s / 3600).arg(s % 3600 / 60);
}

TStatisticsForm::TStatisticsForm(GameContext &context, const TUser &player, QWidget *owner, qint64 now)
    : TForm(owner), sounds_(context.sounds)
{
    setObjectName(QStringLiteral("StatisticsForm"));
    setStage(context.stage);
    setAccessibleName(QStringLiteral("Статистика"));
    setKeyPreview(true);
    setCloseAction(CloseAction::Free);
    setColor(clScreen);
    setFont(zw::gameFont(13));
    setClientSize(ScreenWidth, ScreenHeight);
    setCursor(Qt::ArrowCursor);
    createControls();

    const answerlog::Loaded log = answerlog::load(context.store.get(), player.KeyPath());
    logDamaged_ = log.damaged;
    leftOutRows_ = log.unreadable;
    answerstats::Options options;
    options.now = now > 0 ? now : QDateTime::currentSecsSinceEpoch();
    options.zone = QTimeZone::systemTimeZone();
    if (!log.records.empty())
        options.knownPuzzle = packIds(context.dataFolder);
    figures_ = answerstats::compute(log.records, player, options);
    showFigures(player);
}

void TStatisticsForm::createControls()
{
    // Created in tab order: the charts, then «назад».
    Header = new TLabel(this);
    Header->setObjectName(QStringLiteral("Header"));
    Header->setFont(zw::gameFont(21, true));
    Header->move(16, 12);

    PointsChart = new TLineChart(this);
    PointsChart->setObjectName(QStringLiteral("PointsChart"));
    PointsChart->setGeometry(16, 56, 508, 244);
    PointsChart->setTitle(QStringLiteral("Очки по дням"));

    Rate = makeLine(this, "Rate", 60);
    WrongPerSolved = makeLine(this, "WrongPerSolved", 88);
    Hints = makeLine(this, "Hints", 116);
    Solutions = makeLine(this, "Solutions", 144);
    DaysPlayed = makeLine(this, "DaysPlayed", 172);
    MediansCaption = makeLine(this, "MediansCaption", 204);
    MediansCaption->setCaption(QStringLiteral("Медиана времени до верного ответа:"));
    Medians = makeLine(this, "Medians", 226, 11);
    Medians->setGeometry(538, 226, 246, 72);

    DifficultyChart = new TBarChart(this);
    DifficultyChart->setObjectName(QStringLiteral("DifficultyChart"));
    DifficultyChart->setGeometry(16, 312, 220, 220);
    DifficultyChart->setTitle(QStringLiteral("Решено по сложности"));

    KindChart = new TBarChart(this);
    KindChart->setObjectName(QStringLiteral("KindChart"));
    KindChart->setGeometry(246, 312, 300, 220);
    KindChart->setTitle(QStringLiteral("Решено по виду ответа"));

    Calendar = new TCalendarChart(this);
    Calendar->setObjectName(QStringLiteral("Calendar"));
    Calendar->setGeometry(556, 312, 228, 220);
    Calendar->setTitle(QStringLiteral("Последние 12 недель"));
    Calendar->setCountWord([](int n) { return QStringLiteral("решено: ") + QString::number(n); });

    Note = new TLabel(this);
    Note->setObjectName(QStringLiteral("Note"));
    Note->setFont(zw::gameFont(12));
    Note->setAutoSize(false);
    Note->setWordWrap(true);
    Note->setGeometry(16, 540, 640, 48);

    BackButton = screens::makeButton(this, "BackButton", {680, 552, 104, 33}, texts::Back,
                                     QStringLiteral("Вернуться"));
    connect(BackButton, &QAbstractButton::clicked, this, [this] {
        platform::PlayClick(sounds_);
        close();
    });
}

void TStatisticsForm::showFigures(const TUser &player)
{
    const QString name = player.Name.isEmpty() ? player.KeyName : player.Name;
    Header->setCaption(QStringLiteral("%1 — уровень %2, %3")
                           .arg(name)
                           .arg(figures_.level)
                           .arg(texts::Points(figures_.scores)));
    showCharts();
    showLines();
    QStringList notes;
    if (figures_.historyStartsNow)
        notes << answerstats::HistoryStartsNowText();
    // A puzzle no longer in the pack still counts: only what was not used is said.
    if (logDamaged_ || leftOutRows_ > 0 || figures_.leftOut.total() > figures_.leftOut.unknownPuzzle)
        notes << QStringLiteral("Часть истории не прочитана: показано то, что удалось прочитать.");
    Note->setCaption(notes.join(QLatin1Char(' ')));
}

void TStatisticsForm::showCharts()
{
    const answerstats::Figures &f = figures_;
    std::vector<TLineChart::Point> points;
    points.reserve(f.days.size());
    for (const answerstats::DayPoints &d : f.days)
        points.push_back(
            {zw::shortDate(d.day), double(d.points), d.levelUp, QStringLiteral("уровень %1").arg(d.level)});
    PointsChart->setEmptyText(QStringLiteral("Очки появятся здесь после первых ответов."));
    PointsChart->setPoints(std::move(points));

    // Without a log, the profile's counters of right answers are what it has.
    const auto &byGrade = f.historyStartsNow ? f.rightCounters : f.solvedByDifficulty;
    std::vector<TBarChart::Bar> grades;
    for (std::size_t i = 0; i < byGrade.size(); ++i)
        grades.push_back({gradeName(i), double(byGrade[i]), {}});
    DifficultyChart->setBars(std::move(grades));

    KindChart->setEmptyText(QStringLiteral("Нет записанных ответов."));
    std::vector<TBarChart::Bar> kinds;
    if (!f.historyStartsNow) {
        for (std::size_t i = 0; i < f.solvedByKind.size(); ++i)
            kinds.push_back({kindName(i), double(f.solvedByKind[i]), {}});
    }
    KindChart->setBars(std::move(kinds));

    Calendar->setEmptyText(QStringLiteral("Нет записанных дней."));
    if (f.historyStartsNow)
        Calendar->setDays({}, {});
    else
        Calendar->setDays(f.calendarFirst, std::vector<int>(f.calendar.begin(), f.calendar.end()));
}

void TStatisticsForm::showLines()
{
    const answerstats::Figures &f = figures_;
    int right = f.rightAnswers, wrong = f.wrongAnswers;
    if (f.historyStartsNow) {
        right = f.rightCounters[0] + f.rightCounters[1] + f.rightCounters[2];
        wrong = f.wrongCounters[0] + f.wrongCounters[1] + f.wrongCounters[2];
    }
    const QString dash = QStringLiteral("—");
    Rate->setCaption(QStringLiteral("Верных ответов: %1 (%2 из %3)")
                         .arg(right + wrong > 0 ? percent(double(right) / (right + wrong)) : dash)
                         .arg(right)
                         .arg(right + wrong));
    WrongPerSolved->setCaption(
        QStringLiteral("Ошибок на решённую: %1").arg(right > 0 ? decimal(double(wrong) / right) : dash));
    Hints->setCaption(
        QStringLiteral("Куплено подсказок: %1").arg(f.hintsBought) +
        (f.pointsOnHints ? QStringLiteral(" за %1").arg(texts::Points(f.pointsOnHints)) : QString()));
    Solutions->setCaption(
        QStringLiteral("Куплено решений: %1").arg(f.solutionsBought) +
        (f.pointsOnSolutions ? QStringLiteral(" за %1").arg(texts::Points(f.pointsOnSolutions)) : QString()));
    DaysPlayed->setCaption(QStringLiteral("Дней в игре: %1").arg(f.daysPlayed));
    QStringList medians;
    for (std::size_t i = 0; i < f.medianSeconds.size(); ++i)
        medians << gradeName(i) + QStringLiteral(" — ") +
                       (f.medianSeconds[i] ? durationText(*f.medianSeconds[i]) : dash);
    Medians->setCaption(medians.join(QStringLiteral(", ")));
}

QStringList TStatisticsForm::spokenFigures() const
{
    QStringList out{Header->caption(), PointsChart->accessibleDescription()};
    for (const TLabel *l : {Rate, WrongPerSolved, Hints, Solutions, DaysPlayed, MediansCaption, Medians})
        out << l->caption();
    out << DifficultyChart->accessibleDescription() << KindChart->accessibleDescription()
        << Calendar->accessibleDescription() << Note->caption();
    return out;
}

void TStatisticsForm::FormShow()
{
    BackButton->setFocus(Qt::OtherFocusReason);
}

bool TStatisticsForm::FormKeyDown(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        BackButton->click();
        return true;
    }
    return false;
}

void TStatisticsForm::FormClose(CloseAction &action)
{
    action = CloseAction::Free;
}
