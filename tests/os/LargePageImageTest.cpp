#include "os/LargePageImage.h"

#include <gtest/gtest.h>

// Images of a large page or more get memory of their own, aligned to large pages and exactly as
// large as asked (whether readied ahead or not); smaller ones are left to the caller.
TEST(LargePageImage, ScreenSizedImagesOnly)
{
    for (const QSize small : { QSize(100, 100), QSize(0, 5000), QSize(723, 724) })
        EXPECT_TRUE(largePageImage(small.width(), small.height(), QImage::Format_RGB32).isNull());
    for (const bool readied : { false, true }) {
        if (readied)
            prepareLargePageImage(1280, 1024);
        QImage image = largePageImage(1280, 1024, QImage::Format_RGB32);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), QSize(1280, 1024));
        EXPECT_EQ(image.bytesPerLine(), 5120);
        EXPECT_EQ(quintptr(image.constBits()) % (quintptr(2) << 20), 0u);
        image.fill(qRgb(1, 2, 3));
        EXPECT_EQ(image.pixel(1279, 1023), qRgb(1, 2, 3));
    }
}
