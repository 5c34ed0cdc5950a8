#include "widgets/Charts.h"

#include <QPainter>
#include <QPainterPath>
#include <QStringList>
#include <algorithm>
#include <array>
#include <cmath>

namespace
{

constexpr int kTitleHeight = 22;
constexpr int kAxisLabelHeight = 16;
// Between two day labels, so that they read as two.
constexpr double kLabelGap = 8;

// The game's palette: the panel's browns for lines and text, a warm orange
// for what is plotted.
QColor ink()
{
    return QColor(60, 45, 20);
}
QColor grid()
{
    return QColor(200, 185, 150);
}
QColor plotted()
{
    return QColor(214, 110, 20);
}
QColor marked()
{
    return QColor(40, 110, 40);
}

QString number(double v)
{
    // Whole numbers without a fraction; others with one digit and a comma.
    if (std::abs(v - std::round(v)) < 1e-9)
        return QString::number(qint64(std::llround(v)));
    return QString::number(v, 'f', 1).replace(QLatin1Char('.'), QLatin1Char(','));
}

// A round step for about `lines` grid lines up to `top`.
double gridStep(double top, int lines)
{
    if (top <= 0)
        return 1;
    const double raw = top / lines;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double f : {1.0, 2.0, 5.0, 10.0}) {
        if (raw <= f * power)
            return f * power;
    }
    return 10 * power;
}

} // namespace

namespace zw
{

QString shortDate(const QDate &day)
{
    static constexpr std::array<const char *, 12> months = {"янв", "фев", "мар", "апр", "мая", "июн",
                                                            "июл", "авг", "сен", "окт", "ноя", "дек"};
    if (!day.isValid())
        return QString();
    return QString::number(day.day()) + QLatin1Char(' ') +
           QString::fromUtf8(months[std::size_t(day.month() - 1)]);
}

namespace
{
zw::AxisLabel placeLabel(std::size_t i, double centre, double width, double left, double right)
{
    // Pushed inside at the edges; one wider than the room starts at its left.
    const double at = std::max(left, std::min(centre - width / 2, right - width));
    return {i, at, at + width};
}

bool apart(const std::vector<zw::AxisLabel> &labels, double gap)
{
    for (std::size_t k = 1; k < labels.size(); ++k) {
        if (labels[k - 1].right + gap > labels[k].left)
            return false;
    }
    return true;
}
} // namespace

std::vector<AxisLabel> axisLabels(const std::vector<double> &centres, const std::vector<double> &widths,
                                  double left, double right, double gap)
{
    const std::size_t n = std::min(centres.size(), widths.size());
    if (n == 0)
        return {};
    auto place = [&](std::size_t i) { return placeLabel(i, centres[i], widths[i], left, right); };
    // No step below the one at which the widest labels would just meet.
    std::size_t every = 1;
    if (n > 1 && centres[n - 1] > centres[0]) {
        const double spacing = (centres[n - 1] - centres[0]) / double(n - 1);
        const double widest = *std::max_element(widths.begin(), widths.begin() + std::ptrdiff_t(n));
        every = std::max<std::size_t>(1, std::size_t(std::floor((widest + gap) / spacing)));
    }
    for (; every < n; ++every) {
        std::vector<AxisLabel> chosen;
        for (std::size_t i = 0; i < n; i += every)
            chosen.push_back(place(i));
        if (chosen.back().index != n - 1) {
            // The last day is kept: the regular labels it would touch give way.
            const AxisLabel last = place(n - 1);
            while (chosen.size() > 1 && chosen.back().right + gap > last.left)
                chosen.pop_back();
            chosen.push_back(last);
        }
        if (apart(chosen, gap))
            return chosen;
    }
    return {place(0)};
}

} // namespace zw

TChart::TChart(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    // Reached with Tab so that a screen reader reads each chart in turn; the
    // focus frame shows which.
    setFocusPolicy(Qt::TabFocus);
}

void TChart::setTitle(const QString &title)
{
    title_ = title;
    setAccessibleName(title);
    update();
}

void TChart::setEmptyText(const QString &text)
{
    empty_ = text;
    update();
}

void TChart::setFigures(const QString &text)
{
    setAccessibleDescription(text.isEmpty() ? empty_ : text);
}

void TChart::paintEvent(QPaintEvent *)
{
    // Straight onto the widget: the painter works at the device pixel ratio,
    // so lines and text are as sharp as the screen allows.
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(QPen(hasFocus() ? zw::toQColor(zw::clBlack) : zw::toQColor(zw::clGray), hasFocus() ? 2 : 1));
    p.setBrush(zw::toQColor(zw::clFocus));
    p.drawRoundedRect(frame, 6, 6);
    p.setPen(ink());
    p.setFont(zw::gameFont(13, true));
    p.drawText(QRect(8, 2, width() - 16, kTitleHeight), Qt::AlignLeft | Qt::AlignVCenter, title_);
    const QRect area = rect().adjusted(8, kTitleHeight + 4, -8, -6);
    p.setFont(zw::gameFont(10));
    if (!paintPlot(p, area)) {
        p.setPen(ink());
        p.setFont(zw::gameFont(11));
        p.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, empty_);
    }
}

void TLineChart::setPoints(std::vector<Point> points)
{
    points_ = std::move(points);
    QStringList said;
    for (const Point &pt : points_)
        said << pt.label + QStringLiteral(" — ") + number(pt.value) +
                    (pt.marked ? QStringLiteral(" (") + pt.mark + QLatin1Char(')') : QString());
    setFigures(said.isEmpty() ? QString() : title_ + QStringLiteral(": ") + said.join(QStringLiteral(", ")));
    update();
}

bool TLineChart::paintPlot(QPainter &p, const QRect &area)
{
    if (points_.empty())
        return false;
    const auto [lo, hi] = std::minmax_element(
        points_.begin(), points_.end(), [](const Point &a, const Point &b) { return a.value < b.value; });
    const double bottom = std::min(0.0, lo->value);
    const double step = gridStep(hi->value - bottom, 4);
    const double top = bottom + std::max(step, std::ceil((hi->value - bottom) / step) * step);
    const QFontMetrics fm(p.font());
    const int axisWidth = fm.horizontalAdvance(number(top)) + 6;
    const QRectF plot(area.left() + axisWidth, area.top() + 6, area.width() - axisWidth - 6,
                      area.height() - kAxisLabelHeight - 6);
    auto yOf = [&](double v) { return plot.bottom() - (v - bottom) / (top - bottom) * plot.height(); };
    const double dx = points_.size() > 1 ? plot.width() / double(points_.size() - 1) : 0;
    auto xOf = [&](std::size_t i) {
        return points_.size() > 1 ? plot.left() + dx * double(i) : plot.center().x();
    };

    for (double v = bottom; v <= top + step / 2; v += step) {
        p.setPen(QPen(grid(), 1));
        p.drawLine(QPointF(plot.left(), yOf(v)), QPointF(plot.right(), yOf(v)));
        p.setPen(ink());
        p.drawText(QRectF(area.left(), yOf(v) - 8, axisWidth - 4, 16), Qt::AlignRight | Qt::AlignVCenter,
                   number(v));
    }
    // Labels under the axis as often as they fit without touching.
    std::vector<double> centres, widths;
    for (std::size_t i = 0; i < points_.size(); ++i) {
        centres.push_back(xOf(i));
        widths.push_back(fm.horizontalAdvance(points_[i].label));
    }
    for (const zw::AxisLabel &l : zw::axisLabels(centres, widths, area.left(), area.right() + 1, kLabelGap))
        p.drawText(QRectF(l.left, plot.bottom() + 2, l.right - l.left, kAxisLabelHeight),
                   Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip, points_[l.index].label);

    QPainterPath line;
    for (std::size_t i = 0; i < points_.size(); ++i) {
        const QPointF at(xOf(i), yOf(points_[i].value));
        i == 0 ? line.moveTo(at) : line.lineTo(at);
    }
    p.setPen(QPen(plotted(), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(line);
    for (std::size_t i = 0; i < points_.size(); ++i) {
        if (!points_[i].marked)
            continue;
        // A level reached: a flag on a pole from the line up.
        const QPointF at(xOf(i), yOf(points_[i].value));
        p.setPen(QPen(marked(), 1.5));
        p.drawLine(at, at - QPointF(0, 14));
        p.setBrush(marked());
        p.drawPolygon(QPolygonF({at - QPointF(0, 14), at - QPointF(-9, 10.5), at - QPointF(0, 7)}));
        p.drawEllipse(at, 3.5, 3.5);
    }
    return true;
}

void TBarChart::setBars(std::vector<Bar> bars)
{
    bars_ = std::move(bars);
    QStringList said;
    for (const Bar &b : bars_)
        said << b.label + QStringLiteral(" — ") + (b.shown.isEmpty() ? number(b.value) : b.shown);
    setFigures(said.isEmpty() ? QString() : title_ + QStringLiteral(": ") + said.join(QStringLiteral(", ")));
    update();
}

bool TBarChart::paintPlot(QPainter &p, const QRect &area)
{
    if (bars_.empty())
        return false;
    double hi = 0;
    for (const Bar &b : bars_)
        hi = std::max(hi, b.value);
    const QFontMetrics fm(p.font());
    const QRectF plot(area.left(), area.top() + fm.height() + 2, area.width(),
                      area.height() - fm.height() - 2 - 2 * kAxisLabelHeight);
    const double slot = plot.width() / double(bars_.size());
    p.setPen(QPen(grid(), 1));
    p.drawLine(plot.bottomLeft(), plot.bottomRight());
    for (std::size_t i = 0; i < bars_.size(); ++i) {
        const Bar &b = bars_[i];
        const double h = hi > 0 ? std::max(0.0, b.value) / hi * plot.height() : 0;
        const QRectF bar(plot.left() + slot * double(i) + slot * 0.2, plot.bottom() - h, slot * 0.6, h);
        p.setPen(QPen(ink(), 1));
        p.setBrush(plotted());
        if (h > 0)
            p.drawRoundedRect(bar, 2, 2);
        p.drawText(QRectF(bar.left() - slot * 0.2, bar.top() - fm.height() - 1, slot, fm.height()),
                   Qt::AlignHCenter | Qt::AlignBottom, b.shown.isEmpty() ? number(b.value) : b.shown);
        // Two lines for a long name under its bar.
        p.drawText(QRectF(plot.left() + slot * double(i), plot.bottom() + 2, slot, 2 * kAxisLabelHeight),
                   Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, b.label);
    }
    return true;
}

void TCalendarChart::setDays(const QDate &first, std::vector<int> counts)
{
    first_ = first;
    counts_ = std::move(counts);
    refreshFigures();
    update();
}

void TCalendarChart::setCountWord(QString (*say)(int count))
{
    say_ = say;
    refreshFigures();
}

void TCalendarChart::refreshFigures()
{
    // The days with something done: a screen reader need not read 84 cells.
    QStringList said;
    for (std::size_t i = 0; i < counts_.size(); ++i) {
        if (counts_[i] > 0)
            said << zw::shortDate(first_.addDays(qint64(i))) + QStringLiteral(" — ") +
                        (say_ ? say_(counts_[i]) : QString::number(counts_[i]));
    }
    setFigures(counts_.empty()  ? QString()
               : said.isEmpty() ? title_ + QStringLiteral(": ни одного дня с решёнными")
                                : title_ + QStringLiteral(": ") + said.join(QStringLiteral(", ")));
}

bool TCalendarChart::paintPlot(QPainter &p, const QRect &area)
{
    if (counts_.empty() || !first_.isValid())
        return false;
    const int weeks = int((counts_.size() + 6) / 7);
    const int hi = *std::max_element(counts_.begin(), counts_.end());
    const QFontMetrics fm(p.font());
    const int dayNames = fm.horizontalAdvance(QStringLiteral("Пн")) + 4;
    const double cell =
        std::min((area.width() - dayNames) / double(weeks), (area.height() - kAxisLabelHeight) / 7.0);
    const QPointF origin(area.left() + dayNames, area.top());
    p.setPen(ink());
    static constexpr std::array<const char *, 7> names = {"Пн", "", "Ср", "", "Пт", "", "Вс"};
    for (int d = 0; d < 7; ++d)
        p.drawText(QRectF(area.left(), origin.y() + d * cell, dayNames - 4, cell),
                   Qt::AlignRight | Qt::AlignVCenter, QString::fromUtf8(names[std::size_t(d)]));
    for (std::size_t i = 0; i < counts_.size(); ++i) {
        const int week = int(i / 7), day = int(i % 7);
        const QRectF r(origin.x() + week * cell + 1, origin.y() + day * cell + 1, cell - 2, cell - 2);
        const double share = hi > 0 ? double(counts_[i]) / hi : 0;
        // From the panel's pale yellow to the plotted orange.
        const QColor pale = zw::toQColor(zw::clWhite), full = plotted();
        const QColor shade =
            counts_[i] > 0
                ? QColor::fromRgbF(
                      float(pale.redF() + (full.redF() - pale.redF()) * (0.25 + 0.75 * share)),
                      float(pale.greenF() + (full.greenF() - pale.greenF()) * (0.25 + 0.75 * share)),
                      float(pale.blueF() + (full.blueF() - pale.blueF()) * (0.25 + 0.75 * share)))
                : pale;
        p.setPen(QPen(grid(), 1));
        p.setBrush(shade);
        p.drawRoundedRect(r, 2, 2);
        if (day == 0 && week % 4 == 0) {
            p.setPen(ink());
            p.drawText(QRectF(r.left(), origin.y() + 7 * cell, 4 * cell, kAxisLabelHeight),
                       Qt::AlignLeft | Qt::AlignTop, zw::shortDate(first_.addDays(qint64(i))));
        }
    }
    return true;
}
