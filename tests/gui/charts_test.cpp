// The day labels under the points chart: over chart widths from a narrow
// window to a wide one and from one day to a year, the labels written never
// touch, stay inside the chart, keep an even step, and keep the first and the
// last day whenever those two have room.
#include "widgets/Charts.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

namespace
{

constexpr double kGap = 8;

struct Axis {
    std::vector<double> centres, widths;
    double left = 0, right = 0;
};

// The labels of `days` days from 25 November (short and long ones, «1 дек» and
// «30 ноя»), evenly under a plot that starts a little right of the labels' room,
// as the chart's own axis does.
Axis axisOf(int width, int days)
{
    const QFontMetrics fm(zw::gameFont(10));
    Axis a;
    a.left = 8;
    a.right = width - 8;
    const double plotLeft = a.left + fm.horizontalAdvance(QStringLiteral("40")) + 6, plotRight = a.right - 6;
    for (int i = 0; i < days; ++i) {
        a.widths.push_back(fm.horizontalAdvance(zw::shortDate(QDate(2026, 11, 25).addDays(i))));
        a.centres.push_back(days > 1 ? plotLeft + (plotRight - plotLeft) * i / (days - 1)
                                     : (plotLeft + plotRight) / 2);
    }
    return a;
}

TEST(LineChartDayLabels, NeverTouchAndKeepBothEndsWhenTheyFit)
{
    for (const int width : {20, 60, 100, 150, 222, 300, 377, 480, 640, 800, 1111, 1600}) {
        for (const int days : {1, 2, 3, 4, 5, 7, 9, 12, 14, 20, 31, 45, 60, 90, 180, 365}) {
            SCOPED_TRACE(testing::Message() << width << " px, " << days << " days");
            const Axis a = axisOf(width, days);
            const auto labels = zw::axisLabels(a.centres, a.widths, a.left, a.right, kGap);
            ASSERT_FALSE(labels.empty());
            EXPECT_EQ(labels.front().index, 0u) << "the first day is always named";
            const bool roomy = a.right - a.left >= *std::max_element(a.widths.begin(), a.widths.end());
            for (std::size_t k = 0; k < labels.size(); ++k) {
                EXPECT_NEAR(labels[k].right - labels[k].left, a.widths[labels[k].index], 1e-9);
                if (roomy) {
                    EXPECT_GE(labels[k].left, a.left);
                    EXPECT_LE(labels[k].right, a.right);
                }
                if (k == 0)
                    continue;
                EXPECT_GE(labels[k].left - labels[k - 1].right, kGap)
                    << "labels of days " << labels[k - 1].index << " and " << labels[k].index << " touch";
                // An even step, but for the last day, which may follow closer.
                if (k + 1 < labels.size()) {
                    EXPECT_EQ(labels[k].index - labels[k - 1].index, labels[1].index - labels[0].index);
                }
            }
            // The first and the last, each pushed inside the chart, would stand apart: both are named.
            const double firstRight =
                std::max(a.left, a.centres.front() - a.widths.front() / 2) + a.widths.front();
            const double lastLeft =
                std::min(a.right - a.widths.back(), a.centres.back() - a.widths.back() / 2);
            if (days > 1 && lastLeft - firstRight >= kGap) {
                EXPECT_EQ(labels.back().index, std::size_t(days - 1)) << "the last day is named";
            }
        }
    }
}

} // namespace
