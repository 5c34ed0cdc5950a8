#pragma once
// The statistics screen of one stored player: the figures of the answer log
// (core/AnswerStats.h), computed as the screen opens, as charts and lines of
// text a screen reader reads as well. A player whose profile predates the log
// sees the profile's counters and a line saying that the history starts now.
#include "core/AnswerStats.h"
#include "widgets/Charts.h"
#include "widgets/FlatButton.h"
#include "widgets/Form.h"
#include "widgets/Label.h"

#include <QStringList>

struct GameContext;
namespace platform
{
class Sounds;
}
class TUser;

class TStatisticsForm : public TForm
{
    Q_OBJECT
  public:
    static constexpr int ScreenWidth = 800;
    static constexpr int ScreenHeight = 600;

    // Reads the player's log from the context's store; now (seconds since the
    // epoch) is "today", the clock's when 0. Never raises for the log: a
    // damaged one shows what could be read.
    TStatisticsForm(GameContext &context, const TUser &player, QWidget *owner = nullptr, qint64 now = 0);

    const answerstats::Figures &figures() const { return figures_; }
    // Whether the log table could not be read to its end.
    bool logDamaged() const { return logDamaged_; }

    TLabel *Header;
    TLineChart *PointsChart;
    TLabel *Rate, *WrongPerSolved, *Hints, *Solutions, *DaysPlayed, *MediansCaption, *Medians;
    TBarChart *DifficultyChart;
    TBarChart *KindChart;
    TCalendarChart *Calendar;
    TLabel *Note; // the history starts now, or what was left out
    TFlatButton *BackButton;

    // The texts a screen reader gets, one per chart and line, in screen order.
    QStringList spokenFigures() const;

    // Declined words after numbers, as the screen writes them.
    static QString solvedWord(int n);            // «1 головоломка»
    static QString durationText(double seconds); // «1 мин 5 с»

  protected:
    bool FormKeyDown(QKeyEvent *event) override;
    void FormClose(CloseAction &action) override;
    void FormShow() override;

  private:
    void createControls();
    void showFigures(const TUser &player);
    void showCharts();
    void showLines();

    answerstats::Figures figures_;
    bool logDamaged_ = false;
    qint64 leftOutRows_ = 0;
    const platform::Sounds *sounds_ = nullptr;
};
