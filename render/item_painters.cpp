#include "item_painters.h"

#include "device_look.h"
#include "marker_box.h"
#include "raster_ops.h"
#include "selection_marker.h"
#include "text_painter.h"
#include "wheel_geometry.h"

#include <algorithm>

namespace {

constexpr int MaxBallCount = 255; // the file's 8-bit field

} // namespace

qint64 AlignedStart(int align, qint64 space, qint64 extent) {
    switch (align) {
    case 1:
        return (space - extent) / 2;
    case 2:
        return space - extent;
    default:
        return 0;
    }
}

void PaintImage(QImage& composition, const TiImage& image, bool selected, TPictureColours colours) {
    DrawPicture(composition, image.X, image.Y, image.Picture, colours);
    if (selected) DrawSelectionMarker(composition, MarkerBox(image));
}

void PaintButton(QImage& composition, const TiButton& button, bool selected,
                 TPictureColours colours) {
    const TPicture& normal = button.Pictures[0];
    DrawPicture(composition, button.X, button.Y, normal, colours);
    if (selected) DrawSelectionMarker(composition, MarkerBox(button));
}

void PaintText(QImage& composition, const TiText& text, bool selected) {
    TTextPainter().Paint(composition, text, selected);
}

void PaintWheel(QImage& composition, const TiWheel& wheel, bool selected, TPictureColours colours) {
    const TPicture& body = wheel.Pictures[0];
    const TPicture& icon = wheel.Pictures[3];
    const TPicture& left = wheel.Pictures[5];
    const TPicture& right = wheel.Pictures[6];
    const TPicture& ball = wheel.Pictures[7];
    const TWheelPlaces at = WheelPlaces(wheel);
    const qint64 cx = at.Cx, cy = at.Cy;

    DrawPicture(composition, wheel.X, wheel.Y, body, colours);
    DrawPicture(composition, at.IconX, at.IconY, icon, colours);
    if (!ball.Image.isNull()) {
        // A skin file holds at most 255 balls. A larger count lives only while
        // "Ball count" is being typed into, and billions of balls would hang.
        const int balls = std::max(std::min(wheel.BallCount, MaxBallCount), 0);
        // Balls off the composition are passed by here: there may be
        // 65,535 wheels of 255 balls.
        const QPoint o = composition.offset();
        const qint64 bw = ball.Width(), bh = ball.Height();
        const qint64 xMin = qint64(o.x()) - bw, xEnd = qint64(o.x()) + composition.width();
        const qint64 yMin = qint64(o.y()) - bh, yEnd = qint64(o.y()) + composition.height();
        const TPreparedPicture prepared(ball, colours);
        for (const TBallOffset& d : WheelBallOffsets(balls, wheel.BallDist)) {
            const qint64 bx = cx + d.Dx - bw / 2, by = cy + d.Dy - bh / 2;
            if (bx > xMin && bx < xEnd && by > yMin && by < yEnd)
                prepared.Draw(composition, bx, by);
        }
    }
    DrawPicture(composition, at.LeftX, at.LeftY, left, colours);
    DrawPicture(composition, at.RightX, at.RightY, right, colours);
    if (selected) DrawSelectionMarker(composition, MarkerBox(wheel));
}

void PaintTrackbar(QImage& composition, const TiTrackbar& trackbar, bool selected) {
    PaintTrackbar(composition, trackbar, selected, DefaultProgressEnd(trackbar));
}

void PaintTrackbar(QImage& composition, const TiTrackbar& trackbar, bool selected,
                   qint64 progressEnd, TPictureColours colours) {
    // A bar of zero width or height still shows its pictures around its
    // position (its empty box has no outline); a negative size shows nothing.
    if (trackbar.Width < 0 || trackbar.Height < 0) return;
    const TPicture& progress = trackbar.Pictures[0];
    const TPicture& scroller = trackbar.Pictures[1];
    const qint64 x = trackbar.X, y = trackbar.Y;
    const qint64 end = progressEnd;
    const qint64 top = y + (trackbar.Height - progress.Height()) / 2;
    if (trackbar.ProgressStretch) {
        DrawPictureScaled(composition, {x, top, x + end, top + progress.Height()}, progress,
                          colours);
    } else {
        // Columns beyond the picture stay unpainted: nothing is read outside it.
        const int columns = int(std::min<qint64>(end, progress.Width()));
        CopyWithKey(composition, x, top, progress.Image, QRect(0, 0, columns, progress.Height()),
                    TransparentKey, colours);
    }
    if (trackbar.ShowScroller)
        DrawPicture(composition, x + end - scroller.Width() / 2,
                    y + (trackbar.Height - scroller.Height()) / 2, scroller, colours);
    if (selected) DrawSelectionMarker(composition, MarkerBox(trackbar));
}
