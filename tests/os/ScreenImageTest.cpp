#include "os/ScreenImage.h"

#include <gtest/gtest.h>

// Images of 2 MB or more get memory of their own, exactly as large as asked (whether readied ahead
// or not); smaller ones are left to the caller.
TEST(ScreenImage, ScreenSizedImagesOnly)
{
    for (const QSize small : { QSize(100, 100), QSize(0, 5000), QSize(723, 724) })
        EXPECT_TRUE(screenImage(small.width(), small.height(), QImage::Format_RGB32).isNull());
    for (const bool readied : { false, true }) {
        if (readied)
            prepareScreenImage(1280, 1024);
        QImage image = screenImage(1280, 1024, QImage::Format_RGB32);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), QSize(1280, 1024));
        EXPECT_EQ(image.bytesPerLine(), 5120);
        image.fill(qRgb(1, 2, 3));
        EXPECT_EQ(image.pixel(1279, 1023), qRgb(1, 2, 3));
    }
}
