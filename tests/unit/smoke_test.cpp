#include <gtest/gtest.h>
#include <QImage>

TEST(Toolchain, QtGuiIsUsableWithoutDisplay)
{
    QImage img(4, 4, QImage::Format_RGB888);
    img.fill(Qt::white);
    EXPECT_EQ(img.pixel(1, 1), qRgb(255, 255, 255));
}
