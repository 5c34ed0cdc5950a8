#pragma once
// Charts for plain numbers, painted with QPainter at the device's resolution
// so that they stay sharp at any scale of the stage: a line over days with
// marked points, bars, and a calendar of weeks shaded by a count per day.
// Each names itself (accessible name) and gives its figures as text
// (accessible description) for a screen reader.
#include "widgets/Colors.h"

#include <QDate>
#include <QString>
#include <QWidget>
#include <vector>

// What every chart shares: the title above the plot and the empty state.
class TChart : public QWidget
{
    Q_OBJECT
  public:
    explicit TChart(QWidget *parent = nullptr);

    void setTitle(const QString &title);
    QString title() const { return title_; }
    // The text in place of the plot while there is nothing to draw.
    void setEmptyText(const QString &text);

  protected:
    void paintEvent(QPaintEvent *event) override;
    // The plot below the title; false: nothing to draw.
    virtual bool paintPlot(class QPainter &p, const QRect &area) = 0;
    // The figures for the screen reader, refreshed with every change.
    void setFigures(const QString &text);

    QString title_;
    QString empty_;
};

// A line through one value per point, with some points marked.
class TLineChart : public TChart
{
    Q_OBJECT
  public:
    struct Point {
        QString label; // under the axis and in the figures
        double value = 0;
        bool marked = false;
        QString mark; // said after the value in the figures when marked
    };
    using TChart::TChart;
    void setPoints(std::vector<Point> points);
    const std::vector<Point> &points() const { return points_; }

  protected:
    bool paintPlot(QPainter &p, const QRect &area) override;

  private:
    std::vector<Point> points_;
};

// One bar per category, its value written over it.
class TBarChart : public TChart
{
    Q_OBJECT
  public:
    struct Bar {
        QString label;
        double value = 0;
        QString shown; // the value as written; the number itself when empty
    };
    using TChart::TChart;
    void setBars(std::vector<Bar> bars);
    const std::vector<Bar> &bars() const { return bars_; }

  protected:
    bool paintPlot(QPainter &p, const QRect &area) override;

  private:
    std::vector<Bar> bars_;
};

// Weeks as columns, Monday at the top; a day's shade grows with its count.
class TCalendarChart : public TChart
{
    Q_OBJECT
  public:
    using TChart::TChart;
    // counts[i] is the day first + i; whole weeks, first a Monday.
    void setDays(const QDate &first, std::vector<int> counts);
    // How the figures say a day's count («3 решено»).
    void setCountWord(QString (*say)(int count));

  protected:
    bool paintPlot(QPainter &p, const QRect &area) override;

  private:
    void refreshFigures();

    QDate first_;
    std::vector<int> counts_;
    QString (*say_)(int) = nullptr;
};

namespace zw
{
// «2 дек»: a day as the charts write it.
QString shortDate(const QDate &day);

// A label under a chart's axis: the point it names and where it stands.
struct AxisLabel {
    std::size_t index = 0;
    double left = 0;
    double right = 0;
};
// Which of the labels of the points at `centres`, `widths[i]` wide, are
// written between `left` and `right`: centred under their points where the
// edges allow, evenly spaced, the first and the last kept when there is room
// for both, and at least `gap` between neighbours, so that none touch.
std::vector<AxisLabel> axisLabels(const std::vector<double> &centres, const std::vector<double> &widths,
                                  double left, double right, double gap);
} // namespace zw
