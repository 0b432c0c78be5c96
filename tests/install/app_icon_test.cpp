// The compiled-in window icon: every installed size, drawn on a clear ground.
#include "app_icon.h"

#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

TEST(AppIcon, OffersEveryInstalledSizeWithoutScaling) {
    const QIcon icon = LumoraAppIcon();
    ASSERT_FALSE(icon.isNull());
    const QList<QSize> sizes = icon.availableSizes();
    for (int size : {16, 32, 48, 128, 256}) {
        EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
        // A size that is offered comes back as it was drawn, not scaled from another.
        EXPECT_EQ(icon.pixmap(size, size).size(), QSize(size, size)) << size;
    }
    EXPECT_EQ(sizes.size(), 5);
}

TEST(AppIcon, HandheldStandsOnATransparentGround) {
    // The player's body is a rounded upright shape: the corners and the strips
    // left and right of it are see-through, its middle is opaque, so the icon
    // sits on any panel colour.
    for (int size : {16, 48, 256}) {
        const QImage image = LumoraAppIcon().pixmap(size, size).toImage();
        ASSERT_TRUE(image.hasAlphaChannel()) << size;
        const int last = size - 1;
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << size;
        EXPECT_EQ(qAlpha(image.pixel(last, last)), 0) << size;
        EXPECT_EQ(qAlpha(image.pixel(0, size / 2)), 0) << size;
        EXPECT_EQ(qAlpha(image.pixel(last, size / 2)), 0) << size;
        EXPECT_EQ(qAlpha(image.pixel(size / 2, size / 2)), 255) << size;
    }
}

TEST(AppIcon, WheelCentreIsTheBlueButton) {
    // At 256 the wheel's centre button sits at (128, 182): blue, as on the
    // "Add wheel" motif, so the icon reads as a player with a scroll wheel.
    const QImage image = LumoraAppIcon().pixmap(256, 256).toImage();
    const QColor centre = image.pixelColor(128, 182);
    EXPECT_GT(centre.blue(), 200);
    EXPECT_LT(centre.red(), 120);
    // Half-way out on the ring, between two arrows, the wheel is light grey.
    const QColor ring = image.pixelColor(128 + 21, 182 - 21);
    EXPECT_GT(ring.red(), 190);
    EXPECT_NEAR(ring.red(), ring.blue(), 20);
}
