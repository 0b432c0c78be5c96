#include "image_viewer.h"
#include "picture.h"

#include <QCoreApplication>
#include <QLabel>
#include <QScrollArea>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

TEST(ImageViewer, ShowsThePictureOpaqueAtOneToOneInABorderlessScrollBox) {
    TForm2 viewer;
    EXPECT_EQ(viewer.windowTitle(), "View image");
    EXPECT_EQ(viewer.ScrollBox1->frameShape(), QFrame::NoFrame);
    EXPECT_NE(viewer.minimumSize(), viewer.maximumSize()); // resizable

    QImage picture(300, 20, QImage::Format_RGB32);
    picture.fill(qRgb(10, 20, 30));
    picture.setPixel(299, 19, TransparentKey);
    viewer.SetPicture(picture);
    EXPECT_EQ(viewer.Image1->size(), QSize(300, 20));
    const QImage shown = viewer.Image1->pixmap().toImage();
    EXPECT_EQ(shown.pixel(299, 19), TransparentKey);
    EXPECT_EQ(shown.pixel(0, 0), qRgb(10, 20, 30));
    EXPECT_EQ(viewer.Image1->pos(), QPoint(0, 0));

    // Each picture replaces the last.
    viewer.SetPicture(PlaceholderPicture());
    EXPECT_EQ(viewer.Image1->size(), QSize(15, 15));
}

TEST(ImageViewer, IsModalAndOfItsOutsideSize) {
    TForm2 viewer;
    bool modal = false;
    QSize size;
    QTimer::singleShot(0, &viewer, [&] {
        modal = viewer.isModal() && viewer.isVisible();
        size = viewer.frameGeometry().size();
        viewer.accept();
    });
    viewer.ShowPicture(PlaceholderPicture());
    EXPECT_TRUE(modal);
    EXPECT_EQ(size, QSize(278, 280));
    EXPECT_FALSE(viewer.isVisible());
}

TEST(ImageViewer, ReopensWhereTheUserLeftIt) {
    QWidget main;
    main.setGeometry(100, 100, 600, 500);
    main.show();
    TForm2 viewer(&main);
    QPoint reopened;
    QTimer::singleShot(0, &viewer, [&] {
        // As a drag by the window manager: the window system moves it.
        viewer.windowHandle()->setFramePosition(QPoint(850, 100));
        QCoreApplication::processEvents();
        viewer.accept();
    });
    viewer.ShowPicture(PlaceholderPicture());
    QTimer::singleShot(0, &viewer, [&] {
        reopened = viewer.frameGeometry().topLeft();
        viewer.accept();
    });
    viewer.ShowPicture(PlaceholderPicture());
    EXPECT_EQ(reopened, QPoint(850, 100));
}
