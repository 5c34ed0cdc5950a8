#include <gtest/gtest.h>
#include <QWidget>

TEST(Toolchain, WidgetsRunOffscreen)
{
    QWidget w;
    w.resize(800, 600);
    w.show();
    EXPECT_EQ(w.size(), QSize(800, 600));
}
